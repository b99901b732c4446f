// The planets Mercury to Saturn: classical mean orbital elements as cubics in
// time (1900, mean equinox of date), the equation of the centre to the third
// power of the eccentricity, heliocentric to geocentric reduction with the
// Sun's coordinates, and for Jupiter and Saturn the long-period terms and
// tabulated perturbations of their mutual great inequality (interpolated
// bilinearly in two arguments). No light-time, aberration or nutation.
#include "ephem/planet.h"

#include <cmath>

#include "ephem/planet_tables.h"
#include "ephem/sun.h"
#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/observer.h"
#include "timecal/sexagesimal.h"

namespace {
using namespace PlanetTables;

constexpr double R = kDegToRad;
constexpr double kJdYear0 = 1721057.0;  // origin of the grid arguments
constexpr double kRaWrap = 359.5;       // right ascensions above are stored as 0

// sin of a long-period argument 360 (t - t0) / period, degrees.
double LongSin(double t, double t0, double period) { return std::sin(360 * (t - t0) / period * R); }

bool IsPlanet(int code)
{
    return code == kMercury || code == kVenus || code == kMars || code == kJupiter ||
           code == kSaturn;
}
}  // namespace

/*
**  Planet_Grid
**  Bilinear interpolation in a perturbation grid of Jupiter or Saturn.
**
**  Given:
**     g      double[37][37]   grid, [i][j] at B = 10 i, A = 10 j degrees
**     A, B   double           arguments, degrees in [0, 360]
**
**  Returned (function value):
**            double           the interpolate, first along A in rows i and
**                             i + 1, then along B, in the grid's units
**
**  Notes:
**  1) An argument that the reduction rounds up to 360 itself reads the
**     last cell at its far edge (the last column and row repeat the first)
**     instead of running past the table.
*/
double Planet_Grid(const double g[37][37], double A, double B)
{
    int j = static_cast<int>(A / 10);
    int i = static_cast<int>(B / 10);
    if (j > 35) j = 35;
    if (i > 35) i = 35;
    double fa = A - 10 * j;
    double fb = B - 10 * i;
    double r0 = g[i][j] + (g[i][j + 1] - g[i][j]) * fa / 10;
    double r1 = g[i + 1][j] + (g[i + 1][j + 1] - g[i + 1][j]) * fa / 10;
    return r0 + (r1 - r0) * fb / 10;
}

