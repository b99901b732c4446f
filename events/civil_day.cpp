// The local civil date as a span of UT, and the searches over it.
#include "events/civil_day.h"

#include <cmath>

#include "timecal/clock.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

namespace {

// The Julian day of local 00:00 of a civil date under the zone's rule.
double Midnight(int y, int m, int d, double lon)
{
    const int64_t civil = Clock_CivilFromFields(y, m, d, 0, 0, 0);
    const double zone = Observer_CivilOffset(civil) / 3600.0;
    return JD_Zone(y, m, d, 0, lon, zone);
}

}  // namespace

/*
**  CivilDay_Of
**  The local date as a span of UT.
**
**  Given:
**     y, m, d   double   the civil date
**     lon       double   east longitude, degrees
**
**  Returned (function value):
**          CivilDay   the Julian day of its 00:00 and the hours to the
**                     next day's 00:00, each 00:00 in the offset in force
**                     then (Observer_CivilOffset; a 00:00 skipped by a
**                     change counts from the first instant of the date)
**
**  Notes:
**  1) Before 1900 JD_Zone takes local mean time: 24 hours.
*/
CivilDay CivilDay_Of(double y, double m, double d, double lon)
{
    const struct tm next = Clock_Fields(Clock_CivilFromFields((int)y, (int)m, (int)d, 0, 0, 0) + 86400);
    const double a = Midnight((int)y, (int)m, (int)d, lon);
    const double b = Midnight(next.tm_year + 1900, next.tm_mon + 1, next.tm_mday, lon);
    return CivilDay{a, (b - a) * 24};
}

/*
**  CivilDay_Changes
**  Whether a date needs the span search.
**
**  Given:
**     day    CivilDay   the date's span
**     zone   double     the fixed zone the ordinary searches take, hours
**
**  Returned (function value):
**          bool   true when a zone's rule is set and the offset at the
**                 start or at the end of the span is not zone (the date
**                 holds a change, or the reading is in another offset)
*/
bool CivilDay_Changes(const CivilDay& day, double zone)
{
    if (!m_input_zone_rule || day.start <= kJdZoneSwitch + 1) return false;  // local mean time
    const double end = day.start + day.hours / 24;
    return Observer_ZoneAt(day.start) != zone || Observer_ZoneAt(end) != zone ||
           std::fabs(day.hours - 24) > 1e-6;
}

/*
**  CivilDay_Event
**  One rise, set or culmination over the span of a civil date.
**
**  Given:
**     day    CivilDay    the span (CivilDay_Of)
**     body   int         kBodySun, kBodyMoon (topocentric) or a planet code
**     kind   EventKind   Rise, Set (the centre at -0.85 degree) or
**                        Culmination (upper)
**
**  Returned:
**     found  bool*    whether there is one (may be null)
**     (function value) double   local clock time of the event, hours, in
**                   the offset in force at it (Observer_ZoneAt); kNoEvent
**                   without one
**
**  Notes:
**  1) The span searches of events/riseset (Event_Rise, Event_Set,
**     Event_Culmination) at latitude0 and longitude0 over the whole span,
**     23 or 25 hours on a change; they leave the shared records alone.
**
**  Called:  Event_Rise, Event_Set, Event_Culmination, Calendar_Zone,
**           Observer_ZoneAt
*/
double CivilDay_Event(const CivilDay& day, int body, EventKind kind, bool* found)
{
    EventTime e{};
    switch (kind) {
    case EventKind::Rise:
        e = Event_Rise(body, kAltitudeHorizon, latitude0, longitude0, day.start, day.hours);
        break;
    case EventKind::Set:
        e = Event_Set(body, kAltitudeHorizon, latitude0, longitude0, day.start, day.hours);
        break;
    default: e = Event_Culmination(body, latitude0, longitude0, day.start, day.hours); break;
    }
    if (found) *found = e.found;
    if (!e.found) return kNoEvent;
    double y, m, d, h;
    Calendar_Zone(e.jd, &y, &m, &d, &h, longitude0, Observer_ZoneAt(e.jd));
    return h;
}
