// Twilight, the golden and blue hours and the length of the day: the Sun's
// centre (geometric, no refraction) at given altitudes over one local date,
// by the general rise and set search.
#pragma once
#include <vector>

#include "events/riseset.h"

// The golden hour: the Sun's centre between -4 and +6 degrees; the blue
// hour: between -6 and -4 degrees.
constexpr double kAltitudeGoldenLow = -4.0;
constexpr double kAltitudeGoldenHigh = 6.0;
constexpr double kAltitudeBlueLow = -6.0;
constexpr double kAltitudeBlueHigh = -4.0;

// A date on which the Sun never crosses an altitude: it stays above it all
// day ("day": at -6, civil twilight lasts all night) or below it ("night").
enum class SunPolar { None, Day, Night };

// Dawn and dusk at one altitude: the Sun's centre passing it upward and
// downward on the date (found false where it does not).
struct SunTwilight {
    EventTime dawn, dusk;
    SunPolar polar;  // None unless both are missing
};

// A span of time, Julian days (UT).
struct SunInterval {
    double start, end;
};

// Everything of one local date at one place.
struct SunDay {
    double start, hours;                     // the date: 0 h (UT Julian day) and its length
    SunTwilight civil, nautical, astronomical;  // -6, -12, -18 degrees
    std::vector<SunInterval> golden, blue;   // in time order, clipped to the date
    double day_length;                       // minutes of the date with the centre above -0.85
};

// Dawn and dusk at an altitude in the span [start, start + hours / 24].
SunTwilight Sun_Twilight(double altitude, double lat, double lon, double start, double hours);
// The parts of the span in which the Sun's centre lies between low and high
// degrees (both included), in time order.
std::vector<SunInterval> Sun_Between(double low, double high, double lat, double lon, double start,
                                     double hours);
// All of one date at latitude lat, east longitude lon (degrees); start is
// 0 h of the date (UT Julian day), hours its length.
SunDay Sun_Day(double lat, double lon, double start, double hours);
