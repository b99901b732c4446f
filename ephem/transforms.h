// Coordinate transforms shared by every position routine.
#pragma once

// Obliquity of the ecliptic of jd, degrees: 23.4523 - 0.013 T - 1.6388e-7 T^2.
double Obliquity(double jd);
// Reduce an angle to [0, 360): frac(x/360)*360, plus 360 if negative.
double Reduce360(double x);

void LamToRa(double jd, double lam, double bet, double* ra, double* dec);
void RaToLam(double jd, double ra, double dec, double* lam, double* bet);
void Az_El(double jd, double ra, double dec, double lat, double lon, double* az, double* el);
void Precession(double jd, double epoch_year, double ra0, double dec0, double pm_ra,
                double pm_dec, double* ra, double* dec);
void Dist(double lon1, double lat1, double lon2, double lat2, double* separation,
          double* position_angle);
// Julian day of 12h on January 1 of a year (the epoch of Precession).
double EpochJD(double year);
