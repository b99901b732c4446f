// Coordinate transforms: ecliptic, equatorial, horizontal; precession;
// position angle and separation.
#include "ephem/transforms.h"

#include <cmath>

#include "timecal/constants.h"
#include "timecal/julian.h"

namespace {
constexpr double R = kDegToRad;
}

double Reduce360(double x)
{
    double f = x / 360;
    double r = (f - std::floor(f)) * 360;
    if (r < 0) r += 360;
    return r;
}

double AcosClamped(double c)
{
    if (c > 1) c = 1;
    if (c < -1) c = -1;
    return std::acos(c);
}

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

// Az_El
//   Given:    jd        Julian day (UT)
//             ra, dec   right ascension and declination, degrees
//             lat, lon  observer latitude (north +) and longitude (east +), degrees
//   Returned: az        azimuth from the south, west positive, degrees (atan2
//                       range, not reduced)
//             el        altitude, degrees
//   Notes:    local sidereal time from the day count of 1900 Jan 0.0, then
//             the hour angle and the spherical triangle of pole, zenith and
//             body. Computed by the four parts below, step for step.
void Az_El(double jd, double ra, double dec, double lat, double lon, double* az, double* el)
{
    const AzElSite site = Az_El_Site(jd, lat, lon);
    Az_El_Parts(site, Az_El_Hour(site, ra), Az_El_Dec(dec), az, el);
}

// The place at the instant: the local sidereal time (LST_AzEl), hours, and
// the latitude's sine and cosine.
AzElSite Az_El_Site(double jd, double lat, double lon)
{
    AzElSite site;
    site.theta = LST_AzEl(jd, lon);
    double phi = lat * R;
    site.sin_phi = std::sin(phi);
    site.cos_phi = std::cos(phi);
    return site;
}

// The hour angle, radians, by its sine and cosine.
AzElHour Az_El_Hour(const AzElSite& site, double ra)
{
    double H = (15 * site.theta - ra) * R;
    return AzElHour{std::sin(H), std::cos(H)};
}

AzElDec Az_El_Dec(double dec)
{
    double delta = dec * R;
    return AzElDec{std::sin(delta), std::cos(delta), std::tan(delta)};
}

// Azimuth and altitude from the parts.
void Az_El_Parts(const AzElSite& site, const AzElHour& hour, const AzElDec& dec, double* az,
                 double* el)
{
    *az = Az_El_Azimuth(site, hour, dec);
    *el = Az_El_Altitude(site, hour, dec);
}

double Az_El_Azimuth(const AzElSite& site, const AzElHour& hour, const AzElDec& dec)
{
    return std::atan2(hour.sin_H, site.sin_phi * hour.cos_H - site.cos_phi * dec.tan_d) / R;
}

double Az_El_Altitude(const AzElSite& site, const AzElHour& hour, const AzElDec& dec)
{
    return std::asin(dec.sin_d * site.sin_phi + dec.cos_d * site.cos_phi * hour.cos_H) / R;
}

double EpochJD(double year)
{
    // 12h on January 1, that is month 13 of the year before, without zone
    return JD(year - 1, 13, 1, 12, 0, 0.0);
}

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
