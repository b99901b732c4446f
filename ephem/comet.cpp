// Comets and other bodies on Keplerian orbits: elliptic orbits through
// Kepler's equation, parabolic orbits through Barker's equation, with the
// Gaussian vectors P, Q in equatorial coordinates of the equinox of the
// elements (Meeus, Astronomical Algorithms, ch. 33 and 34).
#include "ephem/comet.h"

#include <cmath>

#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"

tagParameter Comet;  // the program holds no elements: stays zero

namespace {
constexpr double R = kDegToRad;
constexpr double kKeplerTolerance = 1e-9;  // radians
constexpr int kKeplerPasses = 100;         // plain Newton passes before the safeguard
constexpr int kKeplerBracketSteps = 200;   // bisection halves the bracket: 2e / 2^200
constexpr double kBarkerTolerance = 1e-9;  // in s = tan(v/2)
constexpr int kBarkerPasses = 200;         // from s = W the steps shrink s by about 2/3
constexpr double kGaussDaily = 0.9856076;  // mean motion at 1 AU, degrees/day
constexpr double kBarkerScale = 82.2117;   // days: sqrt(2)/k for W of Barker's equation

// Root of E - e sin E = m (radians) by Newton steps safeguarded with
// bisection in [m - |e|, m + |e|], which always holds a root.
double KeplerBracketed(double m, double e)
{
    double lo = m - std::fabs(e), hi = m + std::fabs(e);
    double x = m;
    for (int k = 0; k < kKeplerBracketSteps; ++k) {
        double f = x - e * std::sin(x) - m;
        if (std::fabs(f) <= kKeplerTolerance) break;
        if (f > 0) hi = x; else lo = x;
        double next = x - f / (1 - e * std::cos(x));
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        x = next;
    }
    return x;
}

// Julian day of January 1, 0h, of a year: month 13 of the year before,
// without zone (Gregorian from JD 2299161).
double NewYearJD(double Y) { return JD(Y - 1, 13, 1, 0, 0, 0.0); }
}  // namespace

/*
**  Keplar
**  Kepler's equation E - e sin E = M.
**
**  Given:
**     M    double    mean anomaly, degrees
**     e    double    eccentricity, 0 <= e < 1
**
**  Returned:
**     E    double*   eccentric anomaly, degrees
**
**  Notes:
**  1) Newton's iteration from E = M, repeated while the residual of the
**     pass exceeds 1e-9 rad (at least one pass); |e| <= 1e-9 returns M.
**     Keplar(90, 0.5) is 115.7936.
**  2) From E = M Newton's iteration can wander without end for
**     eccentricities near 1 (from about 0.99, e.g. e = 0.9999 with M near
**     -28 degrees). If it has not converged after kKeplerPasses passes,
**     the root is found instead by Newton steps kept inside the bracket
**     [M - e, M + e] (|E - M| = e |sin E|), bisecting whenever a step
**     leaves it; this always ends.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 30 (Equation of Kepler).
*/
void Keplar(double M, double e, double* E)
{
    if (!(std::fabs(e) > 1e-9)) {
        *E = M;  // a circle: E = M unchanged
        return;
    }
    double m = M * R;
    double x = m;
    double f;
    int pass = 0;
    do {
        f = x - e * std::sin(x) - m;
        x = x - f / (1 - e * std::cos(x));
    } while (std::fabs(f) > kKeplerTolerance && ++pass < kKeplerPasses);
    if (std::fabs(f) > kKeplerTolerance) x = KeplerBracketed(m, e);
    *E = x / R;
}

