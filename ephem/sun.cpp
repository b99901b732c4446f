// The Sun: a short series in the mean elements of the apparent orbit
// referred to 1900 (Newcomb's mean longitude, perigee and eccentricity),
// without nutation or aberration.
#include "ephem/sun.h"

#include <cmath>

#include "ephem/transforms.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

// Sun_Position
//   Given:    jd   Julian day (UT)
//   Returned: rec  lam (not reduced after the equation of centre), bet = 0,
//                  sd, x, y, z = 0 (geocentric ecliptic, AU), dist (AU),
//                  ra, dec, az, el (observer latitude0, longitude0)
//   Other fields are left alone (rise_time and set_time survive).
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

// Solar_Geo
//   Given:    jd    Julian day (UT); year  equinox year
//   Returned: x, y, z  geocentric equatorial coordinates of the Sun, AU,
//                      mean equinox of year
//   Side effect: rewrites the shared record Sun.
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
