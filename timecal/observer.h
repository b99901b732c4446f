// The observer: the place and the viewing azimuth the settings give, and
// the working copies of the place that the main panel sets at the start of
// every repaint and the position, event and panel routines read.
#pragma once

// ---- the observer's settings: their values at start
struct ObserverDefaults {
    double lat;   // north latitude, degrees
    double lon;   // east longitude, degrees; also fixes the civil zone
    double azmt;  // azimuth of the view, degrees from the south toward the west
};
inline constexpr ObserverDefaults kObserverDefaults = {35.6, 139.7, 0.0};

// ---- the settings (the program itself never writes them)
extern double m_input_lat;   // kObserverDefaults.lat
extern double m_input_lon;   // kObserverDefaults.lon
extern double m_input_azmt;  // kObserverDefaults.azmt

// ---- working copies of the place (0 at start; set every repaint)
// latitude0, longitude0: read by the position and event routines (the
// new-moon search may also write them); latitude, longitude: by the main
// panel and the graphic panels.
extern double latitude0, longitude0;
extern double latitude, longitude;

// Civil zone of the observer in hours east of UTC: the whole hours nearest
// the longitude m_input_lon (139.7 E gives +9). The clock source reads the
// zone here; JD and Calendar derive the same zone from the longitude they
// are given (m_input_lon, longitude0 or longitude).
double Observer_ZoneHours();

// The settings back to their values at start, the working copies to 0.
void Observer_Reset();
