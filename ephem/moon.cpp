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
}  // namespace

// Moon_Elements
//   Given:    jd  Julian day (UT)
//   Returned: m   mean longitude L, perigee G, node N (reduced), the sum S
//                 of the five periodic terms, the mean anomaly M (reduced,
//                 degrees), the latitude argument A6, the eccentric anomaly E
//                 (radians) and the number of Newton corrections made
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

// Moon_Position
//   Given:    jd    Julian day (UT)
//             topo  0: geocentric only; otherwise parallax to (lat, lon) too
//             lat, lon  observer for the parallax, degrees (north, east)
//   Returned: rec   lam, bet, sd, dist (Earth radii), mag (age, days), ra, dec,
//                   node, ecc, ecc_anom; with topo also phase (radians), az, el
//                   (az and el for latitude0, longitude0)
//   Side effect: the shared record Sun is recomputed for jd.
//   Called:   Moon_Elements, LamToRa, Sun_Position, Az_El
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
