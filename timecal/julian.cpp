// Julian day and calendar conversion (Meeus, Astronomical Algorithms, ch. 7)
// with the observer's zone derived from the longitude; mean sidereal time,
// Julian centuries and the obliquity of the ecliptic.
#include "timecal/julian.h"

#include <cmath>

#include "timecal/constants.h"

/*
**  ZoneHours
**  Civil zone of a longitude in whole hours.
**
**  Given:
**     longitude  double   east longitude, degrees (west negative)
**
**  Returned (function value):
**                double   floor(|longitude| / 15 + 0.5) with the sign of
**                         the longitude, hours (139.7 gives +9, -120 gives -8)
**
**  Notes:
**  1) The zone JD and Calendar apply from 1900 on; Observer_ZoneHours
**     gives the clock the same zone for m_input_lon.
*/
double ZoneHours(double longitude)
{
    double s = 1.0, L = longitude;
    if (longitude < 0) { L = -longitude; s = -1.0; }
    return s * std::floor(L / 15 + 0.5);
}

/*
**  JD
**  Julian day of a civil date and time at the observer.
**
**  Given:
**     year, month, day  double   civil date (day may be 0, negative or past
**                                the month's end: the count is linear in it)
**     hour              double   time of day, decimal hours (24 is the next
**                                day's 0 h)
**     (int)             int      takes no part (callers pass 0 or 1)
**     longitude         double   east longitude, degrees; fixes the zone
**
**  Returned (function value):
**                       double   Julian day (UT)
**
**  Notes:
**  1) January and February count as months 13 and 14 of the year before;
**     the day count is floor(365.25 Y) + floor(30.59 (M - 2)) + day +
**     1721086.5, plus floor(Y/400) - floor(Y/100) + 2 when that value is
**     not less than 2299161 (1582 October 15, the first Gregorian day).
**     The dates 1582 October 5-14, which do not exist, take the Gregorian
**     correction as well.
**  2) The civil time is taken off: the zone floor(|lon|/15 + 0.5) hours
**     with the longitude's sign when the adjusted year Y is 1900 or later,
**     the local mean time |lon|/15 hours before (so 1900 January and
**     February still count as local mean time).
**  3) Calendar switches to zone time at JD 2415000.0 instead: between that
**     day (1899 December 11) and 1900 March 1 a JD and its conversion back
**     differ by the zone minus the local mean time.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 7 (Julian Day); the day count here is a variant of his, with
**     30.59 (M - 2) and the origin 1721086.5.
**
**  Called:  JD_Zone, ZoneHours
*/
double JD(double year, double month, double day, double hour, int, double longitude)
{
    return JD_Zone(year, month, day, hour, longitude, ZoneHours(longitude));
}

/*
**  JD_Zone
**  Julian day of a civil date and time at the observer, in a zone given.
**
**  Given:
**     year, month, day  double   civil date (as JD)
**     hour              double   time of day, decimal hours
**     longitude         double   east longitude, degrees (local mean time)
**     zone              double   civil zone, hours east of UTC
**
**  Returned (function value):
**                       double   Julian day (UT)
**
**  Notes:
**  1) JD's arithmetic with z = s * zone in place of floor(|lon|/15 + 0.5),
**     s the sign of the longitude: the zone term s (|lon|/15 - z) / 24
**     then takes off the zone whatever its side of the longitude's. For
**     zone = ZoneHours(longitude), z is floor(|lon|/15 + 0.5) exactly
**     (a product with +-1), so the result is JD's to the bit.
**  2) Before the adjusted year 1900 the civil time stays the local mean
**     time of the longitude; the zone takes no part.
*/
double JD_Zone(double year, double month, double day, double hour, double longitude, double zone)
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
        // zone time: z = s * zone is the zone's magnitude on the longitude's
        // side (for the zone of the longitude, floor(L / 15 + 0.5) exactly)
        double z = s * zone;
        J = A + B + day + hour / 24 - (s * L / 15) / 24 + s * (L / 15 - z) / 24;
    }
    J = J + kJdCalendarBase;
    // Gregorian correction, tested on the uncorrected value
    if (!(J < kJdGregorian))
        J = J + std::floor(Y / 400) - std::floor(Y / 100) + 2;
    return J;
}

