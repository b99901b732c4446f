// The clock's calendar is the one JD computes in: Julian dates up to
// 1582-10-04, Gregorian from 1582-10-15. The parser takes exactly its dates,
// the count breaks down into them, and a repaint shows the date it was given.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/almanac.h"
#include "app/settings.h"
#include "tests/core/fixed_clock.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

constexpr double kJdOfCivilZero = 2440587.5;  // 1970-01-01 00:00 (UT at longitude 0)

std::string Fields(const struct tm& t)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

// The date line of the almanac (the repaint's), "YYYY/MM/DD HH:MM:SS".
std::string DateLineAt(int64_t civil)
{
    Settings_Reset();
    testing_clock::FixedClock clock(civil);
    const std::string text = Almanac_Text();
    const size_t slash = text.find('/');
    return slash == std::string::npos || slash < 4 ? text : text.substr(slash - 4, 19);
}

}  // namespace

TEST(Clock, ParsesTheDatesOfTheCalendarJDComputesIn)
{
    for (const char* ok : {"0001-01-01 00:00:00", "1500-02-29 12:00:00", "1582-10-04 23:59:59",
                           "1582-10-15 00:00:00", "1600-02-29 00:00:00", "2000-02-29 12:00:00",
                           "9999-12-31 23:59:59"}) {
        int64_t civil = 0;
        ClockParseError why = ClockParseError::Form;
        ASSERT_TRUE(Clock_Parse(ok, &civil, &why)) << ok;
        EXPECT_EQ(why, ClockParseError::Ok) << ok;
        EXPECT_EQ(Fields(Clock_Fields(civil)), ok);  // the count breaks down into the same date
    }
    const struct {
        const char* text;
        ClockParseError why;
    } refused[] = {
        {"1582-10-05 00:00:00", ClockParseError::DroppedDay},
        {"1582-10-14 23:59:59", ClockParseError::DroppedDay},
        {"1700-02-29 12:00:00", ClockParseError::Date},  // Gregorian: not a leap year
        {"1900-02-29 00:00:00", ClockParseError::Date},
        {"1500-02-30 00:00:00", ClockParseError::Date},
        {"2026-12-06 24:00:00", ClockParseError::Form},
    };
    for (const auto& r : refused) {
        int64_t civil = 0;
        ClockParseError why = ClockParseError::Ok;
        EXPECT_FALSE(Clock_Parse(r.text, &civil, &why)) << r.text;
        EXPECT_EQ(why, r.why) << r.text;
    }
}

// At longitude 0 the civil count is UT, so JD of the count's date is the
// count in days from JD 2440587.5: every date of 0001 to 9999 (one day in
// 29, and the days around the switch) lands on the day JD gives it.
TEST(Clock, CountAgreesWithJDOverTheYearsOneToNineThousand)
{
    const int64_t first = Clock_CivilFromFields(1, 1, 1, 0, 0, 0) / 86400;
    const int64_t last = Clock_CivilFromFields(9999, 12, 31, 0, 0, 0) / 86400;
    const int64_t gregorian = Clock_CivilFromFields(1582, 10, 15, 0, 0, 0) / 86400;
    EXPECT_EQ(gregorian - 1, Clock_CivilFromFields(1582, 10, 4, 0, 0, 0) / 86400);
    int checked = 0;
    for (int64_t day = first; day <= last; day += (day > gregorian - 40 && day < gregorian + 40) ? 1 : 29) {
        const int64_t civil = day * 86400 + 43200;
        const struct tm t = Clock_Fields(civil);
        const double jd = JD(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, 12.0, 0, 0.0);
        ASSERT_EQ(jd, day + kJdOfCivilZero + 0.5) << Fields(t);
        ASSERT_EQ(Clock_CivilFromFields(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, 12, 0, 0), civil)
            << Fields(t);
        ++checked;
    }
    EXPECT_GT(checked, 120000);
}

// A clock that runs on shows the calendar's next day, in the picture too.
TEST(Clock, RunsAcrossTheJulianLeapDayAndTheGregorianSwitch)
{
    const struct {
        int y, m, d;
        const char* next;
    } edges[] = {
        {1500, 2, 28, "1500-02-29 00:00:00"},
        {1500, 2, 29, "1500-03-01 00:00:00"},
        {1582, 10, 4, "1582-10-15 00:00:00"},
        {1700, 2, 28, "1700-03-01 00:00:00"},
        {1999, 12, 31, "2000-01-01 00:00:00"},
    };
    for (const auto& e : edges) {
        const int64_t civil = Clock_CivilFromFields(e.y, e.m, e.d, 23, 59, 59) + 1;
        EXPECT_EQ(Fields(Clock_Fields(civil)), e.next);
        std::string line = e.next;
        for (size_t i : {4u, 7u}) line[i] = '/';
        EXPECT_EQ(DateLineAt(civil), line);
    }
    // 1582-10-15 was a Friday, the day after Thursday 1582-10-04
    EXPECT_EQ(Clock_Fields(Clock_CivilFromFields(1582, 10, 4, 12, 0, 0)).tm_wday, 4);
    EXPECT_EQ(Clock_Fields(Clock_CivilFromFields(1582, 10, 15, 12, 0, 0)).tm_wday, 5);
    EXPECT_EQ(Clock_Fields(Clock_CivilFromFields(1582, 10, 15, 12, 0, 0)).tm_yday, 277);
}

// The clock stops at the calendar's last second: a clock run past it reads
// 9999-12-31 23:59:59 and says it has stopped; following the system again
// clears that.
TEST(Clock, StopsAtTheEndOfTheCalendar)
{
    const int64_t last = Clock_CivilFromFields(9999, 12, 31, 23, 59, 59);
    {
        testing_clock::FixedClock clock(last);
        EXPECT_EQ(Clock_CivilSeconds(), last);
        EXPECT_FALSE(Clock_Stopped());
    }
    {
        testing_clock::FixedClock clock(last + 1);
        EXPECT_EQ(Clock_CivilSeconds(), last);
        EXPECT_TRUE(Clock_Stopped());
        EXPECT_EQ(Clock_Now().tm_year + 1900, 9999);
    }
    EXPECT_FALSE(Clock_Stopped());
}
