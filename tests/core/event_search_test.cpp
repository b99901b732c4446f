// The general searches (any altitude, any span of UT, "found" beside the
// time) and the date's searches with "found": events at 23:00, at the ends
// of the date, culminations north of the zenith, polar day and night.
#include <gtest/gtest.h>

#include <cmath>

#include "ephem/position.h"
#include "events/riseset.h"
#include "tests/core/observer.h"
#include "timecal/julian.h"

namespace {

using testing_observer::Observer;
using testing_observer::Tokyo;

constexpr double kSecond = 1.0 / 3600;  // hours

}  // namespace

// Made-up samples: the half-open brackets find a crossing exactly on a
// whole hour, in the first and last second of the span, and in the short
// last bracket of a span that is no whole number of hours; to one second.
TEST(Event_Scan, EndsOfTheSpanAndWholeHours)
{
    auto at = [](double when) { return [when](double t) { return t - when; }; };
    bool found = false;
    EXPECT_NEAR(Event_Scan(EventKind::Rise, 0, 24, true, at(5.0), nullptr, &found), 5.0, kSecond);
    EXPECT_TRUE(found);
    EXPECT_NEAR(Event_Scan(EventKind::Rise, 0, 24, true, at(0.0), nullptr, &found), 0.0, kSecond);
    EXPECT_TRUE(found);
    EXPECT_NEAR(Event_Scan(EventKind::Rise, 0, 24, true, at(23.9995), nullptr, &found), 23.9995,
                kSecond / 2);
    EXPECT_TRUE(found);
    // on the span's end: the next span's
    Event_Scan(EventKind::Rise, 0, 24, true, at(24.0), nullptr, &found);
    EXPECT_FALSE(found);
    // 23 and 25 hours (a change of daylight saving), 24.5 hours
    Event_Scan(EventKind::Rise, 0, 23, true, at(23.5), nullptr, &found);
    EXPECT_FALSE(found);
    EXPECT_NEAR(Event_Scan(EventKind::Rise, 0, 25, true, at(24.7), nullptr, &found), 24.7, kSecond);
    EXPECT_TRUE(found);
    EXPECT_NEAR(Event_Scan(EventKind::Rise, 0, 24.5, true, at(24.4), nullptr, &found), 24.4, kSecond);
    EXPECT_TRUE(found);
    // downward; the date's search misses the whole hour (strict brackets)
    auto down = [](double t) { return 7.0 - t; };
    EXPECT_NEAR(Event_Scan(EventKind::Set, 0, 24, true, down, nullptr, &found), 7.0, kSecond);
    EXPECT_TRUE(found);
    EXPECT_EQ(Event_Scan(EventKind::Set, 0, 24, false, down, nullptr, &found), 23.0);
    EXPECT_FALSE(found);
}

