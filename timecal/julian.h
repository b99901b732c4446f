// Julian day and calendar conversion, sidereal time, time scales.
#pragma once

// ---- civil date and time <-> Julian day (UT)
// JD: civil date and time at the observer (decimal hours) to a Julian day in
//   UT. Zone from the longitude: floor(|lon|/15 + 0.5) hours with its sign,
//   local mean time before (adjusted) year 1900; Gregorian from JD 2299161.
//   The int argument takes no part.
double JD(double year, double month, double day, double hour, int, double longitude);
// Calendar: Julian day back to civil date and decimal hours (Meeus);
//   local mean time for jd <= 2415000.0, zone time after.
void Calendar(double jd, double* year, double* month, double* day, double* hour,
              int, double longitude);

// ---- small formulas
double Compact(double x, double modulus);  // floored remainder
double LST(double jd, double longitude);    // local sidereal time, hours [0, 24)
// LST_AzEl: the same sidereal time with the terms in the order of Az_El's
//   steps, s = (24 * 1.0027379092558308 * d + 18.6461 + 3.24e-14 d^2 +
//   longitude / 15) / 24, hours (s - floor(s)) * 24, 24 added if negative.
//   Az_El and the Moon's parallax use it. It stays apart from LST because
//   (d * 24) * k and (24 * k) * d round differently wherever d * 24 is not
//   exact: over 2 million random instants of the years 1 to 9999 the two
//   differ in the last bit for 3.2 % (none for instants of 1900-2100), and
//   every such bit reaches an azimuth or altitude.
double LST_AzEl(double jd, double longitude);
double C_1900(double jd);                   // Julian centuries from 2415021.0
double J_1800(double jd);                   // Julian centuries from 2378496.0
// Obl: obliquity of the ecliptic, degrees, 23.4523 - 0.013 T - 1.6388e-7 T^2
//   with T in Julian centuries from 2415021.0; the one obliquity of the
//   program (transforms, Sun, Moon, comets).
double Obl(double jd);

// Civil zone of a longitude in whole hours, east positive (139.7 -> +9).
double ZoneHours(double longitude);
