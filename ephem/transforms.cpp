// Coordinate transforms: ecliptic, equatorial, horizontal; precession;
// position angle and separation.
#include "ephem/transforms.h"

#include <cmath>

#include "timecal/constants.h"
#include "timecal/julian.h"

namespace {
constexpr double R = kDegToRad;
}

/*
**  AcosClamped
**  Arccosine of a cosine that rounding may push just outside [-1, 1].
**
**  Given:
**     c    double   cosine
**
**  Returned (function value):
**          double   acos of c held inside [-1, 1], radians in [0, pi]
*/
double AcosClamped(double c)
{
    if (c > 1) c = 1;
    if (c < -1) c = -1;
    return std::acos(c);
}

/*
**  LamToRa
**  Ecliptic to equatorial coordinates of date.
**
**  Given:
**     jd    double    Julian day (UT), for the obliquity (Obl)
**     lam   double    ecliptic longitude, degrees
**     bet   double    ecliptic latitude, degrees
**
**  Returned:
**     ra    double*   right ascension, degrees in [0, 360)
**     dec   double*   declination, degrees
**
**  Notes:
**  1) ra = atan2(sin l cos b cos e - sin b sin e, cos l cos b), 360 added
**     when negative; dec = asin(sin b cos e + cos b sin e sin l).
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 13 (Transformation of Coordinates).
**
**  Called:  Obl
*/
void LamToRa(double jd, double lam, double bet, double* ra, double* dec)
{
    double e = Obl(jd) * R;
    double l = lam * R, b = bet * R;
    double a = std::atan2(std::sin(l) * std::cos(b) * std::cos(e) - std::sin(b) * std::sin(e),
                          std::cos(l) * std::cos(b)) / R;
    if (a < 0) a += 360;
    *ra = a;
    *dec = std::asin(std::sin(b) * std::cos(e) + std::cos(b) * std::sin(e) * std::sin(l)) / R;
}

/*
**  RaToLam
**  Equatorial to ecliptic coordinates of date.
**
**  Given:
**     jd    double    Julian day (UT), for the obliquity (Obl)
**     ra    double    right ascension, degrees
**     dec   double    declination, degrees
**
**  Returned:
**     lam   double*   ecliptic longitude, degrees in [0, 360)
**     bet   double*   ecliptic latitude, degrees
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 13 (Transformation of Coordinates).
**
**  Called:  Obl
*/
void RaToLam(double jd, double ra, double dec, double* lam, double* bet)
{
    double e = Obl(jd) * R;
    double a = ra * R, d = dec * R;
    double l = std::atan2(std::sin(d) * std::sin(e) + std::cos(d) * std::cos(e) * std::sin(a),
                          std::cos(a) * std::cos(d)) / R;
    if (l < 0) l += 360;
    *lam = l;
    *bet = std::asin(std::sin(d) * std::cos(e) - std::cos(d) * std::sin(e) * std::sin(a)) / R;
}

/*
**  Az_El
**  Equatorial to horizontal coordinates.
**
**  Given:
**     jd         double    Julian day (UT)
**     ra, dec    double    right ascension and declination, degrees
**     lat, lon   double    observer's latitude (north +) and longitude
**                          (east +), degrees
**
**  Returned:
**     az         double*   azimuth from the south, positive toward the
**                          west, degrees in [-180, 180] (atan2, not reduced)
**     el         double*   altitude, degrees (no refraction)
**
**  Notes:
**  1) Local mean sidereal time theta (LST_AzEl, from 1900 January 0.5),
**     hour angle H = 15 theta - ra; az = atan2(sin H, sin lat cos H -
**     cos lat tan dec); el = asin(sin dec sin lat + cos dec cos lat cos H).
**  2) A body on the meridian south of the zenith gives az 0, north of it
**     +-180; dec = +90 gives az +-180 and el = lat.
**  3) Computed by the parts below (Az_El_Site, Az_El_Hour, Az_El_Dec,
**     Az_El_Parts), step for step: the sky view's grids use the parts.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 13 (Transformation of Coordinates: azimuth from the south).
**
**  Called:  LST_AzEl
*/
void Az_El(double jd, double ra, double dec, double lat, double lon, double* az, double* el)
{
    const AzElSite site = Az_El_Site(jd, lat, lon);
    Az_El_Parts(site, Az_El_Hour(site, ra), Az_El_Dec(dec), az, el);
}