// 23.0 is a time when found: the moonset at 22:59:57 (2026-12-16) and the
// moonrises of 2027-07-27 and 2029-12-27 narrow to exactly 23.0; the
// general search puts them within seconds of 23:00.
TEST(Cal_Set_Found, TwentyThreeHundredIsATime)
{
    Observer();
    bool found = false;
    EXPECT_EQ(Cal_Set_Found(Tokyo(2026, 12, 16, 12), kBodyMoon, &found), 23.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(Cal_Rise_Found(Tokyo(2027, 7, 27, 12), kBodyMoon, &found), 23.0);
    EXPECT_TRUE(found);
    EXPECT_EQ(Cal_Rise_Found(Tokyo(2029, 12, 27, 12), kBodyMoon, &found), 23.0);
    EXPECT_TRUE(found);
    // a date without moonrise stays without
    EXPECT_EQ(Cal_Rise_Found(Tokyo(2026, 12, 2, 12), kBodyMoon, &found), 23.0);
    EXPECT_FALSE(found);

    const double start = Tokyo(2026, 12, 16, 0);
    EventTime e = Event_Set(kBodyMoon, kAltitudeHorizon, 35.6, 139.7, start, 24);
    ASSERT_TRUE(e.found);
    EXPECT_NEAR((e.jd - start) * 24, 23.0, 30 * kSecond);
    // the date's search would be the same wherever it finds the event
    EXPECT_EQ(Cal_Set_Found(Tokyo(2026, 12, 6, 15), kBodyMoon, &found),
              Cal_Set_Time(Tokyo(2026, 12, 6, 15), kBodyMoon));
}

// Moonsets within seconds of midnight, where the independent library has
// 2021-11-12 23:59:46 and 2022-04-08 00:00:13 (our Moon sets 20 and 14 s
// later and earlier, across midnight): each is found once on one side, on
// the date whose span holds it.
TEST(Event_Set, MoonsetsAtMidnight)
{
    Observer();
    bool found = false;
    // our moonset: 2021-11-13 00:00:08
    Cal_Set_Found(Tokyo(2021, 11, 12, 12), kBodyMoon, &found);
    EXPECT_FALSE(found);
    EXPECT_NEAR(Cal_Set_Found(Tokyo(2021, 11, 13, 12), kBodyMoon, &found), 0.0, kSecond);
    EXPECT_TRUE(found);
    EventTime e = Event_Set(kBodyMoon, kAltitudeHorizon, 35.6, 139.7, Tokyo(2021, 11, 13, 0), 24);
    ASSERT_TRUE(e.found);
    EXPECT_NEAR(e.jd, Tokyo(2021, 11, 12, 23 + 59.0 / 60 + 46.0 / 3600), 1.0 / 1440);
    // our moonset: 2022-04-07 23:59:59
    e = Event_Set(kBodyMoon, kAltitudeHorizon, 35.6, 139.7, Tokyo(2022, 4, 7, 0), 24);
    ASSERT_TRUE(e.found);
    EXPECT_NEAR(e.jd, Tokyo(2022, 4, 8, 13.0 / 3600), 1.0 / 1440);
    e = Event_Set(kBodyMoon, kAltitudeHorizon, 35.6, 139.7, Tokyo(2022, 4, 8, 0), 24);
    EXPECT_FALSE(e.found);
    EXPECT_EQ(e.jd, 0.0);
}

// Tromsø (69.65 N, 18.96 E, UTC+1): no sunrise nor sunset at midsummer and
// midwinter; the Sun's altitude at noon tells day from night. The shared
// records are left as they were.
TEST(Event_Rise, PolarDayAndNight)
{
    Observer();
    Sun.ra = 1.25;
    Moon.dec = -2.5;
    for (int month : {6, 12}) {
        const double start = JD_Zone(2026, month, 21, 0, 18.96, 1);
        EXPECT_FALSE(Event_Rise(kBodySun, kAltitudeHorizon, 69.65, 18.96, start, 24).found);
        EXPECT_FALSE(Event_Set(kBodySun, kAltitudeHorizon, 69.65, 18.96, start, 24).found);
        const double noon = Event_Altitude(kBodySun, start + 0.5, 69.65, 18.96);
        // the civil twilight: none at midsummer, the Sun never 6 degrees
        // down; at midwinter it comes within 6 degrees of the horizon
        const bool civil = Event_Rise(kBodySun, kAltitudeCivil, 69.65, 18.96, start, 24).found;
        if (month == 6) {
            EXPECT_NEAR(noon, 43.7, 0.05);
            EXPECT_FALSE(civil);
        } else {
            EXPECT_NEAR(noon, -3.1, 0.05);
            EXPECT_TRUE(civil);
        }
        EXPECT_TRUE(Event_Culmination(kBodySun, 69.65, 18.96, start, 24).found);
    }
    EXPECT_EQ(Sun.ra, 1.25);
    EXPECT_EQ(Moon.dec, -2.5);
}

// The upper culmination north of the zenith: the Moon at Canberra on
// 2026-01-02 (the azimuth search returns 24.0 without finding it) and the
// Sun every day at 35 S 172 W (23.0 from the azimuth search).
TEST(Cal_Top_Found, NorthOfTheZenith)
{
    Observer();
    latitude0 = -35;
    longitude0 = 149;
    zone0_set = true;
    zone0 = 10;
    bool found = false;
    const double jd = JD_Zone(2026, 1, 2, 12, 149, 10);
    EXPECT_EQ(Cal_Top_Time(jd, kBodyMoon), 24.0);
    EXPECT_NEAR(Cal_Top_Found(jd, kBodyMoon, &found), 23.26, 1.0 / 60);
    EXPECT_TRUE(found);

    latitude0 = -35;
    longitude0 = -172;
    zone0 = -11;
    const double sun = JD_Zone(2026, 1, 2, 12, -172, -11);
    EXPECT_NEAR(Cal_Top_Found(sun, kBodySun, &found), 12.54, 1.0 / 60);
    EXPECT_TRUE(found);
    Observer();
}
