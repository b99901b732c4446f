// The rise, set and tide searches of a local date at one place, kept from
// one call to the next (day_kept.h).
#include "events/day_kept.h"

#include "ephem/position.h"
#include "events/civil_day.h"
#include "events/newmoon_kept.h"
#include "events/riseset.h"
#include "events/tide.h"
#include "timecal/julian.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"
#include "timecal/timerec.h"

namespace {

// Everything the rise, set and tide searches of a date depend on, their
// results, and the shared state they leave behind that does not change with
// the instant of the date (Auto_Time and hour0 do: they are redone for each
// instant, as the searches themselves do first).
struct Kept {
    DayKept day{};
    bool valid = false;
    // the key (with the observer's date in day)
    double tide_year = 0, tide_month = 0, tide_day = 0;  // local date at the station
    double lat0 = 0, lon0 = 0, zone = 0;     // latitude0, longitude0, Observer_Zone0
    const void* tides_owner = nullptr;       // the source of the tides (null: Tokyo Bay)
    // the shared state left by the searches
    tagPosition sun{}, moon{};
    double jd0 = 0;
    // with another source of tides: the calendar scratch as the rise and
    // set searches leave it (the Tokyo Bay search is not run)
    double scratch[4] = {};
};
Kept g_day;
DayTides g_tides{};  // owner null: Tokyo Bay
long g_day_searches = 0;

// The day of jd at the observer: searched when the date, the station's date
// or the place differs from the kept one, otherwise taken from it; either
// way the shared state is left as the searches leave it.
const DayKept& Day(double jd)
{
    // the dates exactly as the searches take them (Body_Event, Tide_Cal)
    const double zone = Observer_Zone0();
    double y, m, d, h;
    Calendar_Zone(jd, &y, &m, &d, &h, longitude0, zone);
    double ty, tm, td, th;
    const bool other = g_tides.owner != nullptr;
    if (!other) {
        Calendar(jd, &ty, &tm, &td, &th, 0, kTideStationLon);
    } else {
        // the source's local date, by the Julian day of its 0 h
        ty = g_tides.key(jd);
        tm = td = th = 0;
    }

    const Kept& k = g_day;
    const bool same = k.valid && k.day.year == y && k.day.month == m && k.day.day == d &&
                      k.tide_year == ty && k.tide_month == tm && k.tide_day == td &&
                      k.lat0 == latitude0 && k.lon0 == longitude0 && k.zone == zone &&
                      k.tides_owner == g_tides.owner;
    if (!same) {
        // the rows' searches in their order, each result stored in its record
        ++g_day_searches;
        Kept n;
        n.valid = true;
        n.day.year = y; n.day.month = m; n.day.day = d;
        n.tide_year = ty; n.tide_month = tm; n.tide_day = td;
        n.lat0 = latitude0; n.lon0 = longitude0; n.zone = zone;
        n.tides_owner = g_tides.owner;
        const CivilDay civil = CivilDay_Of(y, m, d, longitude0);
        if (CivilDay_Changes(civil, zone)) {
            // a named zone's change on the date: the searches over its span
            Cal_Auto_Time(jd, &Auto_Time);
            n.day.sunrise = Sun.rise_time =
                CivilDay_Event(civil, kBodySun, EventKind::Rise, &n.day.sunrise_found);
            n.day.sunset = Sun.set_time =
                CivilDay_Event(civil, kBodySun, EventKind::Set, &n.day.sunset_found);
            n.day.moonrise = Moon.rise_time =
                CivilDay_Event(civil, kBodyMoon, EventKind::Rise, &n.day.moonrise_found);
            n.day.moonset = Moon.set_time =
                CivilDay_Event(civil, kBodyMoon, EventKind::Set, &n.day.moonset_found);
        } else {
            n.day.sunrise = Sun.rise_time = Cal_Rise_Found(jd, kBodySun, &n.day.sunrise_found);
            n.day.sunset = Sun.set_time = Cal_Set_Found(jd, kBodySun, &n.day.sunset_found);
            n.day.moonrise = Moon.rise_time = Cal_Rise_Found(jd, kBodyMoon, &n.day.moonrise_found);
            n.day.moonset = Moon.set_time = Cal_Set_Found(jd, kBodyMoon, &n.day.moonset_found);
        }
        // neither sunrise nor sunset: the Sun's altitude at noon tells
        // polar day from polar night
        if (!n.day.sunrise_found && !n.day.sunset_found) {
            const double noon = JD_Zone(y, m, d, 12, longitude0, zone);
            n.day.polar =
                Event_Altitude(kBodySun, noon, latitude0, longitude0) > kAltitudeHorizon ? 1 : -1;
        }
        if (!other) {
            Tide_Cal(jd);
            for (int i = 0; i < 8; i++) n.day.tide[i] = Tide[i];
        } else {
            g_tides.day(jd, n.day.tide);
            for (int i = 0; i < 8; i++) Tide[i] = n.day.tide[i];
            n.scratch[0] = year0; n.scratch[1] = month0; n.scratch[2] = day0; n.scratch[3] = hour0;
        }
        n.sun = Sun;
        n.moon = Moon;
        n.jd0 = jd0;
        g_day = n;
        return g_day.day;
    }

    // what the searches would leave: Auto_Time of the instant (each search
    // fills it first), the records of their last samples, the tide record,
    // the tide search's last sample and its calendar scratch
    Cal_Auto_Time(jd, &Auto_Time);
    Sun = k.sun;
    Moon = k.moon;
    for (int i = 0; i < 8; i++) Tide[i] = k.day.tide[i];
    jd0 = k.jd0;
    if (!other) {
        year0 = ty; month0 = tm; day0 = td; hour0 = th;
    } else {
        year0 = k.scratch[0]; month0 = k.scratch[1]; day0 = k.scratch[2]; hour0 = k.scratch[3];
    }
    return k.day;
}

}  // namespace

