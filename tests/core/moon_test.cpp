// The Moon: Moon_Position (geocentric and topocentric) and its mean elements.
#include <gtest/gtest.h>

#include <cmath>

#include "angle_near.h"
#include "app/settings.h"
#include "ephem/moon.h"
#include "ephem/transforms.h"
#include "tests/core/observer.h"
#include "timecal/constants.h"

TEST(Moon_Position, GeocentricCheckInstants)
{
    Settings_Reset();
    struct Case { double jd, lam, bet, r, sd, age; } const cases[] = {
        {2451545.0, 223.30128, 5.17994, 62.72149, 0.248928, 24.84775},
        {2451550.26, 285.76378, 1.62676, 63.31549, 0.246593, 0.00164},
        {2460000.5, 38.64053, 0.24770, 60.27829, 0.259018, 5.12836},
    };
    for (const Case& c : cases) {
        tagPosition m{};
        Moon_Position(c.jd, &m, 0, 34.8, 135.0);
        EXPECT_TRUE(AngleNear(m.lam, c.lam, 0.5e-5)) << c.jd;
        EXPECT_NEAR(m.bet, c.bet, 0.5e-5) << c.jd;
        EXPECT_NEAR(m.dist, c.r, 0.5e-5) << c.jd;
        EXPECT_NEAR(m.sd, c.sd, 0.5e-6) << c.jd;
        EXPECT_NEAR(m.mag, c.age, 0.5e-5) << c.jd;
        EXPECT_EQ(m.ecc, 0.05490897);
        EXPECT_GE(m.node, 0.0);
        EXPECT_LT(m.node, 360.0);
    }
}

TEST(Moon_Elements, At2000)
{
    MoonElements m;
    Moon_Elements(2451545.0, &m);
    EXPECT_NEAR(m.L, 218.33533, 0.5e-5);
    EXPECT_NEAR(m.G, 83.35229, 0.5e-5);
    EXPECT_NEAR(m.N, 125.04484, 0.5e-5);
    EXPECT_NEAR(m.S, 0.75113, 0.5e-5);
    EXPECT_NEAR(m.M, 135.73417, 0.5e-5);
    EXPECT_EQ(m.kepler_steps, 2);
    // E solves Kepler's equation
    const double M = m.M * kDegToRad;
    EXPECT_NEAR(m.E - 0.05490897 * std::sin(m.E), M, 1e-8);
    // and Moon_Position stores the same values
    tagPosition rec{};
    Moon_Position(2451545.0, &rec, 0, 0, 0);
    EXPECT_EQ(rec.node, m.N);
    EXPECT_EQ(rec.ecc_anom, m.E);
}

TEST(Moon_Position, AgeAroundNewMoon)
{
    Settings_Reset();
    tagPosition m{};
    // just after new moon (2451550.26 is 0.00164 days past it): near 0
    Moon_Position(2451550.30, &m, 0, 0, 0);
    EXPECT_GT(m.mag, 0.0);
    EXPECT_LT(m.mag, 0.1);
    // just before: near 29.53, never beyond
    Moon_Position(2451550.22, &m, 0, 0, 0);
    EXPECT_GT(m.mag, 29.4);
    EXPECT_LE(m.mag, 29.53);
    for (double jd = 2451545.0; jd < 2451575.0; jd += 0.5) {
        Moon_Position(jd, &m, 0, 0, 0);
        EXPECT_LE(m.mag, 29.53) << jd;
        EXPECT_GT(m.mag, -0.01) << jd;
    }
}

TEST(Moon_Position, TopocentricStage)
{
    testing_observer::Observer();
    const double jd = 2460000.5;
    // topo 0 leaves az, el (and phase) from an earlier call untouched
    tagPosition g{};
    g.az = 11.0;
    g.el = 22.0;
    g.phase = 3.0;
    Moon_Position(jd, &g, 0, latitude0, longitude0);
    EXPECT_EQ(g.az, 11.0);
    EXPECT_EQ(g.el, 22.0);
    EXPECT_EQ(g.phase, 3.0);

    tagPosition t = g;
    Moon_Position(jd, &t, 1, latitude0, longitude0);
    // the distance stays geocentric; sin sd grows by 1/0.99
    EXPECT_EQ(t.dist, g.dist);
    EXPECT_NEAR(std::sin(t.sd * kDegToRad), std::sin(g.sd * kDegToRad) / 0.99, 1e-15);
    // parallax lowers the altitude
    double az_geo, el_geo;
    Az_El(jd, g.ra, g.dec, latitude0, longitude0, &az_geo, &el_geo);
    EXPECT_LT(t.el, el_geo);
    EXPECT_NEAR(t.el, el_geo, 1.1);  // no more than the horizontal parallax
    // parallax moves the Moon by less than a degree in longitude and latitude
    EXPECT_TRUE(AngleNear(t.lam, g.lam, 1.0));
    EXPECT_NEAR(t.bet, g.bet, 1.0);
    // phase is the elongation from the Sun in radians
    EXPECT_GT(t.phase, 0.0);
    EXPECT_LT(t.phase, 3.1416);
    // az, el are those of the stored ra, dec for the observer
    double az, el;
    Az_El(jd, t.ra, t.dec, latitude0, longitude0, &az, &el);
    EXPECT_EQ(t.az, az);
    EXPECT_EQ(t.el, el);
    Settings_Reset();
}
