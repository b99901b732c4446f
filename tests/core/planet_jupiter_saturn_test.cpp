// Tests of Planet_Position for Jupiter and Saturn: the positions, the
// perturbation terms and the magnitude that depend on the perturbation grids.
#include <gtest/gtest.h>

#include <cmath>

#include "app/settings.h"
#include "ephem/planet.h"

namespace {

// Angle difference a - b wrapped into (-180, 180].
double AngleDiff(double a, double b)
{
    double d = std::fmod(a - b, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

#define EXPECT_ANGLE_NEAR(a, b, tol) EXPECT_NEAR(AngleDiff((a), (b)), 0.0, (tol)) << (a)

struct Row {
    int code;
    double lam, bet, delta, r, l, ra, dec;
};

tagPosition Compute(int code, double jd)
{
    Settings_Reset();
    tagPosition rec{};
    Planet_Position(code, jd, &rec);
    return rec;
}

}  // namespace

// The 2451545.0 table: degrees to 4 decimals, distances to 5.
TEST(PlanetJupiterSaturn, PositionsAtJ2000)
{
    const Row rows[] = {
        {kJupiter, 25.2275, -1.2603, 4.62158, 4.96528, 36.2659, 23.8428, 8.5873},
        {kSaturn, 40.1327, -2.4515, 8.65662, 9.18390, 45.4708, 38.5115, 12.5277},
    };
    for (const Row& w : rows) {
        SCOPED_TRACE(w.code);
        tagPosition p = Compute(w.code, 2451545.0);
        ASSERT_FALSE(std::isnan(p.lam));
        EXPECT_ANGLE_NEAR(p.lam, w.lam, 5e-5);
        EXPECT_NEAR(p.bet, w.bet, 5e-5);
        EXPECT_NEAR(p.dist, w.delta, 5e-6);
        EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), w.r, 5e-6);
        EXPECT_ANGLE_NEAR(p.hlong, w.l, 5e-5);
        EXPECT_ANGLE_NEAR(p.ra, w.ra, 5e-5);
        EXPECT_NEAR(p.dec, w.dec, 5e-5);
    }
    // Jupiter's magnitude at the same instant, 3 decimals
    EXPECT_NEAR(Compute(kJupiter, 2451545.0).mag, -2.126, 5e-4);
}

TEST(PlanetJupiterSaturn, JupiterLongitudeAt2460000_5)
{
    EXPECT_ANGLE_NEAR(Compute(kJupiter, 2460000.5).lam, 10.9661, 5e-5);
}

// Every perturbation term at 2451545.0; the long-period terms (1) and the
// grid terms (2) are quantised to 0.01 degree (0.001 AU for the axis).
TEST(PlanetJupiterSaturn, PerturbationTermsAtJ2000)
{
    PlanetTerms j{};
    Planet_Terms(kJupiter, 2451545.0, &j);
    EXPECT_NEAR(j.dL1, 0.02, 5e-3);
    EXPECT_NEAR(j.dL2, -0.01, 5e-3);
    EXPECT_NEAR(j.dP1, 0.02, 5e-3);
    EXPECT_NEAR(j.dP2, 0.04, 5e-3);
    EXPECT_NEAR(j.dphi1, -0.01, 5e-3);
    EXPECT_NEAR(j.dphi2, 0.01, 5e-3);
    EXPECT_NEAR(j.phi0, 2.78, 5e-3);

    PlanetTerms s{};
    Planet_Terms(kSaturn, 2451545.0, &s);
    EXPECT_NEAR(s.dL1, -0.75, 5e-3);
    EXPECT_NEAR(s.dL2, 0.51, 5e-3);
    EXPECT_NEAR(s.dP1, -0.52, 5e-3);
    EXPECT_NEAR(s.dP2, 0.35, 5e-3);
    EXPECT_NEAR(s.dphi1, -0.59, 5e-3);
    EXPECT_NEAR(s.dphi2, 0.62, 5e-3);
    EXPECT_NEAR(s.da1, -0.053, 5e-4);
    EXPECT_NEAR(s.da2, 0.08, 5e-4);

    // Saturn's semi-major axis 9.554747 + da1 + da2, as used and as stored
    PlanetElements e{};
    Planet_Elements(kSaturn, 2451545.0, &e);
    EXPECT_NEAR(e.a, 9.58175, 5e-6);
    EXPECT_NEAR(Compute(kSaturn, 2451545.0).axis, 9.58175, 5e-6);
    // Jupiter has no axis term
    EXPECT_NEAR(Compute(kJupiter, 2451545.0).axis, 5.202805, 5e-7);
}
