// New moon: the elongation, the day windows and their budgets, the output
// rules of both searches and the Moon's age.
#include <gtest/gtest.h>

#include <cmath>

#include "app/settings.h"
#include "events/newmoon.h"
#include "tests/core/observer.h"
#include "timecal/julian.h"

namespace {

using testing_observer::Observer;
using testing_observer::Tokyo;

// New moons of our theory (Julian days, tolerance 5e-7 d); published:
// 2026-11-09 07:02 UT and 2026-12-09 00:52 UT.
constexpr double kNewMoonNov = 2461353.790243;
constexpr double kNewMoonDec = 2461383.533306;

}  // namespace

// The elongation stays in (-20, 340]; the instant found lies within 0.001
// degrees below the crossing.
TEST(Elongation, RangeAndCrossing)
{
    Observer();
    for (double jd = 2461380.0; jd < 2461410.0; jd += 0.75) {
        double e = Elongation(jd);
        EXPECT_GT(e, -20.0) << jd;
        EXPECT_LE(e, 340.0) << jd;
    }
    double e = Elongation(kNewMoonDec);
    EXPECT_LT(e, 0.0);
    EXPECT_GT(e, -0.001);
}

// A new moon later on the given date than the given instant is found as
// the second output; the age then counts from the first.
TEST(FirstdayCal1, LaterNewMoonOnTheDate)
{
    Observer();
    double n1, n2;
    double jd = Tokyo(2026, 12, 9, 6);  // new moon at 09:48 local
    FirstdayCal1(jd, &n1, &n2);
    EXPECT_NEAR(n1, kNewMoonNov, 5e-7);
    EXPECT_NEAR(n2, kNewMoonDec, 5e-7);
    EXPECT_EQ(year0, 2026);
    EXPECT_EQ(month0, 12);
    EXPECT_EQ(day0, 9);
    EXPECT_NEAR(MoonAgeDays(jd), jd - kNewMoonNov, 5e-7);  // 29.58 days

    jd = Tokyo(2026, 12, 9, 12);  // after it: the second is the reference
    FirstdayCal1(jd, &n1, &n2);
    EXPECT_NEAR(n2, kNewMoonDec, 5e-7);
    EXPECT_NEAR(MoonAgeDays(jd), 0.091694, 5e-7);
}

// 2026-10-28 .. 2026-12-08 holds only the new moon of November 9.
TEST(FirstdayCal1, OneNewMoonInTheSpan)
{
    Observer();
    double n1, n2;
    FirstdayCal1(Tokyo(2026, 12, 8, 12), &n1, &n2);
    EXPECT_NEAR(n1, kNewMoonNov, 5e-7);
    EXPECT_EQ(n2, 0.0);
}

// A crossing exactly at 0 h of a day fails the strict tests of both
// neighbouring windows; a crossing inside a window is found.
TEST(NewMoon_Window, ExactZeroAtWindowEnd)
{
    Observer();
    double jd = Tokyo(2026, 12, 20, 12);
    double midnight = JD(2026, 12, 10, 0, 0, 135.0);  // window end, zone of 135 E
    auto exact = [&](double x) { return 12.0 * (x - midnight); };
    double n1 = -1, n2 = -1;
    FirstdayCal1_With(jd, exact, &n1, &n2);
    EXPECT_EQ(n1, 0.0);
    EXPECT_EQ(n2, 0.0);

    auto inside = [&](double x) { return 12.0 * (x - midnight - 0.5); };
    FirstdayCal1_With(jd, inside, &n1, &n2);
    EXPECT_NEAR(n1, midnight + 0.5, 0.001 / 12);
    EXPECT_LE(n1, midnight + 0.5);
    EXPECT_EQ(n2, 0.0);

    // the window alone: rounds are spent one per round, bracket test included
    int rounds = 31;
    EXPECT_EQ(NewMoon_Window(midnight, midnight + 1, 0.0, exact, &rounds), 0.0);
    EXPECT_EQ(rounds, 30);
    rounds = 31;
    EXPECT_GT(NewMoon_Window(midnight - 0.2, midnight + 0.8, 0.0, exact, &rounds), 0.0);
    EXPECT_GT(rounds, 0);
}

// FirstdayCal2: latest upward crossing of a target. Targets outside
// (-20, 340] are never found; the 31 rounds serve the whole call, so a
// crossing more than six days back is out of reach; the observer globals
// are left at 34.8 N, 135.0 E.
TEST(FirstdayCal2, TargetsAndBudget)
{
    Observer();
    double r = -1;
    double first_quarter = 2461391.735896;  // 2026-12-17 05:40 UT
    FirstdayCal2(Tokyo(2026, 12, 18, 12), 90.0, &r);
    EXPECT_NEAR(r, first_quarter, 5e-7);
    EXPECT_EQ(latitude0, 34.8);
    EXPECT_EQ(longitude0, 135.0);
    EXPECT_NEAR(Elongation(r), 90.0, 0.001);

    for (double target : {340.0, 340.5, 359.0, -20.0, -25.0}) {
        Observer();
        FirstdayCal2(Tokyo(2026, 12, 18, 12), target, &r);
        EXPECT_EQ(r, 0.0) << target;
    }

    Observer();
    FirstdayCal2(Tokyo(2026, 12, 23, 12), 90.0, &r);  // six days back: found
    EXPECT_NEAR(r, first_quarter, 5e-7);
    Observer();
    FirstdayCal2(Tokyo(2026, 12, 24, 12), 90.0, &r);  // seven days back: rounds spent
    EXPECT_EQ(r, 0.0);
}

// The same rules on a made-up elongation that runs 12 degrees a day.
TEST(FirstdayCal2, NewestFirstSharedRounds)
{
    Observer();
    double jd = Tokyo(2026, 12, 20, 12);
    double day0h = JD(2026, 12, 20, 0, 0, 135.0);
    auto linear = [&](double crossing) {
        return [=](double x) { return 12.0 * (x - crossing); };
    };
    double r;
    FirstdayCal2_With(jd, 0.0, linear(day0h + 0.25), &r);  // today
    EXPECT_NEAR(r, day0h + 0.25, 0.001 / 12);
    FirstdayCal2_With(jd, 6.0, linear(day0h - 2.75), &r);  // 6 = 12 x 0.5 d later
    EXPECT_NEAR(r, day0h - 2.25, 0.001 / 12);
    FirstdayCal2_With(jd, 0.0, linear(day0h - 12.5), &r);  // 12 days back
    EXPECT_EQ(r, 0.0);
}
