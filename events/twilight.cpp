// Twilight, the golden and blue hours and the length of the day over one
// local date, from the general rise and set search of the Sun.
#include "events/twilight.h"

#include <algorithm>

namespace {

constexpr double kMinutesPerDay = 1440.0;
constexpr double kZenith = 90.0;  // an upper bound the Sun never passes

// The span cut at the Sun's upper culminations and the lower ones 12 hours
// from them: between two cuts the Sun's altitude only rises or only falls,
// so the hourly scan of the rise and set search brackets every crossing,
// also a dip below an altitude shorter than an hour (a night that barely
// reaches -12 degrees at 60 degrees north). Returns the cuts, the span's
// ends included, in order.
std::vector<double> Cuts(double lat, double lon, double start, double hours)
{
    const double end = start + hours / 24;
    std::vector<double> cuts = {start};
    const EventTime upper = Event_Culmination(kBodySun, lat, lon, start - 0.5, hours + 24);
    if (upper.found) {
        for (int k = 0; k <= 4; k++) {
            const double t = upper.jd + 0.5 * k;
            if (t > start && t < end) cuts.push_back(t);
        }
    }
    cuts.push_back(end);
    return cuts;
}

// Every crossing of an altitude in the span, upward (up true) or downward,
// in time order.
std::vector<double> Crossings(bool up, double altitude, double lat, double lon,
                              const std::vector<double>& cuts)
{
    std::vector<double> out;
    for (size_t i = 0; i + 1 < cuts.size(); i++) {
        const double hours = (cuts[i + 1] - cuts[i]) * 24;
        const EventTime e = up ? Event_Rise(kBodySun, altitude, lat, lon, cuts[i], hours)
                               : Event_Set(kBodySun, altitude, lat, lon, cuts[i], hours);
        if (e.found) out.push_back(e.jd);
    }
    return out;
}

EventTime First(const std::vector<double>& crossings)
{
    return crossings.empty() ? EventTime{0.0, false} : EventTime{crossings.front(), true};
}

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
**  2) The first crossing each way on the date. The date is searched in
**     pieces between the Sun's culminations (upper, and lower 12 hours
**     away), in each of which its altitude only rises or only falls: the
**     hourly scan alone misses a dip below the altitude shorter than an
**     hour, as on nights that barely reach -12 or -18 degrees at 60 N.
**
**  Accuracy:
**     Against astronomy-engine 2.1.19's altitude search at 35 and 60
**     degrees north on every 10th date of 1901-2100, at -18, -12, -6, -4
**     and +6 degrees (137,874 crossings, docs/ACCURACY.md): 0.045 min RMS,
**     0.62 min at most, mean +0.03 min. Dates where the Sun's lowest or
**     highest point lies within 0.1 degree of the altitude (59 of them)
**     can gain or lose a dip of a few minutes.
**
**  Called:  Event_Culmination, Event_Rise, Event_Set, Event_Altitude
*/
SunTwilight Sun_Twilight(double altitude, double lat, double lon, double start, double hours)
{
    const std::vector<double> cuts = Cuts(lat, lon, start, hours);
    SunTwilight t;
    t.dawn = First(Crossings(true, altitude, lat, lon, cuts));
    t.dusk = First(Crossings(false, altitude, lat, lon, cuts));
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
**  1) The span is cut at every crossing of both altitudes, each way (found
**     between the Sun's culminations, as Sun_Twilight); each piece is in
**     or out by the altitude at its middle, and neighbouring pieces in are
**     joined.
**
**  Called:  Event_Rise, Event_Set, Event_Altitude
*/
std::vector<SunInterval> Sun_Between(double low, double high, double lat, double lon, double start,
                                     double hours)
{
    const double end = start + hours / 24;
    const std::vector<double> pieces = Cuts(lat, lon, start, hours);
    std::vector<double> cuts = {start, end};
    for (double altitude : {low, high}) {
        if (altitude >= kZenith) continue;
        for (bool up : {true, false})
            for (double t : Crossings(up, altitude, lat, lon, pieces))
                if (t > start && t < end) cuts.push_back(t);
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
**  Accuracy:
**     The crossings' (Sun_Twilight): the day's length within about a
**     minute, its change from one date to the next within two seconds.
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