/*
**  Calendar
**  Civil date and time at the observer of a Julian day.
**
**  Given:
**     jd         double    Julian day (UT)
**     (int)      int       takes no part (callers pass 0 or 1)
**     longitude  double    east longitude, degrees; fixes the zone
**
**  Returned:
**     year       double*   year (a whole number)
**     month      double*   month 1..12
**     day        double*   day of the month
**     hour       double*   time of day, decimal hours (not rounded)
**
**  Notes:
**  1) Local mean time (|lon|/15 hours with the longitude's sign) for jd up
**     to 2415000.0, zone time floor(|lon|/15 + 0.5) hours after. JD
**     switches by the year 1900 instead (see JD, note 3).
**  2) Gregorian from Julian day 2299161, Julian calendar before.
**
**  Reference:
**     Meeus, J., Astronomical Algorithms, 2nd ed., Willmann-Bell (1998),
**     ch. 7 (Julian Day: calculation of the calendar date from the JD).
**
**  Called:  Calendar_Zone, ZoneHours
*/
void Calendar(double jd, double* year, double* month, double* day, double* hour,
              int, double longitude)
{
    Calendar_Zone(jd, year, month, day, hour, longitude, ZoneHours(longitude));
}

/*
**  Calendar_Zone
**  Civil date and time at the observer of a Julian day, in a zone given.
**
**  Given:
**     jd         double    Julian day (UT)
**     longitude  double    east longitude, degrees (local mean time)
**     zone       double    civil zone, hours east of UTC
**
**  Returned:
**     year, month, day, hour   double*   as Calendar
**
**  Notes:
**  1) Calendar's arithmetic with z = s * zone (see JD_Zone): the same bits
**     as Calendar for zone = ZoneHours(longitude). For jd up to 2415000.0
**     the local mean time of the longitude, whatever the zone.
*/
void Calendar_Zone(double jd, double* year, double* month, double* day, double* hour,
                   double longitude, double zone)
{
    double s = 1.0, L = longitude;
    if (longitude < 0) { L = -longitude; s = -1.0; }
    double J;
    if (jd <= kJdZoneSwitch) {
        J = jd + (s * L / 15) / 24;  // local mean time
    } else {
        double z = s * zone;
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

/*
**  Compact
**  Floored remainder.
**
**  Given:
**     x, m   double   value and modulus
**
**  Returned (function value):
**            double   m (x/m - floor(x/m)): for m = 360 an angle in
**                     [0, 360) (up to rounding)
*/
double Compact(double x, double m)
{
    return m * (x / m - std::floor(x / m));
}

/*
**  LST
**  Local mean sidereal time.
**
**  Given:
**     jd         double   Julian day (UT)
**     longitude  double   east longitude, degrees
**
**  Returned (function value):
**                double   local mean sidereal time, hours in [0, 24)
**
**  Notes:
**  1) d = jd - 2415020.0 (1900 January 0.5); S = 18.6461 +
**     (d * 24) * 1.0027379092558308 + 3.24e-14 d^2 + longitude / 15,
**     reduced to [0, 24). A fraction within half an ulp below 1 that would
**     round to 24 is returned as 0.
**  2) Mean sidereal time: no equation of the equinoxes. Az_El and the
**     Moon's parallax use LST_AzEl, the same formula in another order.
**
**  Reference:
**     Newcomb's mean sidereal time: the right ascension of the fictitious
**     mean sun, 18h 38m 45.836s at 1900 January 0.5, advancing
**     8640184.542 s a Julian century (1.0027379093 = 1 + 8640184.542 /
**     3155760000); Explanatory Supplement to the Astronomical Ephemeris
**     and the American Ephemeris and Nautical Almanac, HMSO (1961).
**
**  Accuracy:
**     Against the IAU 1982 expression of Greenwich mean sidereal time
**     (Meeus, Astronomical Algorithms, 2nd ed., ch. 12, eq. 12.4) at the
**     56,192 instants of docs/ACCURACY.md, 1900-2100: 0.10 s of time RMS,
**     0.15 s at most (mean +0.10 s).
*/
double LST(double jd, double longitude)
{
    double d = jd - kJd1900Sidereal;
    double S = 18.6461 + (d * 24) * 1.0027379092558308 + 3.24e-14 * d * d + longitude / 15;
    double x = S / 24;
    double h = (x - std::floor(x)) * 24;
    // a fraction within half an ulp below 1 would round to 24: that is 0 h
    return h < 24 ? h : 0.0;
}

/*
**  LST_AzEl
**  Local mean sidereal time with the terms in the order of Az_El's steps.
**
**  Given:
**     jd         double   Julian day (UT)
**     longitude  double   east longitude, degrees
**
**  Returned (function value):
**                double   local mean sidereal time, hours in [0, 24)
**
**  Notes:
**  1) s = (24 * 1.0027379092558308 * d + 18.6461 + 3.24e-14 d^2 +
**     longitude / 15) / 24 with d = jd - 2415020.0; the hours are
**     (s - floor(s)) * 24, 24 added if negative. Az_El and the Moon's
**     parallax use it.
**  2) It stays apart from LST because (d * 24) * k and (24 * k) * d round
**     differently wherever d * 24 is not exact: over 2 million random
**     instants of the years 1 to 9999 the two differ in the last bit for
**     3.2 % (none for instants of 1900-2100), and every such bit reaches
**     an azimuth or an altitude.
**
**  Reference and accuracy: as LST.
*/
double LST_AzEl(double jd, double longitude)
{
    double d = jd - kJd1900Sidereal;
    double s = (24 * 1.0027379092558308 * d + 18.6461 + 3.24e-14 * d * d + longitude / 15) / 24;
    double theta = (s - std::floor(s)) * 24;
    if (theta < 0) theta += 24;
    return theta;
}

/*
**  C_1900, J_1800
**  Julian centuries of a Julian day.
**
**  Given:
**     jd   double   Julian day
**
**  Returned (function value):
**          double   C_1900: (jd - 2415021.0) / 36525, from 1900 January 1,
**                   12h, the T of the Sun, the planets and the obliquity;
**                   J_1800: (jd - 2378496.0) / 36525, from 1800 January
**                   0.5, the T of the Moon
*/
double C_1900(double jd) { return (jd - kJd1900) / kDaysPerCentury; }

double J_1800(double jd) { return (jd - kJd1800) / kDaysPerCentury; }

/*
**  Obl
**  Mean obliquity of the ecliptic.
**
**  Given:
**     jd   double   Julian day
**
**  Returned (function value):
**          double   23.4523 - 0.013 T - 1.6388e-7 T^2, degrees, with T in
**                   Julian centuries from 2415021.0
**
**  Notes:
**  1) The one obliquity of the program: the transforms, the Sun, the
**     Moon's parallax and the comets use it.
**  2) No nutation: the mean obliquity.
**
**  Reference:
**     Newcomb's obliquity, 23 27' 08.26" - 46.845" T - 0.0059" T^2 +
**     0.00181" T^3, rounded; the T^2 coefficient here is a tenth of his
**     (1.6389e-6 degree), which changes the value by less than 7e-6 degree
**     over 1900-2100. Explanatory Supplement to the Astronomical
**     Ephemeris and the American Ephemeris and Nautical Almanac, HMSO
**     (1961).
**
**  Accuracy:
**     Against the IAU 1980 mean obliquity (Meeus, Astronomical Algorithms,
**     2nd ed., ch. 22, eq. 22.2) at the 56,192 instants of
**     docs/ACCURACY.md, 1900-2100: 0.034" RMS, 0.045" at most.
*/
double Obl(double jd)
{
    double T = (jd - kJd1900) / kDaysPerCentury;
    return 23.4523 - 0.013 * T - 1.6388e-07 * T * T;
}
