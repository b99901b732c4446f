// The observer: the place, the civil zone and the viewing azimuth the
// settings give, and the working copies of the place and zone that the main
// panel sets at the start of every repaint and the position, event and
// panel routines read.
#pragma once
#include <cstdint>

// ---- the observer's settings: their values at start
struct ObserverDefaults {
    double lat;   // north latitude, degrees
    double lon;   // east longitude, degrees; also fixes the civil zone
    double azmt;  // azimuth of the view, degrees from the south toward the west
};
inline constexpr ObserverDefaults kObserverDefaults = {35.6, 139.7, 0.0};

// ---- the settings (the program's settings layers write them at start; the
// window's view keys turn m_input_azmt)
extern double m_input_lat;   // kObserverDefaults.lat
extern double m_input_lon;   // kObserverDefaults.lon
extern double m_input_azmt;  // kObserverDefaults.azmt
// The civil zone, hours east of UTC, when one is set; without one (at
// start) the zone comes from the longitude.
extern bool m_input_zone_set;  // false
extern double m_input_zone;    // 0, read only when m_input_zone_set

// A named zone's rule (daylight saving): the offset east of UTC, seconds,
// in force at an instant given in seconds from 1970-01-01 00:00 UTC. The
// application sets it for a zone given by name; null (at start) leaves
// the fixed zone above. With a rule, m_input_zone_set and m_input_zone
// hold the offset in force at the last reset of a repaint.
using ZoneRule = long (*)(int64_t utc_seconds);
extern ZoneRule m_input_zone_rule;  // nullptr

// ---- working copies of the place (0 at start; set every repaint)
// latitude0, longitude0: read by the position and event routines (the
// new-moon search may also write them); latitude, longitude: by the main
// panel and the graphic panels. zone0_set, zone0: the zone set, copied from
// m_input_zone_set, m_input_zone (false, 0 at start).
extern double latitude0, longitude0;
extern double latitude, longitude;
extern bool zone0_set;
extern double zone0;

// The civil zone that goes with longitude0 wherever a civil date or time of
// the observer becomes a Julian day or back (JD_Zone, Calendar_Zone): zone0
// when zone0_set, else the zone of longitude0 (so a caller that sets only
// longitude0 gets the zone of that longitude, as JD and Calendar do).
double Observer_Zone0();

// Civil zone of the observer in hours east of UTC: m_input_zone when set,
// else the whole hours nearest the longitude m_input_lon (139.7 E gives +9).
// The clock source and the main panel read the zone here.
double Observer_ZoneHours();

// The civil zone in force at a Julian day (UT), hours east of UTC: the
// rule's offset at that instant when a rule is set, else
// Observer_ZoneHours() (the same bits as before).
double Observer_ZoneAt(double jd);
// The offset (seconds east of UTC) of a civil time of the rule, counted in
// seconds from 1970-01-01 00:00 civil time: the offset o for which the
// instant civil - o reads civil again; in an hour repeated by a change the
// earlier (the offset before it), in an hour skipped the offset before it
// (the instant then reads an hour later). Without a rule, the fixed zone.
long Observer_CivilOffset(int64_t civil);

// The view azimuth m_input_azmt taken once into (-180, 180] (exact for the
// settings' range [-360, 360]): the azimuth the view projection turns to.
double Observer_ViewAzimuth();

// The settings back to their values at start, the working copies to 0.
void Observer_Reset();
