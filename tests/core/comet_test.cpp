// Comets: Keplar and Comet_Position, both orbit branches.
#include <gtest/gtest.h>

#include <cmath>

#include "angle_near.h"
#include "ephem/comet.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"

namespace {
constexpr double kJd = 2460000.5;

tagParameter Elements(double e, double q, double a, double node, double peri, double inc)
{
    tagParameter p{};
    p.peri_jd = kJd;
    p.q = q;
    p.a = a;
    p.e = e;
    p.asc_node = node;
    p.peri = peri;
    p.inc = inc;
    p.equinox = 2000;
    p.abs_mag = 5.0;
    p.mag_slope = 4.0;
    return p;
}

// Heliocentric equatorial position: the stored geocentric vector minus the
// Sun's geocentric vector for the same equinox.
void Heliocentric(const tagPosition& c, double jd, double year, double h[3])
{
    double xs, ys, zs;
    Solar_Geo(jd, year, &xs, &ys, &zs);
    h[0] = c.x - xs;
    h[1] = c.y - ys;
    h[2] = c.z - zs;
}
}  // namespace

TEST(Keplar, SolvesKeplersEquation)
{
    double E;
    Keplar(90, 0.5, &E);
    EXPECT_NEAR(E, 115.7936, 0.5e-4);
    const double Ms[] = {0.0, 37.3, -123.4, 359.9, 1000.7};
    for (double M : Ms) {
        Keplar(M, 0, &E);
        EXPECT_EQ(E, M);  // unchanged
    }
    // near-parabolic eccentricities end too, at the root
    const double Mh[] = {-28.2319, -24.7975, 5.0, 170.0};
    const double eh[] = {0.99, 0.999, 0.9999};
    for (double e : eh)
        for (double M : Mh) {
            Keplar(M, e, &E);
            const double x = E * kDegToRad;
            EXPECT_NEAR(x - e * std::sin(x), M * kDegToRad, 1e-8) << e << " " << M;
        }
}

TEST(Comet_Position, ParabolaAtPerihelion)
{
    // W = 0, s = 0: the comet is at distance q in the direction of perihelion P
    const double q = 0.6;
    tagPosition c{};
    Comet_Position(kJd, &c, Elements(1.0, q, 0.0, 0, 0, 0));
    EXPECT_NEAR(c.dist, q, 1e-12);
    double h[3];
    Heliocentric(c, kJd, 2000, h);
    EXPECT_NEAR(h[0], q, 1e-12);  // P = (1, 0, 0) for zero angles
    EXPECT_NEAR(h[1], 0.0, 1e-12);
    EXPECT_NEAR(h[2], 0.0, 1e-12);
    // a tilted orbit: still distance q, and P in the orbit plane leaves the
    // ecliptic at the latitude asin(sin w sin i) (w = 90, i = 30: 30 degrees)
    Comet_Position(kJd, &c, Elements(1.0, q, 0.0, 40, 90, 30));
    EXPECT_NEAR(c.dist, q, 1e-12);
    Heliocentric(c, kJd, 2000, h);
    double ra = std::atan2(h[1], h[0]) / kDegToRad, dec = std::asin(h[2] / q) / kDegToRad;
    double lam, bet;
    RaToLam(EpochJD(2000), ra < 0 ? ra + 360 : ra, dec, &lam, &bet);
    EXPECT_NEAR(bet, 30.0, 1e-3);  // obliquity of the equinox year vs of 2000.0
    EXPECT_TRUE(AngleNear(lam, 40 + 90, 2e-3));
}

TEST(Comet_Position, ParabolaByBarker)
{
    // q = 1 and W = 1: s + s^3/3 = 1 gives s = 0.8177316739, r = q (1 + s^2)
    tagParameter p = Elements(1.0, 1.0, 0.0, 0, 0, 0);
    tagPosition c{};
    Comet_Position(kJd + 82.2117, &c, p);
    EXPECT_NEAR(c.dist, 1 + 0.8177316739 * 0.8177316739, 1e-9);
    // the eccentricity's integer part selects the branch: 1.5 is a parabola too
    tagPosition d{};
    p.e = 1.5;
    Comet_Position(kJd + 82.2117, &d, p);
    EXPECT_EQ(d.dist, c.dist);
}

TEST(Comet_Position, EllipseAtPerihelionAndAfter)
{
    // M = 0, E = 0: r = a (1 - e)
    tagPosition c{};
    Comet_Position(kJd, &c, Elements(0.5, 0.0, 2.0, 10, 20, 5));
    EXPECT_NEAR(c.dist, 1.0, 1e-12);
    // M = 90 degrees: E = 115.7936, r = a (1 - e cos E)
    Comet_Position(kJd + 90 / 0.9856076, &c, Elements(0.5, 0.0, 1.0, 10, 20, 5));
    double E;
    Keplar(90, 0.5, &E);
    EXPECT_NEAR(c.dist, 1 - 0.5 * std::cos(E * kDegToRad), 1e-10);
    EXPECT_NEAR(c.dist, 1.217565, 0.5e-6);
}

TEST(Comet_Position, BranchChoiceAtOne)
{
    // q = 1 and a = 3 on purpose: the branch shows in the distance at perihelion
    tagPosition c{};
    Comet_Position(kJd, &c, Elements(1.0, 1.0, 3.0, 0, 0, 0));
    EXPECT_NEAR(c.dist, 1.0, 1e-12);  // parabola: q
    Comet_Position(kJd, &c, Elements(0.9999, 1.0, 3.0, 0, 0, 0));
    EXPECT_NEAR(c.dist, 3.0 * (1 - 0.9999), 1e-12);  // ellipse: a (1 - e)
    // and well after perihelion the near-parabolic ellipse still comes back
    Comet_Position(kJd + 400, &c, Elements(0.9999, 1.0, 3.0, 0, 0, 0));
    EXPECT_FALSE(std::isnan(c.dist));
}

TEST(Comet_Position, DerivedQuantities)
{
    tagParameter p = Elements(0.7, 0.0, 2.5, 80, 150, 12);
    const double jd = kJd + 200;
    tagPosition c{};
    Comet_Position(jd, &c, p);
    double xs, ys, zs;
    Solar_Geo(jd, p.equinox, &xs, &ys, &zs);
    const double Rs = std::sqrt(xs * xs + ys * ys + zs * zs);
    const double h[3] = {c.x - xs, c.y - ys, c.z - zs};
    // elongation: angle at the Earth between the Sun and the comet
    double ce = (c.x * xs + c.y * ys + c.z * zs) / (c.delta * Rs);
    EXPECT_NEAR(c.elong, std::acos(ce) / kDegToRad, 1e-9);
    // phase angle: angle at the comet between the Sun and the Earth
    double cp = (h[0] * c.x + h[1] * c.y + h[2] * c.z) / (c.dist * c.delta);
    EXPECT_NEAR(c.phase, std::acos(cp) / kDegToRad, 1e-9);
}

TEST(Comet_Position, DegenerateElementsEnd)
{
    // the program's own record is all zero; as a parabola (q = 0) Barker's
    // iteration meets only NaN: the call must still return
    tagParameter p = Comet;
    EXPECT_EQ(p.q, 0.0);
    p.e = 1.0;
    tagPosition c{};
    Comet_Position(2451545.0, &c, p);
    EXPECT_TRUE(std::isnan(c.dist));
}
