// Constants shared by the time and position routines.
#pragma once

#ifdef __FAST_MATH__
#error "tenmado needs IEEE arithmetic: do not build with -ffast-math"
#endif

constexpr double kJd1900 = 2415021.0;      // 1900 Jan 0.5 (Jan 1, 12h): origin of T
constexpr double kJd1900Sidereal = 2415020.0;  // origin of the sidereal-time day count
constexpr double kJd1800 = 2378496.0;      // 1800 Jan 0.5: origin of the Moon's T
constexpr double kJd2000 = 2451545.0;      // J2000.0
constexpr double kJdGregorian = 2299161.0; // 1582 Oct 15: first Gregorian day
constexpr double kJdZoneSwitch = 2415000.0;  // Calendar: local mean time up to here
constexpr double kJdCalendarBase = 1721086.5;
constexpr double kDaysPerCentury = 36525.0;
constexpr double kDegToRad = 0.017453292519943295;  // pi / 180
constexpr double kPi10 = 3.1415926536;      // pi to ten decimals, as the quadrant rules use it
constexpr double kTwoPi10 = 6.2831853072;
