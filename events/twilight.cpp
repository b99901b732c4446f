// Twilight, the golden and blue hours and the length of the day over one
// local date, from the general rise and set search of the Sun.
#include "events/twilight.h"

#include <algorithm>

namespace {

constexpr double kMinutesPerDay = 1440.0;
constexpr double kZenith = 90.0;  // an upper bound the Sun never passes

}  // namespace

/*
**  Sun_Twilight
**  Dawn and dusk at one altitude of the Sun.
**
**  Given:
**     altitude    double   of the Sun's centre, degrees (-6 civil, -12
**                          nautical, -18 astronomical; geometric)
**     lat, lon    double   the place, degrees, north and east positive
**     start       double   the span's first instant, Julian day (UT)
**     hours       double   its length, hours
**
**  Returned (function value):
**                 SunTwilight   dawn (the centre passing the altitude
**                               upward), dusk (downward), each with found;
**                               polar Day or Night when neither is found
**                               and the Sun stays above or below it
**
**  Notes:
**  1) The Sun's position of the almanac (Sun_Position, geocentric), no
**     refraction: the common definition of twilight.
**
**  Accuracy:
**     Against astronomy-engine 2.1.19's altitude search at 35 and 60
**     degrees north, 1901-2096 (tests/golden/planner_reference.txt):
**     see docs/ACCURACY.md, "Twilight".
**
**  Called:  Event_Rise, Event_Set, Event_Altitude
*/
SunTwilight Sun_Twilight(double altitude, double lat, double lon, double start, double hours)
{
    SunTwilight t;
    t.dawn = Event_Rise(kBodySun, altitude, lat, lon, start, hours);
    t.dusk = Event_Set(kBodySun, altitude, lat, lon, start, hours);
    t.polar = SunPolar::None;
    if (!t.dawn.found && !t.dusk.found) {
        const double middle = start + hours / 48;
        t.polar = Event_Altitude(kBodySun, middle, lat, lon) > altitude ? SunPolar::Day
                                                                        : SunPolar::Night;
    }
    return t;
}

/*
**  Sun_Between
**  The parts of a span in which the Sun lies between two altitudes.
**
**  Given:
**     low, high   double   altitudes of the Sun's centre, degrees (high
**                          90 or more: no upper bound)
**     lat, lon    double   the place, degrees
**     start       double   the span's first instant, Julian day (UT)
**     hours       double   its length, hours
**
**  Returned (function value):
**                 vector   {start, end} Julian days, in time order; a part
**                          that runs over an end of the span is clipped to it
**
**  Notes:
**  1) The span is cut at the Sun's crossings of both altitudes, each way
**     (the first of each in the span: the Sun crosses an altitude at most
**     once each way in a day); each piece is in or out by the altitude at
**     its middle, and neighbouring pieces in are joined.
**
**  Called:  Event_Rise, Event_Set, Event_Altitude
*/
std::vector<SunInterval> Sun_Between(double low, double high, double lat, double lon, double start,
                                     double hours)
{
    const double end = start + hours / 24;
    std::vector<double> cuts = {start, end};
    for (double altitude : {low, high}) {
        if (altitude >= kZenith) continue;
        for (EventTime e : {Event_Rise(kBodySun, altitude, lat, lon, start, hours),
                            Event_Set(kBodySun, altitude, lat, lon, start, hours)})
            if (e.found && e.jd > start && e.jd < end) cuts.push_back(e.jd);
    }
    std::sort(cuts.begin(), cuts.end());

    std::vector<SunInterval> out;
    for (size_t i = 0; i + 1 < cuts.size(); i++) {
        const double a = cuts[i], b = cuts[i + 1];
        if (!(b > a)) continue;
        const double h = Event_Altitude(kBodySun, (a + b) / 2, lat, lon);
        if (h < low || h > high) continue;
        if (!out.empty() && out.back().end == a)
            out.back().end = b;
        else
            out.push_back({a, b});
    }
    return out;
}

/*
**  Sun_Day
**  Twilight, the golden and blue hours and the day's length on one date.
**
**  Given:
**     lat, lon   double   the place, degrees, north and east positive
**     start      double   0 h of the local date, Julian day (UT)
**     hours      double   the date's length, hours (24)
**
**  Returned (function value):
**                SunDay   civil (-6), nautical (-12), astronomical (-18)
**                         dawn and dusk; the golden hours (the centre
**                         between -4 and +6 degrees) and the blue hours
**                         (between -6 and -4); the day's length
**
**  Notes:
**  1) The day's length is the time of the date during which the Sun's
**     centre stands above -0.85 degree, the altitude of the almanac's
**     sunrise and sunset: sunset minus sunrise on an ordinary date, 24 h
**     in a polar day, 0 in a polar night. It comes from the general
**     search (to a second), not from the read-outs' times.
**
**  Called:  Sun_Twilight, Sun_Between
*/
SunDay Sun_Day(double lat, double lon, double start, double hours)
{
    SunDay d;
    d.start = start;
    d.hours = hours;
    d.civil = Sun_Twilight(kAltitudeCivil, lat, lon, start, hours);
    d.nautical = Sun_Twilight(kAltitudeNautical, lat, lon, start, hours);
    d.astronomical = Sun_Twilight(kAltitudeAstronomical, lat, lon, start, hours);
    d.golden = Sun_Between(kAltitudeGoldenLow, kAltitudeGoldenHigh, lat, lon, start, hours);
    d.blue = Sun_Between(kAltitudeBlueLow, kAltitudeBlueHigh, lat, lon, start, hours);
    d.day_length = 0;
    for (const SunInterval& i : Sun_Between(kAltitudeHorizon, kZenith, lat, lon, start, hours))
        d.day_length += (i.end - i.start) * kMinutesPerDay;
    return d;
}
