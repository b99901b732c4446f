// Julian day and calendar conversion, sidereal time, time scales.
#pragma once

// ---- civil date and time <-> Julian day (UT)
// JD: civil date and time at the observer (decimal hours) to a Julian day in
//   UT, zone from the longitude; the int argument takes no part.
double JD(double year, double month, double day, double hour, int, double longitude);
// Calendar: Julian day back to the civil date and decimal hours.
void Calendar(double jd, double* year, double* month, double* day, double* hour,
              int, double longitude);
// JD_Zone, Calendar_Zone: the same in a civil zone given (hours east of
//   UTC); with ZoneHours(longitude) JD's and Calendar's bits.
double JD_Zone(double year, double month, double day, double hour, double longitude, double zone);
void Calendar_Zone(double jd, double* year, double* month, double* day, double* hour,
                   double longitude, double zone);

// ---- small formulas
double Compact(double x, double modulus);  // floored remainder
double LST(double jd, double longitude);    // local sidereal time, hours [0, 24)
// LST_AzEl: the same sidereal time in the order of Az_El's steps (why it
//   stays apart from LST: beside its definition).
double LST_AzEl(double jd, double longitude);
double C_1900(double jd);                   // Julian centuries from 2415021.0
double J_1800(double jd);                   // Julian centuries from 2378496.0
// Obl: mean obliquity of the ecliptic, degrees; the one obliquity of the
//   program (transforms, Sun, Moon, comets).
double Obl(double jd);

// Civil zone of a longitude in whole hours, east positive (139.7 -> +9).
double ZoneHours(double longitude);