/*
**  Planet_Terms
**  Perturbations of the elements of Jupiter and Saturn.
**
**  Given:
**     code   int            planet code (5 Jupiter, 6 Saturn; any other
**                           gets all zeros)
**     jd     double         Julian day (UT)
**
**  Returned:
**     p      PlanetTerms*   long-period terms dL1, dP1, dphi1 (and
**                           Saturn's da1), grid terms dL2, dP2, dphi2 (and
**                           Saturn's da2), each rounded to 0.01 degree
**                           (0.001 AU for the axis), halves away from zero
**                           (Digit2, Digit3); phi0, degrees (e = sin phi)
**
**  Notes:
**  1) t = (T + 19) / 10 counts millennia from the year 0. The long-period
**     terms are those of the great inequality, with periods of 0.925
**     (Jupiter) and 0.95 (Saturn) millennia.
**  2) The grid arguments are A = (jd - 1721057.0) * 0.033459 + 86.1,
**     Saturn's mean longitude, and B = (jd - 1721057.0) * 0.04963 + 89.1,
**     Jupiter's less Saturn's, both reduced.
**  3) Saturn's grids hold their values +50 (the axis +50 thousandths of an
**     AU), which the -0.5 (-0.05) of its long-period terms removes.
**
**  Reference:
**     The grids tabulate the periodic terms of the mutual perturbations of
**     Jupiter and Saturn in Meeus, J., Astronomical Formulae for
**     Calculators, 4th ed., Willmann-Bell (1988), the chapter on the
**     planets (those in the two arguments above, at nu = 0.3); see
**     ephem/perturbation_grids.cpp.
**
**  Accuracy:
**     Jupiter's heliocentric longitude against astronomy-engine 2.1.19
**     (docs/ACCURACY.md), 1900-2100: 0.0279 deg RMS, 0.0657 at most with
**     the grids, 0.0593 / 0.1318 with all-zero grids; Saturn's radius
**     0.0025 / 0.0079 AU with the grids, 0.0140 / 0.0265 without. Saturn's
**     longitude keeps a mean error of -0.147 deg from its long-period term.
**
**  Called:  Reduce360, Planet_Grid, Digit2, Digit3
*/
void Planet_Terms(int code, double jd, PlanetTerms* p)
{
    *p = PlanetTerms{};
    if (code != kJupiter && code != kSaturn) return;
    double T = (jd - kJd1900) / kDaysPerCentury;
    double t = (T + 19) / 10;
    // grid arguments
    double A = Reduce360((jd - kJdYear0) * 0.033459 + 86.1);
    double B = Reduce360((jd - kJdYear0) * 0.04963 + 89.1);
    if (code == kJupiter) {
        p->dL1 = Digit2((0.42 - 0.075 * t + 0.015 * t * t - 0.003 * t * t * t) * LongSin(t, 0.62, 0.925));
        p->dP1 = Digit2(0.02 * LongSin(t, -0.1, 0.925));
        p->dphi1 = Digit2(0.03 * LongSin(t, -0.36, 0.925));
        p->dL2 = Digit2(Planet_Grid(Jup_L8, A, B) / 100);
        p->dP2 = Digit2(Planet_Grid(Jup_Ps8, A, B) / 100);
        p->dphi2 = Digit2(Planet_Grid(Jup_Ph8, A, B) / 100);
        p->phi0 = 2.58 + 0.1 * t;
    } else {
        p->dL1 = Digit2((0.88 - 0.0633 * t + 0.03 * t * t - 0.0006 * t * t * t) * LongSin(t, 0.145, 0.95) - 0.5);
        p->dP1 = Digit2((0.1 - 0.005 * t) * LongSin(t, 0.54, 0.95) - 0.5);
        p->dphi1 = Digit2((0.1 - 0.005 * t) * LongSin(t, 0.32, 0.95) - 0.5);
        p->da1 = Digit3((0.004 - 0.0005 * t) * LongSin(t, 0.35, 0.95) - 0.05);
        p->dL2 = Digit2(Planet_Grid(Sat_L8, A, B) / 100);
        p->dP2 = Digit2(Planet_Grid(Sat_Ps8, A, B) / 100);
        p->dphi2 = Digit2(Planet_Grid(Sat_Ph8, A, B) / 100);
        p->da2 = Digit3(Planet_Grid(Sat_Ax8, A, B) / 1000);
        p->phi0 = 3.56 - 0.175 * t - 0.005 * t * t;
    }
}

/*
**  Planet_Elements
**  The orbital elements of a planet at a date.
**
**  Given:
**     code   int                planet code 1, 2, 4, 5 or 6
**     jd     double             Julian day (UT)
**
**  Returned:
**     el     PlanetElements*    L, w, Om (degrees) reduced to [0, 360),
**                               then L and w perturbed for Jupiter and
**                               Saturn (not reduced again); e; a (AU);
**                               i (degrees, not reduced)
**
**  Notes:
**  1) Each element is the cubic c0 + c1 T + c2 T^2 + c3 T^3 of its table
**     row, T in Julian centuries from 2415021.0, mean equinox of date.
**  2) Jupiter and Saturn: L + dL1 + dL2, w + (dP2 + dP1) / sin phi0,
**     e = sin(phi0 + dphi1 + dphi2); Saturn's a + da1 + da2.
**
**  Reference:
**     The classical mean elements of the planets for the mean equinox of
**     date, epoch 1900, as tabulated in Meeus, J., Astronomical Formulae
**     for Calculators, 4th ed., Willmann-Bell (1988), the chapter on the
**     planets; the polynomials here count T from 2415021.0 (1900 January
**     1, 12h) rather than the book's 1900 January 0.5.
**
**  Called:  Planet_Terms, Reduce360
*/
void Planet_Elements(int code, double jd, PlanetElements* el)
{
    const int k = code - 1;
    double T = (jd - kJd1900) / kDaysPerCentury;
    PlanetTerms p;
    Planet_Terms(code, jd, &p);
    bool great = (code == kJupiter || code == kSaturn);
    el->L = Reduce360(Eval(Ml[k], T));
    if (great) el->L = el->L + p.dL1 + p.dL2;
    el->w = Reduce360(Eval(Pnl[k], T));
    if (great) el->w = el->w + (p.dP2 + p.dP1) / std::sin(p.phi0 * R);
    el->e = Eval(Ec[k], T);
    if (great) el->e = std::sin((p.phi0 + p.dphi1 + p.dphi2) * R);
    el->a = Ax[k].c0;
    if (code == kSaturn) el->a = el->a + p.da1 + p.da2;
    el->Om = Reduce360(Eval(Omg[k], T));
    el->i = Eval(Inc[k], T);
}

