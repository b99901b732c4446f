// The read-outs of one instant as one record: the date line, sunrise,
// sunset, moonrise and moonset, the tides of Tokyo Bay, the new moons and the
// Moon's age, the place and (for the almanac) the meridian passages and the
// bodies. The main panel draws it, the almanac prints it as text and JSON.
//
// The searches that depend only on the local date and the place (rise and
// set, tides, the new moons up to the date) are kept from one record to the
// next (events/day_kept.h, events/newmoon_kept.h).
#pragma once
#include <ctime>
#include <string>

#include "ephem/bodies.h"

struct KoyomiPlace {
    double latitude;   // degrees, north positive
    double longitude;  // degrees, east positive
    double zone;       // civil zone, hours east of UTC (the zone set, or the longitude's)
    bool zone_set;     // the zone was set (false: from the longitude)
    double azimuth;    // the view, degrees from the south toward the west
};

// The instant and the place of one repaint (or one almanac record), as
// values: the observer's civil time (the clock reading), its Julian day (UT)
// and the place and view of the settings. The repaint's reset writes the
// design's globals from it.
struct RepaintInstant {
    struct tm civil;
    double jd;
    KoyomiPlace place;
};

// A body as the planet panel computes it (PanelBody): ecliptic and
// equatorial coordinates of date, degrees; az from the south, + west; el.
struct KoyomiBody {
    double lam, bet, ra, dec, az, el;
};

struct KoyomiReadouts {
    // ---- the instant: the clock reading (the observer's civil time), its
    // Julian day (UT), the place and the view
    RepaintInstant at;
    // ---- the date line: the civil date and whole h:m:s that Calendar gives
    // back for the Julian day (Koyomi_DateTimeZone)
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
    // ---- filled only with extras (the almanac): the meridian passages
    // (upper culmination, south or north of the zenith; local hours, found
    // or not) and the bodies by body index
    bool extras;
    double sun_transit, moon_transit;
    bool sun_transit_found, moon_transit_found;
    KoyomiBody bodies[kPanelBodies];
};

// The instant of a clock reading at the place and view of the settings
// (m_input_lat, m_input_lon, the zone, m_input_azmt): its Julian day from
// the civil time in the observer's zone.
RepaintInstant RepaintInstant_At(const struct tm& civil);
// The repaint's reset, the one place that writes the design's globals of an
// instant: the chart geometry, projection and centre; the observer's working
// copies of the place and zone (latitude, latitude0, longitude, longitude0,
// zone0_set, zone0); the Julian day (jd, jd0, jdstart, jd_auto).
void Koyomi_Reset(const RepaintInstant& at);
// The date line's date and time of day of a Julian day (UT): the civil date
// and whole hours, minutes and seconds at the observer, the same h:m:s the
// clock read for a whole-second reading; in the zone of the longitude, or
// in the zone given.
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second);
void Koyomi_DateTimeZone(double jd, double longitude, double zone, double* year, double* month,
                         double* day, double* hour, double* minute, double* second);

// The record of an instant (the shared state reset first, left as the day's
// searches leave it); with extras the transits and bodies too. The clock
// reading's form takes the instant at the settings' place.
void Koyomi_Readouts(const RepaintInstant& at, bool extras, KoyomiReadouts* r);
void Koyomi_Readouts(const struct tm& now, bool extras, KoyomiReadouts* r);

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
