// Time records: Cal_Now_Time, Cal_Auto_Time, DateToYMD, HourToHMS.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "tests/core/fixed_clock.h"
#include "tests/core/observer.h"
#include "timecal/clock.h"
#include "timecal/timerec.h"

TEST(DateToYMD, PositiveAndNegativeYears)
{
    double y, m, d;
    DateToYMD(20261206, &y, &m, &d);
    EXPECT_EQ(y, 2026);
    EXPECT_EQ(m, 12);
    EXPECT_NEAR(d, 6.0, 0.5e-1);
    DateToYMD(-4711231, &y, &m, &d);
    EXPECT_EQ(y, -471);  // month and day stay positive
    EXPECT_EQ(m, 12);
    EXPECT_NEAR(d, 31.0, 0.5e-1);
}

TEST(HourToHMS, SplitsWithoutRounding)
{
    double h, m, s;
    HourToHMS(14.5, &h, &m, &s);
    EXPECT_EQ(h, 14);
    EXPECT_EQ(m, 30);
    EXPECT_NEAR(s, 0.0, 0.5e-1);
    HourToHMS(23.999999, &h, &m, &s);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(m, 59);
    EXPECT_NEAR(s, 59.9964, 0.5e-4);
    EXPECT_LT(s, 60.0);  // not rounded up into the next minute
}

TEST(Cal_Auto_Time, FromJulianDay)
{
    testing_observer::Observer();
    tagTime_Day t;
    Cal_Auto_Time(2451544.5, &t);
    EXPECT_EQ(t.year, 2000);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.spare, 0.0);
    EXPECT_EQ(t.hour, 9);
    EXPECT_NEAR(t.Hour, 9.0, 0.5e-1);
    EXPECT_EQ(t.minute, 0);
    EXPECT_NEAR(t.second, 0.0, 0.5e-1);
    EXPECT_EQ(t.jd, 2451544.5);
    EXPECT_EQ(t.latitude, 35.6);
    EXPECT_EQ(t.longitude, 139.7);
    // up to jd 2415000.0 the time is local mean time (139.7 E: +9h 18m 48s)
    Cal_Auto_Time(2415000.0, &t);
    EXPECT_EQ(t.year, 1899);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 11);
    EXPECT_EQ(t.hour, 21);
    EXPECT_EQ(t.minute, 18);
    EXPECT_NEAR(t.second, 48.0, 1e-3);
    Settings_Reset();
}

TEST(Cal_Now_Time, ReadsTheClockSource)
{
    testing_observer::Observer();
    testing_clock::FixedClock clock(2026, 12, 6, 15, 0, 0);
    tagTime_Day t;
    Cal_Now_Time(&t);
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 6);
    EXPECT_EQ(t.spare, 0.0);
    EXPECT_EQ(t.hour, 15);
    EXPECT_EQ(t.minute, 0);
    EXPECT_NEAR(t.second, 0.0, 1e-3);
    EXPECT_EQ(t.jd, 2461380.75);
    EXPECT_EQ(t.latitude, 35.6);
    EXPECT_EQ(t.longitude, 139.7);
    // the last second of the day stays on that day
    Clock_Fix(Clock_CivilFromFields(2026, 12, 6, 23, 59, 59));  // the guard gives it back
    Cal_Now_Time(&t);
    EXPECT_EQ(t.day, 6);
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.minute, 59);
    EXPECT_NEAR(t.second, 59.0, 1e-3);
    Settings_Reset();
}