/*
**  Az_El_Site
**  The part of Az_El that depends on the instant and the place only.
**
**  Given:
**     jd         double   Julian day (UT)
**     lat, lon   double   observer's latitude and east longitude, degrees
**
**  Returned (function value):
**                AzElSite   theta, the local sidereal time (LST_AzEl),
**                           hours; the sine and cosine of the latitude
*/
AzElSite Az_El_Site(double jd, double lat, double lon)
{
    AzElSite site;
    site.theta = LST_AzEl(jd, lon);
    double phi = lat * R;
    site.sin_phi = std::sin(phi);
    site.cos_phi = std::cos(phi);
    return site;
}

/*
**  Az_El_Hour
**  The hour angle of a right ascension at a site, by its sine and cosine.
**
**  Given:
**     site   AzElSite   from Az_El_Site
**     ra     double     right ascension, degrees
**
**  Returned (function value):
**            AzElHour   sin and cos of H = 15 theta - ra
*/
AzElHour Az_El_Hour(const AzElSite& site, double ra)
{
    double H = (15 * site.theta - ra) * R;
    return AzElHour{std::sin(H), std::cos(H)};
}

/*
**  Az_El_Dec
**  A declination by its sine, cosine and tangent.
**
**  Given:
**     dec   double   declination, degrees
**
**  Returned (function value):
**           AzElDec   sin, cos and tan of dec
*/
AzElDec Az_El_Dec(double dec)
{
    double delta = dec * R;
    return AzElDec{std::sin(delta), std::cos(delta), std::tan(delta)};
}

/*
**  Az_El_Parts, Az_El_Azimuth, Az_El_Altitude
**  Azimuth and altitude from the parts of Az_El.
**
**  Given:
**     site, hour, dec   from Az_El_Site, Az_El_Hour, Az_El_Dec
**
**  Returned:
**     az   double*   azimuth from the south, + west, degrees (Az_El_Parts;
**                    Az_El_Azimuth returns it as the function value)
**     el   double*   altitude, degrees (Az_El_Parts; Az_El_Altitude
**                    returns it)
**
**  Notes:
**  1) The same operations in the same order as Az_El: the results are bit
**     for bit Az_El's for the same jd, ra, dec, lat, lon.
*/
void Az_El_Parts(const AzElSite& site, const AzElHour& hour, const AzElDec& dec, double* az,
                 double* el)
{
    *az = Az_El_Azimuth(site, hour, dec);
    *el = Az_El_Altitude(site, hour, dec);
}

/*
**  EpochJD
**  Julian day of 12h on January 1 of a year.
**
**  Given:
**     year   double   year (Gregorian from 1582 October 15)
**
**  Returned (function value):
**            double   JD of month 13, day 1, 12h of the year before, with
**                     no zone: 2415021.0 for 1900, 2451545.0 for 2000
**
**  Notes:
**  1) The epoch of Precession and Solar_Geo.
**
**  Called:  JD
*/
double EpochJD(double year)
{
    // 12h on January 1, that is month 13 of the year before, without zone
    return JD(year - 1, 13, 1, 12, 0, 0.0);
}

/*
**  PrecessionAngles
**  The equatorial precession angles between two epochs.
**
**  Given:
**     T0      double    starting epoch, Julian centuries from J2000.0
**     t       double    interval, Julian centuries (negative backward)
**
**  Returned:
**     zeta    double*   zeta_A, degrees
**     z       double*   z_A, degrees
**     theta   double*   theta_A, degrees
**
**  Reference:
**     Lieske, J.H., Lederle, T., Fricke, W., Morando, B., "Expressions for
**     the precession quantities based upon the IAU (1976) system of
**     astronomical constants", Astron. Astrophys. 58, 1-16 (1977);
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 21 (Precession), the rigorous method.
*/
void PrecessionAngles(double T0, double t, double* zeta, double* z, double* theta)
{
    // IAU 1976 precession angles (Lieske), arcseconds to degrees
    *zeta = ((2306.2181 + 1.39656 * T0 - 0.000139 * T0 * T0) * t +
             (0.30188 - 0.000344 * T0) * t * t + 0.017998 * t * t * t) / 3600;
    *z = ((2306.2181 + 1.39656 * T0 - 0.000139 * T0 * T0) * t +
          (1.09468 + 0.000066 * T0) * t * t + 0.018203 * t * t * t) / 3600;
    *theta = ((2004.3109 - 0.8533 * T0 - 0.000217 * T0 * T0) * t -
              (0.42665 + 0.000217 * T0) * t * t - 0.041833 * t * t * t) / 3600;
}