/*
**  Comet_Position
**  Geocentric position of a comet from its orbital elements.
**
**  Given:
**     jd         double         Julian day (UT)
**     elements   tagParameter   orbital elements (by value); the integer
**                               part of e selects the orbit: 1 parabola
**                               (uses q), otherwise ellipse (uses a)
**
**  Returned:
**     rec        tagPosition*   ra, dec (equinox of the elements, degrees),
**                               delta (geocentric, AU), x, y, z (geocentric
**                               equatorial, equinox of the elements, AU),
**                               mag (H + 5 log10 delta + 2.5 n log10 r),
**                               elong and phase (degrees), dist
**                               (heliocentric, AU), lam, bet (RaToLam with
**                               the obliquity of jd)
**
**  Notes:
**  1) Gaussian vectors P, Q rotated to the equator by the obliquity of
**     January 1, 0h, of the equinox year. Ellipse: mean anomaly with the
**     daily motion 0.9856076 / a^1.5 degrees, Keplar. Parabola: Barker's
**     equation s + s^3/3 = W, W = (jd - T) / q^1.5 / 82.2117, by Newton's
**     iteration (at most 200 passes, to 1e-9 in s = tan(v/2)).
**  2) The Sun of the equinox of the elements comes from Solar_Geo, which
**     rewrites the shared record Sun. Azimuth and altitude are not
**     computed. Hyperbolic elements (e >= 2) are outside the routine's
**     domain. No panel calls it; the program holds no comet elements.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 33 (Elliptic Motion: the Gaussian vectors) and ch. 34 (Parabolic
**     Motion: Barker's equation).
**
**  Called:  Obl, JD, Keplar, Solar_Geo, AcosClamped, RaToLam
*/
// cppcheck-suppress passedByValue ; the elements are passed by value by design
void Comet_Position(double jd, tagPosition* rec, tagParameter elements)
{
    const tagParameter& p = elements;
    // obliquity at the start of the equinox year
    double eps = Obl(NewYearJD(p.equinox)) * R;
    double ce = std::cos(eps), se = std::sin(eps);

    // Gaussian vectors, ecliptic then equatorial
    double w = p.peri * R, N = p.asc_node * R, inc = p.inc * R;
    double cw = std::cos(w), sw = std::sin(w), cN = std::cos(N), sN = std::sin(N);
    double ci = std::cos(inc), si = std::sin(inc);
    double Pxe = cw * cN - sw * sN * ci;
    double Pye = sw * cN * ci + cw * sN;
    double Pze = sw * si;
    double Qxe = -sw * cN - cw * sN * ci;
    double Qye = cw * cN * ci - sw * sN;
    double Qze = cw * si;
    double Px = Pxe, Py = Pye * ce - Pze * se, Pz = Pze * ce + Pye * se;
    double Qx = Qxe, Qy = Qye * ce - Qze * se, Qz = Qze * ce + Qye * se;

    // heliocentric position
    double x, y, z;
    if (std::trunc(p.e) == 1) {
        // parabola: Barker's equation s + s^3/3 = W by Newton's iteration
        double q = p.q;
        double W = (jd - p.peri_jd) / (q * std::sqrt(q)) / kBarkerScale;
        // (capped: for absurd W, or a NaN from q = 0, two values never meet)
        double s = W, s1 = W;
        for (int k = 0; k < kBarkerPasses; ++k) {
            s1 = (W + (2.0 / 3.0) * s * s * s) / (1 + s * s);
            if (std::fabs(s1 - s) < kBarkerTolerance) break;
            s = s1;
        }
        s = s1;
        x = q * (Px * (1 - s * s) + 2 * Qx * s);
        y = q * (Py * (1 - s * s) + 2 * Qy * s);
        z = q * (Pz * (1 - s * s) + 2 * Qz * s);
    } else {
        // ellipse: Kepler's equation
        double a = p.a, e = p.e;
        double M = kGaussDaily / (a * std::sqrt(a)) * (jd - p.peri_jd);
        double E;
        Keplar(M, e, &E);
        double cE = std::cos(E * R), sE = std::sin(E * R);
        double b = a * std::sqrt(1 - e * e);
        x = a * (cE - e) * Px + b * sE * Qx;
        y = a * (cE - e) * Py + b * sE * Qy;
        z = a * (cE - e) * Pz + b * sE * Qz;
    }
    double r = std::sqrt(x * x + y * y + z * z);

    // the Sun, equinox of the elements
    double Xs, Ys, Zs;
    Solar_Geo(jd, p.equinox, &Xs, &Ys, &Zs);
    double Rs = std::sqrt(Xs * Xs + Ys * Ys + Zs * Zs);

    // geocentric
    double xi = x + Xs, eta = y + Ys, zeta = z + Zs;
    double Delta = std::sqrt(xi * xi + eta * eta + zeta * zeta);
    double ra = std::atan2(eta, xi) / R;
    if (ra < 0) ra += 360;
    double dec = std::asin(zeta / Delta) / R;

    // elongation and phase angle
    double elong = AcosClamped((Rs * Rs + Delta * Delta - r * r) / (2 * Rs * Delta)) / R;
    double phase = AcosClamped((Delta * Delta + r * r - Rs * Rs) / (2 * r * Delta)) / R;

    rec->ra = ra;
    rec->dec = dec;
    rec->delta = Delta;
    rec->x = xi;
    rec->y = eta;
    rec->z = zeta;
    rec->mag = p.abs_mag + 5 * std::log10(Delta) + 2.5 * p.mag_slope * std::log10(r);
    rec->elong = elong;
    rec->phase = phase;
    rec->dist = r;
    RaToLam(jd, ra, dec, &rec->lam, &rec->bet);
}
