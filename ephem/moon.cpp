// The Moon: mean elements referred to 1800, five periodic terms in the mean
// anomaly, Kepler's equation with a fixed eccentricity, a fixed inclination
// and one term in latitude (a compact form of Brown's lunar theory), with an
// optional correction for parallax to the observer.
#include "ephem/moon.h"

#include <cmath>

#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

namespace {
constexpr double R = kDegToRad;
constexpr double kEcc = 0.05490897;
constexpr double kEcc2 = 0.0030149949864609;  // e^2 as stored
constexpr double kInc = 5.1444433;             // inclination, degrees

// Age of the Moon in days from its longitude and the Sun's (Sun record).
double Age(double lam)
{
    double d = lam - Sun.lam;
    if (d < 0) d += 360;
    if (d > 360) d -= 360;
    return d / 360 * 29.53;
}
// The phase angle's plane triangle Earth-Sun-Moon.
constexpr double kEarthRadius = 6371012.0;  // metres
constexpr double kAU = 1.4959787e11;        // metres

}  // namespace

/*
**  Moon_Elements
**  The mean elements of the Moon, the periodic terms of its mean anomaly
**  and the solution of Kepler's equation.
**
**  Given:
**     jd   double          Julian day (UT)
**
**  Returned:
**     m    MoonElements*   L (mean longitude), G (longitude of perigee),
**                          N (longitude of the ascending node), all
**                          degrees in [0, 360); S, the sum of the five
**                          periodic terms, degrees; M = L + S - G reduced,
**                          degrees; A6, the argument of the latitude term,
**                          degrees (not reduced); E, the eccentric anomaly,
**                          radians; kepler_steps, the Newton corrections
**                          made
**
**  Notes:
**  1) T counts Julian centuries from 2378496.0 (1800 January 0.5).
**  2) The periodic terms of the mean anomaly, with D the mean elongation,
**     l and l' the mean anomalies of the Moon and the Sun and F the
**     argument of latitude: 1.2408 sin(2D - l) (evection), 0.5958 sin 2D
**     (variation), 0.1828 sin(l' + 180) (annual equation), 0.055
**     sin(2D - l' - l), 0.0431 sin(2D - l'); A6 is 2D - F.
**  3) Kepler's equation E - e sin E = M with the fixed e = 0.05490897, by
**     Newton's method from E = M until |E - e sin E - M| <= 1e-8 rad
**     (two corrections at J2000.0).
**
**  Reference:
**     The mean elements are close to Brown's (Brown, E.W., Tables of the
**     Motion of the Moon, Yale University Press (1919)); Kepler's
**     equation: Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell
**     (1998), ch. 30.
*/
void Moon_Elements(double jd, MoonElements* m)
{
    double T = (jd - kJd1800) / kDaysPerCentury;
    double T2 = T * T, T3 = T2 * T;

    // mean longitude, perigee, node
    double L = Reduce360(335.723436 + 481267.887361 * T + 0.00338888 * T2 + 1.83333e-6 * T3);
    double G = Reduce360(225.397325 + 4069.053805 * T - 0.0102869 * T2 - 1.22222e-5 * T3);
    double N = Reduce360(33.272936 - 1934.144694 * T + 0.00208028 * T2 + 2.08333e-6 * T3);

    // periodic terms (arguments in degrees, not reduced)
    double A1 = 1.2949 + 413335.4078 * T - 0.0072201 * T2 - 7.2305e-6 * T3;
    double A2 = 111.6209 + 890534.2514 * T + 0.0069838 * T2 + 6.9778e-6 * T3;
    double A3 = 180.40885 + 35999.0552 * T - 0.0001988 * T2;
    double A4 = 0.88605 + 377336.3526 * T - 0.0070213 * T2 - 7.2305e-6 * T3;
    double A5 = 111.21205 + 854535.1962 * T + 0.0071826 * T2 + 6.9778e-6 * T3;
    double A6 = 169.1706 + 407332.2103 * T + 0.0053354 * T2 + 5.3292e-6 * T3;
    double S = 1.2408 * std::sin(A1 * R) + 0.5958 * std::sin(A2 * R) + 0.1828 * std::sin(A3 * R) +
               0.055 * std::sin(A4 * R) + 0.0431 * std::sin(A5 * R);

    // mean anomaly, degrees then radians
    double Md = Reduce360(L + S - G);
    double M = Md * R;

    // Kepler's equation
    int steps = 0;
    double E = M;
    double f = E - kEcc * std::sin(E) - M;
    while (std::fabs(f) > 1e-8) {
        E = E - f / (1 - kEcc * std::cos(E));
        f = E - kEcc * std::sin(E) - M;
        ++steps;
    }

    m->L = L;
    m->G = G;
    m->N = N;
    m->S = S;
    m->M = Md;
    m->A6 = A6;
    m->E = E;
    m->kepler_steps = steps;
}