/*
**  Planet_Position
**  Geocentric position of a planet.
**
**  Given:
**     code   int            1 Mercury, 2 Venus, 4 Mars, 5 Jupiter, 6 Saturn
**     jd     double         Julian day (UT)
**
**  Returned:
**     rec    tagPosition*   lam, bet (geocentric ecliptic, degrees), dist
**                           (geocentric, AU), x, y, z (heliocentric
**                           ecliptic, AU), mag, sd (degrees), axis (AU),
**                           mlong, hlong (degrees), ra, dec (degrees; a
**                           right ascension above 359.5 is stored as 0),
**                           az, el (degrees, Az_El for latitude0,
**                           longitude0)
**
**  Notes:
**  1) The elements of Planet_Elements; the true anomaly by the equation of
**     the centre to e^3, v = M + (2e - e^3/4) sin M + (5/4) e^2 sin 2M +
**     (13/12) e^3 sin 3M; heliocentric coordinates in the ecliptic of
**     date; geocentric by adding the Sun's geocentric x, y, z.
**  2) Geometric mean place of date: no light time, aberration or
**     nutation; the Julian day is taken as UT (no Delta T).
**  3) The phase angle comes from the distances in the plane of the
**     ecliptic; the magnitudes follow Mueller's formulae. Saturn's ring
**     term takes the sine of l + 38 - 1000 t as a number of radians, as
**     the formula is written.
**  4) The shared record Sun is recomputed for jd. Any other code names no
**     planet: the record is left as it was.
**
**  Reference:
**     Elements and perturbations: Planet_Elements, Planet_Terms;
**     magnitudes: cf. Meeus, J., Astronomical Algorithms, 2nd ed.,
**     Willmann-Bell (1998), ch. 41.
**
**  Accuracy:
**     Against astronomy-engine 2.1.19 (geometric, mean ecliptic and
**     equator of date; docs/ACCURACY.md), 56,192 instants 1900-2100,
**     RMS / largest, degrees (dist in AU):
**                 lam              bet              dec              dist
**       Mercury   0.0259 / 0.1117  0.0030 / 0.0120  0.0097 / 0.0538   0.00041 / 0.00109
**       Venus     0.0044 / 0.0328  0.0012 / 0.0065  0.0018 / 0.0159   0.00006 / 0.00020
**       Mars      0.0164 / 0.1202  0.0006 / 0.0054  0.0044 / 0.0254   0.00020 / 0.00074
**       Jupiter   0.0282 / 0.0812  0.0013 / 0.0040  0.0074 / 0.0230   0.00082 / 0.00324
**       Saturn    0.1528 / 0.2909  0.0057 / 0.0142  0.0437 / 0.0932   0.00312 / 0.00930
**     ra: RMS 0.0272 (Mercury), 0.0132, 0.0195, 0.0308, 0.1528 (Saturn);
**     the largest, about 0.5, come from the 0 stored above 359.5; without
**     those instants 0.1025, 0.0299, 0.1338, 0.0885, 0.2948.
**
**  Called:  Planet_Elements, Sun_Position, AcosClamped, LamToRa, Az_El
*/
void Planet_Position(int code, double jd, tagPosition* rec)
{
    if (!IsPlanet(code)) return;
    double T = (jd - kJd1900) / kDaysPerCentury;
    double t = (T + 19) / 10;
    PlanetElements o;
    Planet_Elements(code, jd, &o);
    double e = o.e;

    // mean anomaly
    double M = o.L - o.w;
    if (M < 0) M += 360;

    // true anomaly by the equation of the centre
    double Mr = M * R;
    double v = M + ((2 * e - e * e * e / 4) * std::sin(Mr) + 1.25 * e * e * std::sin(2 * Mr) +
                    (13.0 / 12.0) * e * e * e * std::sin(3 * Mr)) / R;

    // argument of latitude
    double u = v + o.w - o.Om;
    if (u > 360) u -= 360;
    if (u < 0) u += 360;

    // heliocentric longitude
    double ci = std::cos(o.i * R);
    double lp = std::atan(ci * std::tan(u * R)) / R;
    if (u > 90 && u < 270) lp += 180;
    if (u >= 270) lp += 360;
    double l = lp + o.Om;
    if (l > 360) l -= 360;

    // radius vector
    double r = o.a * (1 - e * e) / (1 + e * std::cos(v * R));

    // heliocentric ecliptic coordinates
    double cu = std::cos(u * R), su = std::sin(u * R);
    double cO = std::cos(o.Om * R), sO = std::sin(o.Om * R);
    double x = r * (cu * cO - su * sO * ci);
    double y = r * (cu * sO + su * cO * ci);
    double z = r * su * std::sin(o.i * R);

    // geocentric, with the Sun's geocentric coordinates
    Sun_Position(jd, &Sun);
    double X = x + Sun.x, Y = y + Sun.y, Z = z + Sun.z;
    double Delta = std::sqrt(X * X + Y * Y + Z * Z);
    double lam = std::atan2(Y, X) / R;
    if (lam < 0) lam += 360;
    double bet = std::asin(Z / Delta) / R;

    // phase angle, from the distances in the plane of the ecliptic
    double d = l - Sun.lam;
    if (d < 0) d += 360;
    double Rs = Sun.dist;
    double D1 = std::sqrt(Rs * Rs + r * r + 2 * r * Rs * std::cos(d * R));
    double psi = AcosClamped((D1 * D1 + r * r - Rs * Rs) / (2 * r * D1)) / R;

    // visual magnitude
    double g = 5 * std::log10(r * D1);
    double mag = 0;
    switch (code) {
    case kMercury:
        mag = 1.16 + g + 0.02823 * std::fabs(psi - 50) + 0.0001023 * (psi - 50) * (psi - 50);
        break;
    case kVenus:
        mag = -4.0 + g + 0.01322 * psi + 4.247e-07 * psi * psi * psi;
        break;
    case kMars:
        mag = -1.3 + g + 0.01486 * psi;
        break;
    case kJupiter:
        mag = -8.93 + g;
        break;
    default:  // Saturn, with its rings
        mag = -8.68 + g - 1.1 * std::fabs(std::sin(l + 38 - 1000 * t));
        break;
    }

    rec->lam = lam;
    rec->bet = bet;
    rec->dist = Delta;
    rec->x = x;
    rec->y = y;
    rec->z = z;
    rec->mag = mag;
    rec->sd = SemiDiameter1AU[code] / Delta;
    rec->axis = o.a;
    rec->mlong = o.L;
    rec->hlong = l;

    double ra, dec;
    LamToRa(jd, lam, bet, &ra, &dec);
    if (ra > kRaWrap) ra = 0;
    rec->ra = ra;
    rec->dec = dec;
    Az_El(jd, rec->ra, rec->dec, latitude0, longitude0, &rec->az, &rec->el);
}
