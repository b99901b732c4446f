// The Sun: a short series in the mean elements of the apparent orbit
// referred to 1900 (mean longitude, perigee and eccentricity) with Newcomb's
// equation of the centre, without nutation or aberration; and the Sun's
// equatorial coordinates referred to the equinox of a given year.
#include "ephem/sun.h"

#include <cmath>

#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

/*
**  Sun_Position
**  Geocentric position of the Sun.
**
**  Given:
**     jd    double         Julian day (UT)
**
**  Returned:
**     rec   tagPosition*   lam (degrees, not reduced after the equation of
**                          the centre: up to about 2 degrees outside
**                          [0, 360) near L = 0), bet = 0, sd (degrees),
**                          x, y (geocentric ecliptic, AU), z = 0, dist (AU),
**                          ra, dec (degrees, LamToRa), az, el (degrees,
**                          Az_El for latitude0, longitude0)
**
**  Notes:
**  1) T counts Julian centuries from 2415021.0 (1900 January 1, 12h).
**     Mean longitude L = 280.6824 + 36000.769325 T + 0.000722222 T^2,
**     perigee w = 281.2206 + 1.717697 T + ..., both reduced; eccentricity
**     e = 0.0167498 - 4.258e-5 T - 1.37e-7 T^2; M = L - w (not reduced).
**     These count from one day after Newcomb's epoch 1900 January 0.5:
**     the constant of L exceeds his by about a day's motion.
**  2) lam = L + (1.91946 - 0.00478889 T - 1.44444e-5 T^2) sin M +
**     0.0200939 sin 2M; r = 1.00000129 (1 - e^2) / (1 + e cos(lam - w));
**     sd = 0.2666 / r.
**  3) Geometric mean place of date: no aberration, nutation or light time;
**     the Julian day is taken as UT (no Delta T).
**  4) Only the fields above are written: rise_time and set_time, which
**     the main panel keeps in the record Sun, survive later calls.
**
**  Reference:
**     Newcomb, S., Tables of the Motion of the Earth on its Axis and
**     around the Sun, Astronomical Papers of the American Ephemeris VI,
**     part I (1895): the equation of the centre; the short form as in
**     Meeus, J., Astronomical Formulae for Calculators, 4th ed.,
**     Willmann-Bell (1988), the chapter on solar coordinates.
**
**  Accuracy:
**     Against astronomy-engine 2.1.19 (geometric, mean ecliptic and
**     equator of date; docs/ACCURACY.md), 56,192 instants 1900-2100,
**     RMS / largest:
**       lam 0.0032 / 0.0102 deg, bet 0.0001 / 0.0003 deg,
**       ra 0.0032 / 0.0107 deg, dec 0.0009 / 0.0036 deg,
**       dist 0.000028 / 0.000080 AU,
**       el 0.0024 / 0.0093 deg, az 0.0042 / 0.0397 deg (Tokyo).
**
**  Called:  Reduce360, LamToRa, Az_El
*/
void Sun_Position(double jd, tagPosition* rec)
{
    const double R = kDegToRad;
    double T = (jd - kJd1900) / kDaysPerCentury;
    // mean longitude, longitude of perigee, eccentricity
    double L = Reduce360(280.6824 + 36000.769325 * T + 0.000722222 * T * T);
    double w = Reduce360(281.2206 + 1.717697 * T + 0.000483333 * T * T + 2.77777e-6 * T * T * T);
    double e = 0.0167498 - 4.258e-5 * T - 1.37e-7 * T * T;
    // mean anomaly, not reduced
    double M = L - w;
    // equation of centre
    double lam = L + 1.91946 * std::sin(M * R) + 0.0200939 * std::sin(2 * M * R) -
                 0.00478889 * T * std::sin(M * R) - 1.44444e-5 * T * T * std::sin(M * R);
    // radius vector and semi-diameter
    double r = 1.00000129 * (1 - e * e) / (1 + e * std::cos((lam - w) * R));
    rec->lam = lam;
    rec->bet = 0;
    rec->sd = 0.2666 / r;
    rec->x = r * std::cos(lam * R);
    rec->y = r * std::sin(lam * R);
    rec->z = 0;
    rec->dist = r;
    LamToRa(jd, lam, 0, &rec->ra, &rec->dec);
    Az_El(jd, rec->ra, rec->dec, latitude0, longitude0, &rec->az, &rec->el);
}

/*
**  Solar_Geo
**  Geocentric equatorial rectangular coordinates of the Sun, referred to
**  the mean equinox of a given year.
**
**  Given:
**     jd        double    Julian day (UT)
**     year      double    year of the equinox (the comet's elements)
**
**  Returned:
**     x, y, z   double*   AU, mean equator and equinox of year
**
**  Notes:
**  1) The Sun of date (Sun_Position on the shared record Sun, which is
**     rewritten) turned equatorial with the obliquity of jd, then rotated
**     by the precession angles from the date back to EpochJD(year):
**     t = (EpochJD(year) - jd) / 36525, T0 of the equinox year.
**  2) jd equal to EpochJD(year) returns the coordinates of date unchanged.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 21 (Precession) and ch. 26 (Rectangular Coordinates of the Sun).
**
**  Accuracy:
**     That of Sun_Position (0.0032 deg RMS in longitude, 0.000028 AU in
**     distance); not measured apart.
**
**  Called:  EpochJD, PrecessionAngles, Sun_Position, Obl
*/
void Solar_Geo(double jd, double year, double* x, double* y, double* z)
{
    const double R = kDegToRad;
    double JD0 = EpochJD(year);
    double t = (JD0 - jd) / kDaysPerCentury;  // from the date back to the equinox
    double T0 = (JD0 - kJd2000) / kDaysPerCentury;
    double zeta, zz, th;
    PrecessionAngles(T0, t, &zeta, &zz, &th);
    zeta *= R;
    zz *= R;
    th *= R;
    double P11 = std::cos(zeta) * std::cos(zz) * std::cos(th) - std::sin(zeta) * std::sin(zz);
    double P12 = -std::sin(zeta) * std::cos(zz) * std::cos(th) - std::cos(zeta) * std::sin(zz);
    double P13 = -std::cos(zz) * std::sin(th);
    double P21 = std::cos(zeta) * std::sin(zz) * std::cos(th) + std::sin(zeta) * std::cos(zz);
    double P22 = -std::sin(zeta) * std::sin(zz) * std::cos(th) + std::cos(zeta) * std::cos(zz);
    double P23 = -std::sin(zz) * std::sin(th);
    double P31 = std::cos(zeta) * std::sin(th);
    double P32 = -std::sin(zeta) * std::sin(th);
    double P33 = std::cos(th);
    Sun_Position(jd, &Sun);
    double eps = Obl(jd) * R;
    double lam = Sun.lam * R, Rs = Sun.dist;
    double X = Rs * std::cos(lam);
    double Y = Rs * std::sin(lam) * std::cos(eps);
    double Z = Rs * std::sin(lam) * std::sin(eps);
    *x = P11 * X + P12 * Y + P13 * Z;
    *y = P21 * X + P22 * Y + P23 * Z;
    *z = P31 * X + P32 * Y + P33 * Z;
}
