// The general searches (any altitude, any span of UT, "found" beside the
// time) and the date's searches with "found": events on whole hours, at the
// ends of the span, at 23:00; twilight; the shared records untouched.
#include <gtest/gtest.h>

#include "ephem/position.h"
#include "events/riseset.h"
#include "tests/core/observer.h"
#include "timecal/julian.h"

namespace {
constexpr double kSecond = 1.0 / 3600;  // hours
}  // namespace

// Made-up samples t - when: the half-open brackets find a crossing on a
// whole hour, in the first and last second of the span and in the short
// last bracket of a span of 23, 24.5 or 25 hours; one on the span's end is
// the next span's. The date's search misses the whole hour.
TEST(Event_Scan, EndsOfTheSpanAndWholeHours)
{
    struct Case { double when, hours; bool found; };
    for (Case c : {Case{5.0, 24, true}, Case{0.0, 24, true}, Case{23.9995, 24, true},
                   Case{24.0, 24, false}, Case{23.5, 23, false}, Case{24.7, 25, true},
                   Case{24.4, 24.5, true}}) {
        for (EventKind kind : {EventKind::Rise, EventKind::Set}) {
            const double sign = kind == EventKind::Rise ? 1 : -1;
            auto sample = [&](double t) { return sign * (t - c.when); };
            bool found = !c.found;
            const double t = Event_Scan(kind, 0, c.hours, true, sample, nullptr, &found);
            EXPECT_EQ(found, c.found) << c.when << " in " << c.hours;
            if (c.found) {
                EXPECT_NEAR(t, c.when, kSecond / 2) << c.when;
            }
        }
    }
    bool found = true;
    EXPECT_EQ(Event_Scan(EventKind::Rise, 0, 24, false, [](double t) { return t - 7; }, nullptr,
                         &found),
              23.0);
    EXPECT_FALSE(found);
}

// At Tokyo: the moonset at 22:59:57 (2026-12-16) and the moonrises of
// 2027-07-27 and 2029-12-27 narrow to exactly 23.0, a time; a date without
// moonrise has none. The moonset a few seconds after midnight of
// 2021-11-12 (the independent library's 23:59:46, ours 00:00:08) is found on
// the 13th only; the library's 2022-04-08 00:00:13 is ours of 04-07 23:59:59
// (tests/core/event_reference_test.cpp pairs them).
TEST(Cal_Set_Found, TwentyThreeHundredAndMidnight)
{
    using testing_observer::Tokyo;
    testing_observer::Observer();
    bool found = false;
    EXPECT_EQ(Cal_Set_Found(Tokyo(2026, 12, 16, 12), kBodyMoon, &found), 23.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(Cal_Rise_Found(Tokyo(2027, 7, 27, 12), kBodyMoon, &found), 23.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(Cal_Rise_Found(Tokyo(2029, 12, 27, 12), kBodyMoon, &found), 23.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(Cal_Rise_Found(Tokyo(2026, 12, 2, 12), kBodyMoon, &found), 23.0);
    EXPECT_FALSE(found);

    Cal_Set_Found(Tokyo(2021, 11, 12, 12), kBodyMoon, &found);
    EXPECT_FALSE(found);
    EXPECT_NEAR(Cal_Set_Found(Tokyo(2021, 11, 13, 12), kBodyMoon, &found), 0.0, kSecond);
    EXPECT_TRUE(found);
    EventTime e = Event_Set(kBodyMoon, kAltitudeHorizon, 35.6, 139.7, Tokyo(2022, 4, 8, 0), 24);
    EXPECT_FALSE(e.found);
    EXPECT_EQ(e.jd, 0.0);
}

// Tromsø (69.65 N, 18.96 E, UTC+1) at midwinter: no sunrise, but civil
// twilight (the Sun 3 degrees down at noon); at midsummer not even that.
// The shared records are left as they were.
TEST(Event_Rise, TwilightAtTromso)
{
    Sun.ra = 1.25;
    Moon.dec = -2.5;
    const double winter = JD_Zone(2026, 12, 21, 0, 18.96, 1);
    const double summer = JD_Zone(2026, 6, 21, 0, 18.96, 1);
    EXPECT_FALSE(Event_Rise(kBodySun, kAltitudeHorizon, 69.65, 18.96, winter, 24).found);
    EXPECT_TRUE(Event_Rise(kBodySun, kAltitudeCivil, 69.65, 18.96, winter, 24).found);
    EXPECT_FALSE(Event_Set(kBodySun, kAltitudeCivil, 69.65, 18.96, summer, 24).found);
    EXPECT_NEAR(Event_Altitude(kBodySun, winter + 0.5, 69.65, 18.96), -3.1, 0.05);
    EXPECT_TRUE(Event_Culmination(kBodyMoon, 69.65, 18.96, winter, 25).found);
    EXPECT_EQ(Sun.ra, 1.25);
    EXPECT_EQ(Moon.dec, -2.5);
}
