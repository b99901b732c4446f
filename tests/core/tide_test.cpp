// Tides: nodal factors, phase reduction, the day scan with its stop and
// storage rules, on real dates and on made-up heights.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <cmath>

#include "app/settings.h"
#include "events/tide.h"
#include "tests/core/observer.h"
#include "timecal/julian.h"

namespace {

using testing_observer::Observer;
using testing_observer::Tokyo;

// Hour s of a made-up day as a "Julian day": easy to read back.
double HourAsDay(double s)
{
    return 1000.0 + s;
}

}  // namespace

// Check values to 4 decimals (tolerance 5e-5).
TEST(Tide_Nodal, FactorsAtZeroAnd90)
{
    TideNodal n = Tide_Nodal(0);
    EXPECT_NEAR(n.fM2, 0.9633, 5e-5);
    EXPECT_NEAR(n.fK1, 1.1128, 5e-5);
    EXPECT_NEAR(n.fO1, 1.1827, 5e-5);
    EXPECT_NEAR(n.uM2, 0.0, 5e-5);
    EXPECT_NEAR(n.uK1, 0.0, 5e-5);
    EXPECT_NEAR(n.uO1, 0.0, 5e-5);
    n = Tide_Nodal(90);
    EXPECT_NEAR(n.fM2, 1.0002, 5e-5);
    EXPECT_NEAR(n.fK1, 1.0148, 5e-5);
    EXPECT_NEAR(n.fO1, 1.0236, 5e-5);
    EXPECT_NEAR(n.uM2, -2.14, 5e-5);
    EXPECT_NEAR(n.uK1, -8.79, 5e-5);
    EXPECT_NEAR(n.uO1, 10.61, 5e-5);
}

// 2026-12-06: two high and two low waters (regression values, Julian days
// and heights to 5e-9); Tide_Cal twice gives the same record.
TEST(Tide_Cal, TokyoBayOnOneDay)
{
    Observer();
    const double expected[8] = {1.66145437, 1.71824216, 0.97001661, 0.19358088,
                                2461380.28645833, 2461380.76041667,   // 03:52, 15:14
                                2461380.52343750, 2461381.05078125};  // 09:33, 22:13
    double jd = Tokyo(2026, 12, 6, 15);
    Tide_Cal(jd);
    double first[8];
    for (int i = 0; i < 8; i++) {
        EXPECT_NEAR(Tide[i], expected[i], 5e-9) << i;
        first[i] = Tide[i];
    }
    // heights lie within the sum of the amplitudes about the mean level
    for (int i = 0; i < 4; i++) EXPECT_LT(std::fabs(Tide[i] - 1.17), 0.482 * 1.04 + 0.238 + 0.252 * 1.2 + 0.198 * 1.2);
    Tide_Cal(jd);
    for (int i = 0; i < 8; i++) EXPECT_EQ(Tide[i], first[i]) << i;
    EXPECT_EQ(year0, 2026);
    EXPECT_EQ(month0, 12);
    EXPECT_EQ(day0, 6);
}

// 2026-12-03 has a single high water in the window; the second slot stays
// 0.0. Extrema found before 0 h or after 24 h keep their own Julian days.
TEST(Tide_Cal, MissingAndNeighbouringDays)
{
    Observer();
    Tide_Cal(Tokyo(2026, 12, 3, 12));
    EXPECT_NE(Tide[4], 0.0);
    EXPECT_EQ(Tide[5], 0.0);
    EXPECT_EQ(Tide[1], 0.0);
    EXPECT_NE(Tide[6], 0.0);
    EXPECT_NE(Tide[7], 0.0);

    Tide_Cal(Tokyo(2026, 12, 11, 12));  // first low water 2026-12-10 23:42
    EXPECT_LT(Tide[6], Tokyo(2026, 12, 11, 0));
    EXPECT_NEAR(Tide[6], 2461385.11263021, 5e-9);

    Tide_Cal(Tokyo(2026, 12, 2, 12));  // second high water 2026-12-03 01:33
    EXPECT_GT(Tide[5], Tokyo(2026, 12, 3, 0));
    EXPECT_NEAR(Tide[5], 2461377.19010417, 5e-9);

    // the date is that of the station's zone, whatever the observer
    longitude0 = 0.0;
    Tide_Cal(Tokyo(2026, 12, 2, 12));
    EXPECT_NEAR(Tide[5], 2461377.19010417, 5e-9);
}

