// Julian day and calendar conversion (Meeus, Astronomical Algorithms, ch. 7),
// with the observer's zone derived from the longitude.
#include "timecal/julian.h"

#include <cmath>

#include "timecal/constants.h"

double ZoneHours(double longitude)
{
    double s = 1.0, L = longitude;
    if (longitude < 0) { L = -longitude; s = -1.0; }
    return s * std::floor(L / 15 + 0.5);
}

double JD(double year, double month, double day, double hour, int, double longitude)
{
    // sign and magnitude of the longitude
    double s = 1.0, L = longitude;
    if (longitude < 0) { L = -longitude; s = -1.0; }
    // January and February count as months 13 and 14 of the year before
    double Y = year, M = month;
    if (M < 3) { Y = Y - 1; M = M + 12; }
    double A = std::floor(Y * 365.25);
    double B = std::floor((M - 2) * 30.59);
    double J;
    if (Y < 1900) {
        // local mean time of the longitude
        J = A + B + day + hour / 24 - (s * L / 15) / 24;
    } else {
        // zone time: whole hours nearest the longitude
        double z = std::floor(L / 15 + 0.5);
        J = A + B + day + hour / 24 - (s * L / 15) / 24 + s * (L / 15 - z) / 24;
    }
    J = J + kJdCalendarBase;
    // Gregorian correction, tested on the uncorrected value
    if (!(J < kJdGregorian))
        J = J + std::floor(Y / 400) - std::floor(Y / 100) + 2;
    return J;
}

void Calendar(double jd, double* year, double* month, double* day, double* hour,
              int, double longitude)
{
    double s = 1.0, L = longitude;
    if (longitude < 0) { L = -longitude; s = -1.0; }
    double J;
    if (jd <= kJdZoneSwitch) {
        J = jd + (s * L / 15) / 24;  // local mean time
    } else {
        double z = std::floor(L / 15 + 0.5);
        J = jd + (s * L / 15) / 24 - s * (L / 15 - z) / 24;  // zone time
    }
    double Z = std::floor(J + 0.5);
    double F = (J + 0.5) - Z;
    if (!(Z < kJdGregorian)) {
        double a = std::floor((Z - 1867216.25) / 36524.25);
        Z = Z + 1 + a - std::floor(a * 0.25);
    }
    double B = Z + 1524;
    double C = std::floor((B - 122.1) / 365.25);
    double D = std::floor(C * 365.25);
    double E = std::floor((B - D) / 30.6001);
    *day = std::floor(B - D - std::floor(E * 30.6001) + F);
    *hour = F * 24;
    *month = (E < 13.5) ? E - 1 : E - 13;
    *year = (*month > 2.5) ? C - 4716 : C - 4715;
}

double Compact(double x, double m)
{
    return m * (x / m - std::floor(x / m));
}

double LST(double jd, double longitude)
{
    double d = jd - kJd1900Sidereal;
    double S = 18.6461 + (d * 24) * 1.0027379092558308 + 3.24e-14 * d * d + longitude / 15;
    double x = S / 24;
    double h = (x - std::floor(x)) * 24;
    // a fraction within half an ulp below 1 would round to 24: that is 0 h
    return h < 24 ? h : 0.0;
}

double LST_AzEl(double jd, double longitude)
{
    double d = jd - kJd1900Sidereal;
    double s = (24 * 1.0027379092558308 * d + 18.6461 + 3.24e-14 * d * d + longitude / 15) / 24;
    double theta = (s - std::floor(s)) * 24;
    if (theta < 0) theta += 24;
    return theta;
}

double C_1900(double jd) { return (jd - kJd1900) / kDaysPerCentury; }

double J_1800(double jd) { return (jd - kJd1800) / kDaysPerCentury; }

double Obl(double jd)
{
    double T = (jd - kJd1900) / kDaysPerCentury;
    return 23.4523 - 0.013 * T - 1.6388e-07 * T * T;
}
