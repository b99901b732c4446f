// The read-outs of one instant as one record: the date line, sunrise,
// sunset, moonrise and moonset, the tides of Tokyo Bay, the new moons and the
// Moon's age, the place and (for the almanac) the meridian passages and the
// bodies. The main panel draws it, the almanac prints it as text and JSON.
//
// The searches that depend only on the local date and the place (rise and
// set, tides, the new moons up to the date) are kept from one record to the
// next and run again only when the date or the place or zone changes. A
// record made from kept searches leaves the shared state (Sun, Moon, Tide,
// Auto_Time, jd0 and the calendar scratch) exactly as the searches leave it.
#pragma once
#include <ctime>
#include <string>

#include "panels/view_projection.h"

struct KoyomiPlace {
    double latitude;   // degrees, north positive
    double longitude;  // degrees, east positive
    double zone;       // civil zone, hours east of UTC (the zone set, or the longitude's)
    bool zone_set;     // the zone was set (false: from the longitude)
    double azimuth;    // the view, degrees from the south toward the west
};

// A body as the planet panel computes it (PanelBody): ecliptic and
// equatorial coordinates of date, degrees; az from the south, + west; el.
struct KoyomiBody {
    double lam, bet, ra, dec, az, el;
};

struct KoyomiReadouts {
    // ---- the instant: the clock reading (the observer's civil time) and its
    // Julian day (UT)
    struct tm now;
    double jd;
    // ---- the date line: the civil date and whole h:m:s that Calendar gives
    // back for jd (Koyomi_DateTime)
    double line_year, line_month, line_day, line_hour, line_minute, line_second;
    // ---- rise and set on the local date the searches take (Calendar_Zone of
    // jd), local decimal hours, and whether each was found (kNoEvent, 23.0,
    // when not; 23.0 is a time when found)
    double event_year, event_month, event_day;
    double sunrise, sunset, moonrise, moonset;
    bool sunrise_found, sunset_found, moonrise_found, moonset_found;
    // the Sun neither rises nor sets on the date: +1 above the horizon all
    // the date (polar day), -1 below it (polar night); 0 otherwise
    int polar;
    // ---- the tides of Tokyo Bay, laid out as Tide (heights 0-3, Julian days
    // 4-7 of high 1, high 2, low 1, low 2; 0.0 none)
    double tide[8];
    // ---- FirstdayCal1's new moons (Julian days, 0.0 none) and the age, days
    double newmoon1, newmoon2, moon_age;
    // ---- the place and the view
    KoyomiPlace place;
    // ---- filled only with extras (the almanac): the meridian passages
    // (upper culmination, south or north of the zenith; local hours, found
    // or not) and the bodies by body index
    bool extras;
    double sun_transit, moon_transit;
    bool sun_transit_found, moon_transit_found;
    KoyomiBody bodies[kPanelBodies];
};

// The shared state of a repaint reset from the settings (chart geometry,
// projection, chart centre, the observer's working copies of the place and
// zone) and the Julian day of the clock reading now (jd, jd0, jdstart,
// jd_auto).
void Koyomi_Reset(const struct tm& now);
// The date line's date and time of day of a Julian day (UT): the civil date
// and whole hours, minutes and seconds at the observer, the same h:m:s the
// clock read for a whole-second reading; in the zone of the longitude, or
// in the zone given.
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second);
void Koyomi_DateTimeZone(double jd, double longitude, double zone, double* year, double* month,
                         double* day, double* hour, double* minute, double* second);

// The record of the clock reading now (the shared state reset first, left as
// the day's searches leave it); with extras the transits and bodies too.
void Koyomi_Readouts(const struct tm& now, bool extras, KoyomiReadouts* r);

// The rise, set and tide searches of the local date of jd at the observer
// (latitude0, longitude0, Observer_Zone0), kept: the results, with the Sun
// and Moon records, Tide, Auto_Time, jd0 and the calendar scratch left as
// the searches leave them. sunrise..moonset may be null.
void Koyomi_DayEvents(double jd, double* sunrise, double* sunset, double* moonrise,
                      double* moonset);
// The kept day and new moons forgotten (tests; the state at start).
void Koyomi_ForgetDay();
// How many times the day's rise, set and tide searches have run (tests,
// benchmarks).
long Koyomi_DaySearches();

// ---- the texts of the read-outs, Shift_JIS, as the picture draws them
// The date line, "        日時  2026/12/06 15:00:00   ユリウス通日 2461380.75000".
std::string Readout_DateLine(const KoyomiReadouts& r);
// "label hh:mm" (minutes truncated: 5.999 h is 05:59), or "label --" when
// none is true.
std::string Readout_Event(const char* label, double hours, bool none);
// "時刻 15:00:00" of the clock reading.
std::string Readout_Clock(const struct tm& now);
// "東経 139.7" or "西経 74.0" (the absolute value); "北緯 35.6" or "南緯 33.9";
// "方位角   0".
std::string Readout_Longitude(double longitude);
std::string Readout_Latitude(double latitude);
std::string Readout_Azimuth(double azimuth);
// One tide row (i = 0, 1 high waters, 2, 3 low waters) of the Julian day t
// in the observer's zone: "満15:14", "干09:33", or "満 --" / "干 --" for
// t = 0.0. hour and minute receive the truncated clock time.
std::string Readout_Tide(int i, double t, double longitude, double zone, double* hour,
                         double* minute, double* second);
// "月齢 27.0".
std::string Readout_MoonAge(double age);
// The nearest of 北 北東 東 南東 南 南西 西 北西 to an azimuth (degrees from
// the south toward the west, any value); a tie goes toward the west.
const char* Readout_Direction(double azimuth);
