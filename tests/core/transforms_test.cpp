// Coordinate transforms: ecliptic/equatorial, horizontal, precession,
// separation and position angle.
#include <gtest/gtest.h>

#include <cmath>

#include "angle_near.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"

namespace {
constexpr double kJd = 2451545.0;
constexpr double kLat = 35.6;
constexpr double kLon = 139.7;

// Local sidereal time in degrees by the formula Az_El uses.
double SiderealDeg(double jd, double lon)
{
    double d = jd - 2415020.0;
    double s = (24 * 1.0027379092558308 * d + 18.6461 + 3.24e-14 * d * d + lon / 15) / 24;
    return (s - std::floor(s)) * 24 * 15;
}
}  // namespace

TEST(LamToRa, OriginAndWrapAndRoundTrip)
{
    double ra, dec;
    LamToRa(kJd, 0, 0, &ra, &dec);
    EXPECT_EQ(ra, 0.0);  // exact
    EXPECT_EQ(dec, 0.0);
    // a point just north of the equinox gives an atan2 just below 0: 360 - tiny
    LamToRa(kJd, 0, 1e-9, &ra, &dec);
    EXPECT_LT(ra, 360.0);
    EXPECT_GT(ra, 359.999999);
    // solstice: delta = obliquity
    LamToRa(kJd, 90, 0, &ra, &dec);
    EXPECT_NEAR(ra, 90.0, 1e-12);
    EXPECT_NEAR(dec, Obl(kJd), 1e-12);
    // RaToLam undoes LamToRa (same obliquity of date)
    const double pts[][2] = {{10, 5}, {123.4, -45.6}, {271.9, 1.3}, {359.9, -0.2}};
    for (const auto& p : pts) {
        double l, b;
        LamToRa(kJd, p[0], p[1], &ra, &dec);
        RaToLam(kJd, ra, dec, &l, &b);
        EXPECT_TRUE(AngleNear(l, p[0], 1e-10));
        EXPECT_NEAR(b, p[1], 1e-10);
    }
}

TEST(Az_El, MeridianPolesAndWest)
{
    const double theta = SiderealDeg(kJd, kLon);
    double az, el;
    // on the meridian south of the zenith
    Az_El(kJd, theta, 0, kLat, kLon, &az, &el);
    EXPECT_NEAR(az, 0.0, 1e-9);
    EXPECT_NEAR(el, 90 - kLat, 1e-9);
    // on the meridian north of the zenith
    Az_El(kJd, theta, 60, kLat, kLon, &az, &el);
    EXPECT_NEAR(std::fabs(az), 180.0, 1e-9);
    EXPECT_NEAR(el, 90 - (60 - kLat), 1e-9);
    // on the equator at hour angle +90: due west on the horizon
    Az_El(kJd, theta - 90, 0, kLat, kLon, &az, &el);
    EXPECT_NEAR(az, 90.0, 1e-9);
    EXPECT_NEAR(el, 0.0, 1e-9);
    // the celestial poles
    Az_El(kJd, 123.0, 90, kLat, kLon, &az, &el);
    EXPECT_NEAR(std::fabs(az), 180.0, 1e-9);
    EXPECT_NEAR(el, kLat, 1e-9);
    Az_El(kJd, 123.0, -90, kLat, kLon, &az, &el);
    EXPECT_NEAR(az, 0.0, 1e-9);
    EXPECT_NEAR(el, -kLat, 1e-9);
}

TEST(Precession, EpochsAndIdentityAtEpoch)
{
    EXPECT_EQ(EpochJD(1900), 2415021.0);
    EXPECT_EQ(EpochJD(2000), 2451545.0);
    EXPECT_EQ(EpochJD(1582), 2298884.0);  // before the Gregorian start: no correction
    double ra, dec;
    Precession(EpochJD(1900), 1900, 123.456, -23.45, 0, 0, &ra, &dec);
    EXPECT_NEAR(ra, 123.456, 1e-12);
    EXPECT_NEAR(dec, -23.45, 1e-12);
    Precession(kJd2000, 2000, 0.0, 0.0, 0, 0, &ra, &dec);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
    // one century: the equinox moves about 1.28 degrees (zeta + z = 4614.4";
    // the tilt theta adds 3e-5 degrees)
    Precession(kJd2000 + 36525, 2000, 0.0, 0.0, 0, 0, &ra, &dec);
    EXPECT_NEAR(ra, (2 * 2306.2181 + 0.30188 + 1.09468 + 0.017998 + 0.018203) / 3600, 1e-4);
    // proper motion alone in declination: 1"/yr for a century is 100"
    double ra1, dec1;
    Precession(kJd2000 + 36525, 2000, 0.0, 0.0, 0, 1, &ra1, &dec1);
    EXPECT_NEAR(dec1 - dec, 100.0 / 3600, 1e-5);
}

TEST(Dist, SeparationAndPositionAngle)
{
    const double R = kDegToRad;
    double s, p;
    // equal points: no direction, no separation
    Dist(10, 20, 10, 20, &s, &p);
    EXPECT_EQ(s, 0.0);
    EXPECT_EQ(p, 0.0);
    // same longitude, northward: the small-angle separation, position angle 0
    Dist(10, 20, 10, 25, &s, &p);
    EXPECT_FALSE(std::isnan(s));
    EXPECT_NEAR(s, std::sin(5 * R) / R, 1e-9);
    EXPECT_NEAR(p, 0.0, 1e-12);
    // southward: position angle 180, separation still positive
    Dist(10, 25, 10, 20, &s, &p);
    EXPECT_NEAR(s, std::sin(5 * R) / R, 1e-9);
    EXPECT_NEAR(p, 180.0, 1e-12);
    // along the equator toward increasing longitude: position angle 90
    Dist(0, 0, 1, 0, &s, &p);
    EXPECT_NEAR(p, 90.0, 1e-12);
    EXPECT_NEAR(s, std::sin(1 * R) / R, 1e-9);
}
