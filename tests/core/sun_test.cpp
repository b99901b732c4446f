// The Sun: Sun_Position and Solar_Geo.
#include <gtest/gtest.h>

#include <cmath>

#include "angle_near.h"
#include "app/settings.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"

TEST(Sun_Position, CheckInstants)
{
    Settings_Reset();
    struct Case { double jd, lam, r; } const cases[] = {
        {2415021.0, 280.66399, 0.983252},
        {2451545.0, 280.38249, 0.983310},
        {2460000.5, 336.12072, 0.989727},
    };
    for (const Case& c : cases) {
        tagPosition s{};
        Sun_Position(c.jd, &s);
        EXPECT_TRUE(AngleNear(s.lam, c.lam, 0.5e-5)) << c.jd;
        EXPECT_NEAR(s.dist, c.r, 0.5e-6) << c.jd;
        EXPECT_EQ(s.bet, 0.0);  // exact
        EXPECT_EQ(s.z, 0.0);
    }
    tagPosition s{};
    Sun_Position(2415021.0, &s);
    EXPECT_NEAR(s.sd, 0.271141, 0.5e-6);
}

TEST(Sun_Position, WritesOnlyItsFields)
{
    Settings_Reset();
    tagPosition s{};
    s.rise_time = 6.5;
    s.set_time = 16.25;
    s.mag = -7;
    s.node = 12;
    Sun_Position(2451545.0, &s);
    EXPECT_EQ(s.rise_time, 6.5);
    EXPECT_EQ(s.set_time, 16.25);
    EXPECT_EQ(s.mag, -7);
    EXPECT_EQ(s.node, 12);
    Settings_Reset();
}

TEST(Solar_Geo, AtItsEpochEqualsCoordinatesOfDate)
{
    Settings_Reset();
    const double R = kDegToRad;
    const double years[] = {1900, 2000};
    for (double year : years) {
        const double jd = EpochJD(year);
        double x, y, z;
        Solar_Geo(jd, year, &x, &y, &z);
        // Solar_Geo recomputes the shared record Sun for jd
        const double e = Obl(jd) * R, l = Sun.lam * R, r = Sun.dist;
        EXPECT_DOUBLE_EQ(x, r * std::cos(l));
        EXPECT_DOUBLE_EQ(y, r * std::sin(l) * std::cos(e));
        EXPECT_DOUBLE_EQ(z, r * std::sin(l) * std::sin(e));
    }
    // away from the epoch the rotation keeps the distance
    double x, y, z;
    Solar_Geo(2460000.5, 1950, &x, &y, &z);
    EXPECT_NEAR(std::sqrt(x * x + y * y + z * z), Sun.dist, 1e-12);
    EXPECT_NEAR(Sun.lam, 336.12072, 0.5e-5);
}