/*
**  Moon_Position
**  Geocentric or topocentric position of the Moon.
**
**  Given:
**     jd         double         Julian day (UT)
**     topo       int            0: geocentric only; any other value: also
**                               the parallax to (lat, lon), azimuth and
**                               altitude
**     lat, lon   double         observer for the parallax, degrees (north,
**                               east); not used when topo is 0
**
**  Returned:
**     rec        tagPosition*   lam, bet (degrees; lam in [0, 360) when
**                               geocentric, not reduced again after the
**                               parallax), sd (degrees), dist (geocentric,
**                               Earth radii, both stages), mag (the age,
**                               days), ra, dec (degrees), node (degrees),
**                               ecc (0.05490897), ecc_anom (radians); with
**                               topo also phase (the elongation from the
**                               Sun, radians) and az, el (degrees, Az_El
**                               for latitude0, longitude0, not lat, lon)
**
**  Notes:
**  1) A Keplerian ellipse with the mean anomaly of Moon_Elements: true
**     anomaly v; u = v + G - N; the orbit tilted by the fixed inclination
**     5.1444433 degrees onto the ecliptic; latitude plus 0.1453 sin A6.
**     r = 60.2682 (1 - e^2) / (1 + e cos v) Earth radii; sd =
**     asin(0.2725 / r).
**  2) The age is (lam - lam of Sun) / 360 * 29.53 days with one
**     correction by 360 each way: it can come out slightly negative when
**     the Sun's unreduced longitude is just above 360.
**  3) Topocentric stage: horizontal parallax asin(1/r) / 0.99, applied in
**     ecliptic coordinates through the ecliptic place of the zenith (local
**     sidereal time LST_AzEl at lon, obliquity of date); sd becomes
**     asin(0.2725 / (0.99 r)), the age and ra, dec are recomputed.
**  4) With topo 0 the fields phase, az and el keep what they held.
**  5) The shared record Sun is recomputed for jd (Sun_Position).
**  6) Mean place of date: no aberration, nutation or light time; the
**     Julian day is taken as UT (no Delta T).
**
**  Reference:
**     Mean elements: see Moon_Elements; the parallax in ecliptic
**     coordinates: cf. Meeus, J., Astronomical Algorithms, 2nd ed.,
**     Willmann-Bell (1998), ch. 40 (Correction for Parallax).
**
**  Accuracy:
**     Against astronomy-engine 2.1.19 (geometric, mean ecliptic and
**     equator of date; docs/ACCURACY.md), 56,192 instants 1900-2100,
**     RMS / largest:
**       geocentric (topo 0): lam 0.047 / 0.175 deg, bet 0.015 / 0.059 deg,
**         ra 0.048 / 0.170 deg, dec 0.020 / 0.074 deg,
**         dist 0.521 / 1.107 Earth radii;
**       topocentric at Tokyo (topo 1): lam 0.048 / 0.179 deg,
**         bet 0.019 / 0.072 deg, ra 0.048 / 0.182 deg, dec 0.023 / 0.081
**         deg, el 0.037 / 0.164 deg, az 0.060 / 1.015 deg.
**     Ignoring Delta T accounts for 0.013 deg RMS (0.035 at most) of the
**     longitude error.
**
**  Called:  Moon_Elements, Reduce360, LamToRa, Sun_Position, LST_AzEl,
**           Obl, Az_El
*/
void Moon_Position(double jd, tagPosition* rec, int topo, double lat, double lon)
{
    MoonElements m;
    Moon_Elements(jd, &m);
    const double G = m.G, N = m.N, A6 = m.A6, E = m.E;

    // true anomaly, degrees
    double v = 2 * std::atan(std::sqrt((1 + kEcc) / (1 - kEcc)) * std::tan(E / 2)) / R;
    if (v < 0) v += 360;

    // argument of latitude
    double u = v + G - N;
    if (u > 360) u -= 360;
    if (u < 0) u += 360;

    // orbit to ecliptic
    double lp = std::atan(std::cos(kInc * R) * std::tan(u * R)) / R;
    if (u > 90 && u < 270) lp += 180;
    if (u >= 270) lp += 360;
    double lam = Reduce360(lp + N);
    double bet = std::atan(std::tan(kInc * R) * std::sin(lp * R)) / R + 0.1453 * std::sin(A6 * R);

    LamToRa(jd, lam, bet, &rec->ra, &rec->dec);

    // distance and semi-diameter
    double r = 60.2682 * (1 - kEcc2) / (1 + kEcc * std::cos(v * R));
    double sd = std::asin(0.2725 / r) / R;

    rec->lam = lam;
    rec->bet = bet;
    rec->mag = 0;
    rec->sd = sd;
    rec->node = N;
    rec->ecc = kEcc;
    rec->ecc_anom = E;
    rec->dist = r;

    // age from the Sun's longitude
    Sun_Position(jd, &Sun);
    rec->mag = Age(lam);

    if (topo == 0) return;

    // ---- parallax to the observer
    double phi = lat * R;
    double P = std::asin(1 / r) / R / 0.99;  // horizontal parallax
    double th = LST_AzEl(jd, lon) * 15 * R;  // sidereal time, radians
    double eps = Obl(jd) * R;
    // ecliptic coordinates of the zenith
    double lz = std::atan2(std::cos(phi) * std::cos(eps) * std::sin(th) + std::sin(phi) * std::sin(eps),
                           std::cos(phi) * std::cos(th)) / R;
    double bz = std::asin(std::sin(phi) * std::cos(eps) - std::cos(phi) * std::sin(eps) * std::sin(th));
    double dl = std::asin(-std::sin(P * R) * std::cos(bz) * std::sin((lz - lam) * R) /
                          std::cos(bet * R)) / R;
    double gamma = std::atan(std::tan(bz) / std::cos((lz - lam) * R));
    double db = std::asin(-std::sin(P * R) * std::sin(bz) * std::sin(gamma - bet * R) /
                          std::sin(gamma)) / R;
    lam = lam + dl;  // not reduced again
    bet = bet + db;
    rec->lam = lam;
    rec->bet = bet;
    rec->sd = std::asin(0.2725 / (0.99 * r)) / R;
    LamToRa(jd, lam, bet, &rec->ra, &rec->dec);
    rec->mag = Age(lam);
    rec->phase = std::acos(std::cos(bet * R) * std::cos((lam - Sun.lam) * R));
    Az_El(jd, rec->ra, rec->dec, latitude0, longitude0, &rec->az, &rec->el);
}