// The third extremum of a kind ends the scan at once.
TEST(Tide_Search, ThirdExtremumEndsScan)
{
    double latest = -99;
    // period 10 h: highs at 0, 10, 20; lows at 5, 15, 25
    auto y = [&](double s) {
        latest = std::max(latest, s);
        return std::cos(s * 2 * M_PI / 10);
    };
    double rec[8];
    Tide_Search(y, HourAsDay, rec);
    EXPECT_EQ(latest, 21.0);  // stopped at the sample triple 19, 20, 21
    // each crest is in the middle of its bracket [t, t+2]: stored at b
    EXPECT_EQ(rec[4], HourAsDay(1));
    EXPECT_EQ(rec[5], HourAsDay(11));
    EXPECT_EQ(rec[6], HourAsDay(6));
    EXPECT_EQ(rec[7], HourAsDay(16));
    EXPECT_NEAR(rec[0], std::cos(-2 * M_PI / 10), 1e-12);  // ya = y(-1)
    EXPECT_NEAR(rec[2], std::cos(4 * 2 * M_PI / 10), 1e-12);

    // a real day: 2026-12-11 ends at its third low water (samples to 26 h)
    Observer();
    double jd0h = Tokyo(2026, 12, 11, 0);
    latest = -99;
    std::vector<double> asked;  // each height is computed once
    auto real = [&](double s) {
        latest = std::max(latest, s);
        asked.push_back(s);
        double h, hd;
        Tide1_Loop(jd0h + s / 24, s, &h, &hd);
        return hd;
    };
    Tide_Search(real, HourAsDay, rec);
    EXPECT_EQ(latest, 26.0);
    EXPECT_EQ(asked.back(), 26.0);  // the last height is the last one asked for
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(std::adjacent_find(asked.begin(), asked.end()), asked.end());
}

// Samples equal at a crest detect nothing; a maximum in the middle of its
// bracket meets the tolerance at once and stores ya with the time of b.
TEST(Tide_Search, CrestRules)
{
    double rec[8];
    auto plateau = [](double s) { return s == 5 || s == 6 ? 1.0 : -std::fabs(s - 5.5); };
    Tide_Search(plateau, HourAsDay, rec);
    EXPECT_EQ(rec[0], 0.0);
    EXPECT_EQ(rec[4], 0.0);

    auto middle = [](double s) { return -(s - 6) * (s - 6); };
    Tide_Search(middle, HourAsDay, rec);
    EXPECT_EQ(rec[4], HourAsDay(7));  // bracket [5, 7]: b
    EXPECT_EQ(rec[0], -1.0);          // ya = y(5)
    EXPECT_EQ(rec[5], 0.0);
    EXPECT_EQ(rec[6], 0.0);
}

// A maximum that the halving cannot flatten within 31 rounds (a cusp
// too steep for the tolerance) is counted but not stored: the next high
// water goes to slot 2.
TEST(Tide_Search, UnconvergedCountedNotStored)
{
    auto y = [](double s) {
        if (s < 8) return -1e6 * std::fabs(s - 5.3);  // cusp at 5.3
        return 4 - (s - 14) * (s - 14) / 4;           // smooth crest at 14
    };
    double rec[8];
    Tide_Search(y, HourAsDay, rec);
    EXPECT_EQ(rec[4], 0.0);
    EXPECT_EQ(rec[0], 0.0);
    EXPECT_EQ(rec[5], HourAsDay(15));
    EXPECT_EQ(rec[1], 3.75);
}
