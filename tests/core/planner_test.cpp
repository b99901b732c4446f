// The planner's almanac: the phase search over a known elongation, the
// phase names, twilight and the day's length where the Sun never sets or
// never rises, and the calendar writer's folding, escaping and UTC times.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/ics.h"
#include "app/planner.h"
#include "events/phases.h"
#include "events/twilight.h"
#include "timecal/julian.h"

namespace {

// 0 h of a local date in a zone, as a Julian day (UT).
double DateStart(int y, int m, int d, double lon, double zone)
{
    return JD_Zone(y, m, d, 0, lon, zone);
}

}  // namespace

// An elongation growing 12.19 degrees a day from 0 at t0, folded into
// (-20, 340] as the Moon's is: each phase at t0 + k * 90 / 12.19 days, none
// twice, none at the fold.
TEST(MoonPhases, KnownElongation)
{
    constexpr double t0 = 2461000.3, rate = 12.19;
    auto elong = [](double t) {
        double e = std::fmod((t - t0) * rate, 360.0);
        if (e < 0) e += 360;
        if (e > 340) e -= 360;
        return e;
    };
    const std::vector<PhaseInstant> found = Moon_Phases_Between_With(t0 - 3, t0 + 60, elong);
    ASSERT_EQ(found.size(), 9u);  // t0 + 0 .. t0 + 59.1 days, every 7.38 days
    for (size_t k = 0; k < found.size(); k++) {
        EXPECT_EQ(static_cast<int>(found[k].phase), static_cast<int>(k % 4));
        EXPECT_NEAR(found[k].jd, t0 + k * 90.0 / rate, 1e-5) << k;  // within a second
    }
    // (jd1, jd2]: a phase on jd1 is left out, one on jd2 kept
    EXPECT_EQ(Moon_Phases_Between_With(t0, t0 + 1, elong).size(), 0u);
    EXPECT_EQ(Moon_Phases_Between_With(t0 - 1, t0, elong).size(), 1u);
}

// The Moon's own: the full moon of 2026-12-24 (01:28 UTC by the published
// tables) names the whole local date; a day later it wanes; the next four
// phases come one of each, in order, 7.4 days apart on average.
TEST(MoonPhases, NamesAndNextFour)
{
    const double d24 = DateStart(2026, 12, 24, 139.7, 9);
    EXPECT_EQ(Moon_Phase_Name(d24 + 0.9, d24, d24 + 1), MoonPhaseName::Full);
    EXPECT_EQ(Moon_Phase_Name(d24 + 1.5, d24 + 1, d24 + 2), MoonPhaseName::WaningGibbous);
    EXPECT_EQ(Moon_Phase_Name(d24 - 3.5, d24 - 4, d24 - 3), MoonPhaseName::WaxingGibbous);
    EXPECT_EQ(Moon_Phase_Name(d24 - 12.5, d24 - 13, d24 - 12), MoonPhaseName::WaxingCrescent);
    EXPECT_NEAR(Moon_Illumination(2461398.5611), 1.0, 0.002);  // at the full moon

    const std::vector<PhaseInstant> next = Moon_Phases_Next(d24 - 1, 4);
    ASSERT_EQ(next.size(), 4u);
    EXPECT_EQ(next[0].phase, LunarPhase::Full);
    EXPECT_NEAR(next[0].jd, 2461398.5611, 10.0 / 1440);  // 10 minutes
    for (int k = 1; k < 4; k++) {
        EXPECT_EQ(static_cast<int>(next[k].phase), (static_cast<int>(next[0].phase) + k) % 4);
        EXPECT_GT(next[k].jd - next[k - 1].jd, 6.0);
        EXPECT_LT(next[k].jd - next[k - 1].jd, 9.0);
    }
}