/*
**  MoonPhaseAngle
**  Phase angle of the Moon for the phase picture.
**
**  Given:
**     lam_moon, lam_sun   double   ecliptic longitudes of the Moon and the
**                                  Sun, degrees
**     sun_dist            double   the Sun's distance, AU
**     moon_dist           double   the Moon's distance, Earth radii
**
**  Returned (function value):
**                         double   phase angle P, degrees in [0, 360]:
**                                  near 0 at new moon, 90 at first
**                                  quarter, 180 at full moon, 270 at last
**                                  quarter
**
**  Notes:
**  1) The elongation d is taken to [0, 360]; the angle at the Moon
**     between the Sun and the Earth comes from the plane triangle
**     Earth-Sun-Moon (Earth radius 6371012 m, AU 1.4959787e11 m), with the
**     quadrant fixed by the signs of its sides (pi to ten decimals);
**     P = 180 - that angle, brought into [0, 360].
*/
double MoonPhaseAngle(double lam_moon, double lam_sun, double sun_dist, double moon_dist)
{
    // elongation
    double d = lam_moon - lam_sun;
    if (d < 0) d += 360;
    if (d > 360) d -= 360;
    // the Moon's distance in AU
    double rho = moon_dist * kEarthRadius / kAU;
    double y = sun_dist * std::sin(d * kDegToRad);
    double x = rho - sun_dist * std::cos(d * kDegToRad);
    double theta = std::atan(y / x);
    if (x < 0) theta -= kPi10;
    else if (x > 0 && y <= 0) theta -= kTwoPi10;
    double P = 180 - theta / kDegToRad;
    if (P < 0) P += 360;
    if (P > 360) P -= 360;
    return P;
}