/*
**  Precession
**  A catalogue place brought to the mean equinox of date, with proper
**  motion.
**
**  Given:
**     jd           double    Julian day (UT) of the date
**     epoch_year   double    equinox and epoch of the catalogue (1900.0)
**     ra0, dec0    double    catalogue place, degrees
**     pm_ra        double    proper motion in right ascension as arc of a
**                            great circle, arcseconds a year
**     pm_dec       double    proper motion in declination, arcseconds a year
**
**  Returned:
**     ra           double*   right ascension, mean equinox of date,
**                            degrees in [0, 360)
**     dec          double*   declination, mean equinox of date, degrees
**
**  Notes:
**  1) The epoch is EpochJD(epoch_year); t counts Julian centuries from it
**     to jd. Proper motion over the same interval is added first (pm_ra
**     divided by cos dec0), then the rotation by zeta, z, theta.
**  2) jd at the epoch with no proper motion returns the place unchanged.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 21 (Precession), eq. 21.4; the angles: PrecessionAngles.
**
**  Called:  EpochJD, PrecessionAngles
*/
void Precession(double jd, double epoch_year, double ra0, double dec0, double pm_ra,
                double pm_dec, double* ra, double* dec)
{
    // IAU 1976 precession angles (Lieske), arcseconds
    double JD0 = EpochJD(epoch_year);
    double T0 = (JD0 - kJd2000) / kDaysPerCentury;
    double t = (jd - JD0) / kDaysPerCentury;
    double zeta, z, theta;
    PrecessionAngles(T0, t, &zeta, &z, &theta);
    // proper motion over the same interval
    double a1 = ra0 + pm_ra * t * 100 / 3600 / std::cos(dec0 * R);
    double d1 = dec0 + pm_dec * t * 100 / 3600;
    double th = theta * R, ap = (a1 + zeta) * R, dp = d1 * R;
    *dec = std::asin(std::cos(th) * std::sin(dp) + std::sin(th) * std::cos(dp) * std::cos(ap)) / R;
    double a = std::atan2(std::cos(dp) * std::sin(ap),
                          std::cos(th) * std::cos(dp) * std::cos(ap) - std::sin(th) * std::sin(dp)) / R + z;
    if (a < 0) a += 360;
    *ra = a;
}

/*
**  Dist
**  Position angle and separation of two points on the sphere.
**
**  Given:
**     lon1, lat1       double    first point (ra, dec or lam, bet), degrees
**     lon2, lat2       double    second point, degrees
**
**  Returned:
**     separation       double*   degrees, small-angle form (below)
**     position_angle   double*   at the first point, from the direction of
**                                increasing latitude toward increasing
**                                longitude, degrees in (-90, 270)
**
**  Notes:
**  1) c = sin D cos lat2, f = sin lat2 cos lat1 - cos D cos lat2 sin lat1
**     with D = lon2 - lon1; P = atan(c/f), plus 180 when f < 0.
**  2) The separation is c / sin P taken as radians: the sine of the true
**     separation, close to it for small separations only (no arcsine).
**     On one meridian (c = 0) f / cos P is used instead.
**  3) The same point twice gives 0 and 0. No panel calls it.
*/
void Dist(double lon1, double lat1, double lon2, double lat2, double* separation,
          double* position_angle)
{
    double D = (lon2 - lon1) * R, b1 = lat1 * R, b2 = lat2 * R;
    double c = std::sin(D) * std::cos(b2);
    double f = std::sin(b2) * std::cos(b1) - std::cos(D) * std::cos(b2) * std::sin(b1);
    if (c == 0 && f == 0) {
        // the same point: no direction, no separation
        *separation = 0;
        *position_angle = 0;
        return;
    }
    double P = std::atan(c / f) / R;
    if (f < 0) P += 180;
    *position_angle = P;
    // small-angle form: the sine of the separation taken as radians
    // (on one meridian c is 0 and so is sin P: take the cosine side there)
    double s = (c != 0) ? c / std::sin(P * R) : f / std::cos(P * R);
    *separation = s / R;
}