/*
**  DayEvents_Kept
**  Sunrise, sunset, moonrise and moonset of the local date of jd, and its
**  tides, searched once a date and place.
**
**  Given:
**     jd   double   Julian day (UT); latitude0, longitude0 and the zone
**                   (Observer_Zone0) as the repaint's reset leaves them
**
**  Returned (function value):
**     const DayKept&   the observer's local date; sunrise, sunset,
**                      moonrise, moonset in local decimal hours and whether
**                      each was found; polar day or night; the tide record
**
**  Notes:
**  1) The searches (Cal_Rise_Found, Cal_Set_Found for the Sun and the
**     Moon, with the Sun's altitude at noon where it neither rises nor
**     sets; Tide_Cal) run when the observer's date, the station's date or
**     the place or zone differs from the last kept; otherwise their results
**     are taken from it and the shared state is set as they leave it: the
**     Sun and Moon records (with rise_time, set_time), Tide, jd0, year0,
**     month0, day0, hour0 and Auto_Time of jd.
**
**  Called:  Calendar_Zone, Calendar, Cal_Rise_Found, Cal_Set_Found,
**           Event_Altitude, Tide_Cal, Cal_Auto_Time
*/
const DayKept& DayEvents_Kept(double jd) { return Day(jd); }

/*
**  DayEvents_SetTides
**  The source of the day's tides: another than the Tokyo Bay search
**  (copied), or null for Tokyo Bay. The kept day is searched again when
**  the source changes.
*/
void DayEvents_SetTides(const DayTides* tides) { g_tides = tides ? *tides : DayTides{}; }

/*
**  DayEvents_Searches
**  How many times the searches of a day have run since the program began.
*/
long DayEvents_Searches() { return g_day_searches; }

/*
**  KeptSearches_Forget
**  The kept day and the kept new moons forgotten: the next record searches
**  again.
**
**  Called:  FirstdayCal1_Forget
*/
void KeptSearches_Forget()
{
    g_day = Kept{};
    FirstdayCal1_Forget();
}
