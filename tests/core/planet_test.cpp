// Planets: Planet_Position for Mercury, Venus and Mars, the long-period terms
// of Jupiter and Saturn (independent of the grids), the right-ascension wrap.
// The Jupiter and Saturn rows that depend on the grids are tested with the
// grids (planet_jupiter_saturn_test.cpp).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "angle_near.h"
#include "app/settings.h"
#include "ephem/planet.h"
#include "ephem/transforms.h"
#include "tests/core/observer.h"

namespace {
struct Row { int code; double lam, bet, Delta, r, l, ra, dec, mag; };

// jd 2451545.0: lam, bet, Delta, r, l, ra, dec (4, 4, 5, 5, 4, 4, 4 decimals)
// and the magnitude (3 decimals).
const Row kRows2000[] = {
    {kMercury, 271.9158, -0.9966, 1.41557, 0.46648, 253.8086, 272.1038, -24.4219, 1.264},
    {kVenus, 241.5800, 2.0664, 1.13769, 0.72024, 182.6082, 239.9072, -18.4531, -3.567},
    {kMars, 327.9665, -1.0677, 1.84973, 1.39110, 359.4336, 330.5202, -13.1821, 1.220},
};
}  // namespace

TEST(Planet_Position, InnerPlanetsAndMarsAt2000)
{
    Settings_Reset();
    for (const Row& w : kRows2000) {
        tagPosition p{};
        Planet_Position(w.code, 2451545.0, &p);
        EXPECT_TRUE(AngleNear(p.lam, w.lam, 0.5e-4)) << w.code;
        EXPECT_NEAR(p.bet, w.bet, 0.5e-4) << w.code;
        EXPECT_NEAR(p.dist, w.Delta, 0.5e-5) << w.code;
        EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), w.r, 0.5e-5) << w.code;
        EXPECT_TRUE(AngleNear(p.hlong, w.l, 0.5e-4)) << w.code;
        EXPECT_TRUE(AngleNear(p.ra, w.ra, 0.5e-4)) << w.code;
        EXPECT_NEAR(p.dec, w.dec, 0.5e-4) << w.code;
        EXPECT_NEAR(p.mag, w.mag, 0.5e-3) << w.code;
    }
    // Mercury's semi-diameter: 3.36" at 1 AU
    tagPosition p{};
    Planet_Position(kMercury, 2451545.0, &p);
    EXPECT_NEAR(p.sd * 3600, 3.36 / 1.41557, 0.5e-4);
}

TEST(Planet_Position, At2023)
{
    Settings_Reset();
    tagPosition p{};
    Planet_Position(kVenus, 2460000.5, &p);
    EXPECT_TRUE(AngleNear(p.lam, 5.7543, 0.5e-4));
    Planet_Position(kMars, 2460000.5, &p);
    EXPECT_TRUE(AngleNear(p.lam, 77.5491, 0.5e-4));
    EXPECT_NEAR(p.bet, 2.4532, 0.5e-4);
}

TEST(Planet_Terms, LongPeriodTermsAt2000)
{
    PlanetTerms j;
    Planet_Terms(kJupiter, 2451545.0, &j);
    EXPECT_NEAR(j.dL1, 0.02, 1e-12);
    EXPECT_NEAR(j.dP1, 0.02, 1e-12);
    EXPECT_NEAR(j.dphi1, -0.01, 1e-12);
    EXPECT_NEAR(j.phi0, 2.78, 0.5e-2);
    EXPECT_EQ(j.da1, 0.0);  // Jupiter's axis is not perturbed
    EXPECT_EQ(j.da2, 0.0);
    PlanetTerms s;
    Planet_Terms(kSaturn, 2451545.0, &s);
    EXPECT_NEAR(s.dL1, -0.75, 1e-12);
    EXPECT_NEAR(s.dP1, -0.52, 1e-12);
    EXPECT_NEAR(s.dphi1, -0.59, 1e-12);
    EXPECT_NEAR(s.da1, -0.053, 1e-12);
    // the other planets get no terms at all
    PlanetTerms m;
    Planet_Terms(kMars, 2451545.0, &m);
    EXPECT_EQ(m.dL1, 0.0);
    EXPECT_EQ(m.dL2, 0.0);
    EXPECT_EQ(m.phi0, 0.0);
}

TEST(Planet_Grid, BilinearInCell)
{
    // the cell corners themselves, the middle of a cell, and A rounded up to 360
    static double g[37][37];
    for (int i = 0; i < 37; ++i)
        for (int j = 0; j < 37; ++j) g[i][j] = i * 100 + j;
    EXPECT_EQ(Planet_Grid(g, 0, 0), 0.0);
    EXPECT_EQ(Planet_Grid(g, 40, 340), 3404.0);
    EXPECT_NEAR(Planet_Grid(g, 45, 345), 3454.5, 1e-12);
    EXPECT_NEAR(Planet_Grid(g, 47.5, 343.2), 3436.75, 1e-9);
    EXPECT_NEAR(Planet_Grid(g, 360, 360), 3636.0, 1e-12);  // stays inside the table
}

TEST(Planet_Position, RightAscensionAbove359_5IsZero)
{
    testing_observer::Observer();
    // Mars at jd 2451585.75: the computed right ascension is 359.66575
    const double jd = 2451585.75;
    tagPosition p{};
    Planet_Position(kMars, jd, &p);
    double ra, dec;
    LamToRa(jd, p.lam, p.bet, &ra, &dec);
    EXPECT_GT(ra, 359.5);
    EXPECT_LT(ra, 360.0);
    EXPECT_EQ(p.ra, 0.0);  // exact
    EXPECT_EQ(p.dec, dec);
    double az, el;
    Az_El(jd, 0.0, dec, latitude0, longitude0, &az, &el);
    EXPECT_EQ(p.az, az);
    EXPECT_EQ(p.el, el);
    // a right ascension below 359.5 is kept (Mercury, jd 2451545)
    Planet_Position(kMercury, 2451545.0, &p);
    EXPECT_TRUE(AngleNear(p.ra, 272.1038, 0.5e-4));
    Settings_Reset();
}

TEST(Planet_Position, CodesOfNoPlanetLeaveTheRecord)
{
    tagPosition p{};
    std::memset(&p, 0, sizeof p);
    p.lam = 1.5;
    p.ra = 2.5;
    const int codes[] = {0, 3, 7, -1};
    for (int c : codes) {
        Planet_Position(c, 2451545.0, &p);
        EXPECT_EQ(p.lam, 1.5) << c;
        EXPECT_EQ(p.ra, 2.5) << c;
    }
}
