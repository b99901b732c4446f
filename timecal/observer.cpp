#include "timecal/observer.h"

#include "timecal/julian.h"

double m_input_lat = kObserverDefaults.lat;
double m_input_lon = kObserverDefaults.lon;
double m_input_azmt = kObserverDefaults.azmt;

double latitude0 = 0, longitude0 = 0;
double latitude = 0, longitude = 0;

/*
**  Observer_ZoneHours
**  Civil zone of the observer.
**
**  Returned (function value):
**          double   hours east of UTC: ZoneHours(m_input_lon), +9 at the
**                   defaults
**
**  Notes:
**  1) The clock source's only source of the zone. JD and Calendar derive
**     the same zone from the longitude they are given.
*/
double Observer_ZoneHours() { return ZoneHours(m_input_lon); }

/*
**  Observer_Reset
**  The observer's settings back to their values at start.
**
**  Notes:
**  1) m_input_lat, m_input_lon, m_input_azmt from kObserverDefaults;
**     latitude0, longitude0, latitude, longitude to 0.
*/
void Observer_Reset()
{
    m_input_lat = kObserverDefaults.lat;
    m_input_lon = kObserverDefaults.lon;
    m_input_azmt = kObserverDefaults.azmt;
    latitude0 = longitude0 = latitude = longitude = 0;
}
