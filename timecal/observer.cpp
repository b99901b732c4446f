#include "timecal/observer.h"

#include "timecal/julian.h"

#include <cmath>

double m_input_lat = kObserverDefaults.lat;
double m_input_lon = kObserverDefaults.lon;
double m_input_azmt = kObserverDefaults.azmt;
bool m_input_zone_set = false;
double m_input_zone = 0;
ZoneRule m_input_zone_rule = nullptr;

double latitude0 = 0, longitude0 = 0;
double latitude = 0, longitude = 0;
bool zone0_set = false;
double zone0 = 0;

/*
**  Observer_ZoneHours
**  Civil zone of the observer.
**
**  Returned (function value):
**          double   hours east of UTC: m_input_zone when m_input_zone_set,
**                   else ZoneHours(m_input_lon); +9 at the defaults
**
**  Notes:
**  1) The clock source's and the main panel's source of the zone. JD and
**     Calendar derive the zone of the longitude they are given; JD_Zone
**     and Calendar_Zone take this one.
*/
double Observer_ZoneHours() { return m_input_zone_set ? m_input_zone : ZoneHours(m_input_lon); }

/*
**  Observer_Zone0
**  Civil zone that goes with the working longitude longitude0.
**
**  Returned (function value):
**          double   hours east of UTC: zone0 when zone0_set, else
**                   ZoneHours(longitude0)
**
**  Notes:
**  1) The searches and the time records convert the observer's civil time
**     with it (JD_Zone, Calendar_Zone at longitude0). A caller that sets
**     only longitude0 gets the zone of that longitude, as JD and Calendar
**     give it, to the bit.
*/
double Observer_Zone0() { return zone0_set ? zone0 : ZoneHours(longitude0); }

/*
**  Observer_ZoneAt
**  Civil zone in force at an instant.
**
**  Given:
**     jd   double   Julian day (UT)
**
**  Returned (function value):
**          double   hours east of UTC: m_input_zone_rule's offset at jd
**                   (the whole second at or before it) when a rule is set,
**                   else Observer_ZoneHours()
*/
double Observer_ZoneAt(double jd)
{
    if (!m_input_zone_rule) return Observer_ZoneHours();
    const double s = std::floor((jd - 2440587.5) * 86400);
    return m_input_zone_rule(static_cast<int64_t>(s)) / 3600.0;
}

/*
**  Observer_CivilOffset
**  The offset of a civil time under the zone's rule.
**
**  Given:
**     civil   int64_t   civil seconds from 1970-01-01 00:00
**
**  Returned (function value):
**          long     seconds east of UTC: without a rule the fixed zone
**                   (Observer_ZoneHours); with one, the offset o with
**                   rule(civil - o) = o, the offset before the change
**                   when both (a repeated hour) or neither (a skipped
**                   hour) do
**
**  Notes:
**  1) The offsets a day before and a day after stand for the two sides of
**     a change; zones change at most once within two days.
*/
long Observer_CivilOffset(int64_t civil)
{
    if (!m_input_zone_rule) return std::lround(Observer_ZoneHours() * 3600);
    const long before = m_input_zone_rule(civil - 86400);
    const long after = m_input_zone_rule(civil + 86400);
    if (before == after) return before;
    if (m_input_zone_rule(civil - before) == before) return before;
    if (m_input_zone_rule(civil - after) == after) return after;
    return before;
}

/*
**  Observer_ViewAzimuth
**  The view azimuth the view projection turns to.
**
**  Returned (function value):
**          double   m_input_azmt taken once into (-180, 180], degrees from
**                   the south toward the west
**
**  Notes:
**  1) For the settings' range [-360, 360] one step suffices and is exact
**     (a difference of 360 from a value between 180 and 360 in size), so
**     the direction is the same to the bit; 0 stays 0. The view offset
**     of the panels (ViewOffset) folds once and needs the view azimuth in
**     [-180, 180] for every azimuth of Az_El.
*/
double Observer_ViewAzimuth()
{
    double a = m_input_azmt;
    if (a > 180) a -= 360;
    else if (a <= -180) a += 360;
    return a;
}

/*
**  Observer_Reset
**  The observer's settings back to their values at start.
**
**  Notes:
**  1) m_input_lat, m_input_lon, m_input_azmt from kObserverDefaults, no
**     zone set; latitude0, longitude0, latitude, longitude, zone0 to 0,
**     zone0_set false.
*/
void Observer_Reset()
{
    m_input_lat = kObserverDefaults.lat;
    m_input_lon = kObserverDefaults.lon;
    m_input_azmt = kObserverDefaults.azmt;
    m_input_zone_set = false;
    m_input_zone = 0;
    m_input_zone_rule = nullptr;
    latitude0 = longitude0 = latitude = longitude = 0;
    zone0_set = false;
    zone0 = 0;
}
