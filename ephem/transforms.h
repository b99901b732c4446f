// Coordinate transforms shared by every position routine.
#pragma once
#include <cmath>

#include "timecal/constants.h"

/*
**  Reduce360
**  An angle reduced to [0, 360).
**
**  Given:
**     x    double   angle, degrees
**
**  Returned (function value):
**          double   (x/360 - floor(x/360)) * 360, plus 360 if negative
**
**  Notes:
**  1) Rounding can return 360 itself for an x just below a multiple of
**     360 (Planet_Grid reads such an argument at the table's far edge).
**  2) Inline: every position routine reduces its angles with it.
*/
inline double Reduce360(double x)
{
    double f = x / 360;
    double r = (f - std::floor(f)) * 360;
    if (r < 0) r += 360;
    return r;
}

// acos of a cosine that rounding may push just outside [-1, 1], radians.
double AcosClamped(double c);

// Ecliptic <-> equatorial coordinates of date, degrees.
void LamToRa(double jd, double lam, double bet, double* ra, double* dec);
void RaToLam(double jd, double ra, double dec, double* lam, double* bet);
// Equatorial to horizontal: azimuth from the south (+ west), altitude, degrees.
void Az_El(double jd, double ra, double dec, double lat, double lon, double* az, double* el);

// ---- Az_El in parts, for many points of one instant and place
// The grids of the sky view run Az_El thousands of times per repaint with
// one jd, lat and lon, and along a circle one of ra or dec fixed. The parts
// below are the very steps of Az_El, so that what does not change along a
// circle is computed once per circle; Az_El_Parts(Az_El_Site(jd, lat, lon),
// Az_El_Hour(site, ra), Az_El_Dec(dec)) gives az and el bit for bit as
// Az_El(jd, ra, dec, lat, lon).
struct AzElSite {
    double theta;            // local sidereal time, hours [0, 24)
    double sin_phi, cos_phi; // of the latitude
};
struct AzElHour {
    double sin_H, cos_H;     // of the hour angle
};
struct AzElDec {
    double sin_d, cos_d, tan_d;  // of the declination
};
AzElSite Az_El_Site(double jd, double lat, double lon);
AzElHour Az_El_Hour(const AzElSite& site, double ra);
AzElDec Az_El_Dec(double dec);
void Az_El_Parts(const AzElSite& site, const AzElHour& hour, const AzElDec& dec, double* az,
                 double* el);
// Az_El_Parts' two results one at a time (a caller that needs the altitude
// only for some azimuths); inline, as the grids of a repaint take them
// some 14,000 times.
// The two arguments of the azimuth's arc tangent: az = atan2(y, x) in
// radians, so (x, y) points along the azimuth (x to the south, y to the west).
inline double Az_El_AzimuthX(const AzElSite& site, const AzElHour& hour, const AzElDec& dec)
{
    return site.sin_phi * hour.cos_H - site.cos_phi * dec.tan_d;
}
inline double Az_El_Azimuth(const AzElSite& site, const AzElHour& hour, const AzElDec& dec)
{
    return std::atan2(hour.sin_H, Az_El_AzimuthX(site, hour, dec)) / kDegToRad;
}
inline double Az_El_Altitude(const AzElSite& site, const AzElHour& hour, const AzElDec& dec)
{
    return std::asin(dec.sin_d * site.sin_phi + dec.cos_d * site.cos_phi * hour.cos_H) / kDegToRad;
}
// A catalogue place (degrees, proper motions in arcsec/yr) to the mean
// equinox of jd.
void Precession(double jd, double epoch_year, double ra0, double dec0, double pm_ra,
                double pm_dec, double* ra, double* dec);
// Separation (small-angle form) and position angle of two points, degrees.
void Dist(double lon1, double lat1, double lon2, double lat2, double* separation,
          double* position_angle);
// IAU 1976 precession angles zeta, z, theta in degrees, for the epoch T0 and
// the interval t (Julian centuries; T0 from J2000.0).
void PrecessionAngles(double T0, double t, double* zeta, double* z, double* theta);
// Julian day of 12h on January 1 of a year (the epoch of Precession): JD of
// month 13, day 1, 12h of the year before, without zone.
double EpochJD(double year);