// 78 N (Svalbard, zone +1): the midnight Sun at midsummer, the polar night
// at midwinter; 60 N at midsummer: civil twilight ends and begins, but the
// Sun never gets to -12 (nautical and astronomical twilight all night); 35 N
// at the equinox: a day of about 12 h 8 min (the centre at -0.85 degree).
TEST(Twilight, PolarAndOrdinaryDates)
{
    SunDay d = Sun_Day(78.0, 15.6, DateStart(2026, 6, 21, 15.6, 1), 24);
    EXPECT_EQ(d.civil.polar, SunPolar::Day);
    EXPECT_FALSE(d.civil.dawn.found);
    EXPECT_FALSE(d.civil.dusk.found);
    EXPECT_EQ(d.astronomical.polar, SunPolar::Day);
    EXPECT_TRUE(d.golden.empty());  // never below +6 degrees
    EXPECT_TRUE(d.blue.empty());
    EXPECT_NEAR(d.day_length, 1440, 1e-6);

    // at noon the Sun climbs to -11.4 degrees: no civil twilight, but
    // nautical and astronomical twilight come and go
    d = Sun_Day(78.0, 15.6, DateStart(2026, 12, 21, 15.6, 1), 24);
    EXPECT_EQ(d.civil.polar, SunPolar::Night);
    EXPECT_FALSE(d.civil.dawn.found || d.civil.dusk.found);
    EXPECT_EQ(d.nautical.polar, SunPolar::None);
    EXPECT_TRUE(d.nautical.dawn.found && d.nautical.dusk.found);
    EXPECT_LT(d.nautical.dawn.jd, d.nautical.dusk.jd);
    EXPECT_TRUE(d.golden.empty());
    EXPECT_EQ(d.day_length, 0);

    d = Sun_Day(60.0, 25.0, DateStart(2026, 6, 21, 25.0, 2), 24);
    EXPECT_TRUE(d.civil.dawn.found && d.civil.dusk.found);
    EXPECT_EQ(d.civil.polar, SunPolar::None);
    EXPECT_EQ(d.nautical.polar, SunPolar::Day);
    EXPECT_EQ(d.astronomical.polar, SunPolar::Day);
    // the short night (civil dawn 01:09, dusk 23:34): the blue hour from
    // civil dawn to -4 degrees and from -4 degrees to civil dusk, each next
    // to a golden hour
    ASSERT_EQ(d.blue.size(), 2u);
    ASSERT_EQ(d.golden.size(), 2u);
    EXPECT_EQ(d.blue[0].start, d.civil.dawn.jd);
    EXPECT_EQ(d.blue[0].end, d.golden[0].start);
    EXPECT_EQ(d.blue[1].end, d.civil.dusk.jd);
    EXPECT_EQ(d.blue[1].start, d.golden[1].end);

    const double eq = DateStart(2026, 3, 20, 139.7, 9);
    d = Sun_Day(35.0, 139.7, eq, 24);
    EXPECT_NEAR(d.day_length, 12 * 60 + 8, 3);
    ASSERT_EQ(d.golden.size(), 2u);  // morning and evening, each about an hour
    for (const SunInterval& s : d.golden) EXPECT_NEAR((s.end - s.start) * 24, 0.9, 0.25);
    EXPECT_LT(d.civil.dawn.jd, d.golden[0].start);
}

// Folding: lines of at most 75 octets, continuations begin with one space,
// never cut inside a UTF-8 character, and unfolding gives the line back.
TEST(Ics, FoldEscapeAndTimes)
{
    std::string line = "DESCRIPTION:";
    for (int i = 0; i < 40; i++) line += reinterpret_cast<const char*>(u8"北緯");
    line += "x";
    const std::string folded = Ics_Fold(line);
    std::string unfolded;
    size_t start = 0;
    while (start < folded.size()) {
        const size_t end = folded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string piece = folded.substr(start, end - start);
        EXPECT_LE(piece.size(), 75u);
        if (start > 0) {
            ASSERT_EQ(piece[0], ' ');
            // a piece never starts with a UTF-8 continuation byte
            EXPECT_NE(static_cast<unsigned char>(piece[1]) & 0xC0, 0x80);
        }
        unfolded += start > 0 ? piece.substr(1) : piece;
        start = end + 2;
    }
    EXPECT_EQ(unfolded, line);
    EXPECT_EQ(Ics_Fold("SUMMARY:x"), "SUMMARY:x\r\n");

    EXPECT_EQ(Ics_Escape("a,b;c\\d\ne"), "a\\,b\\;c\\\\d\\ne");

    EXPECT_EQ(Ics_UtcTime(2451545.0), "20000101T120000Z");
    EXPECT_EQ(Ics_UtcTime(2440587.5), "19700101T000000Z");
    EXPECT_EQ(Ics_UtcTime(2415079.5), "19000301T000000Z");  // before 1970
    EXPECT_EQ(Ics_UtcTime(2451604.5 - 0.4 / 86400), "20000301T000000Z");  // to the nearest second
    EXPECT_EQ(Ics_UtcSeconds(-1), "19691231T235959Z");

    unsigned kinds = 0;
    EXPECT_TRUE(Planner_ParseKinds("sun,phases", &kinds));
    EXPECT_EQ(kinds, unsigned{kPlanSun | kPlanPhases});
    EXPECT_FALSE(Planner_ParseKinds("", &kinds));
    EXPECT_FALSE(Planner_ParseKinds("sun,", &kinds));
    EXPECT_FALSE(Planner_ParseKinds("stars", &kinds));
}
