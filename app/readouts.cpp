// The read-outs of one instant as one record, with the searches of the day
// kept between records, and the texts the picture and the almanac print.
#include "app/readouts.h"

#include <cmath>
#include <cstdio>

#include "events/civil_day.h"
#include "ephem/position.h"
#include "panels/display_settings.h"
#include "panels/labels.h"
#include "events/day_kept.h"
#include "events/newmoon_kept.h"
#include "events/riseset.h"
#include "events/tide.h"
#include "timecal/clock.h"
#include "timecal/julian.h"
#include "timecal/observer.h"
#include "timecal/time_state.h"
#include "timecal/timerec.h"

namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

}  // namespace

/*
**  Koyomi_DateTimeZone
**  The date line's date and time of day of a Julian day, in a zone given.
**
**  Given:
**     jd          double    Julian day (UT)
**     longitude   double    east longitude, degrees (local mean time)
**     zone        double    civil zone, hours east of UTC
**
**  Returned:
**     year, month, day        double*   civil date at the observer
**     hour, minute, second    double*   whole hours, minutes and seconds
**
**  Notes:
**  1) The clock reads whole seconds; the round trip through the Julian day
**     loses some microseconds, so the time is split half a second on and
**     truncated: the line then shows the same second as the clock.
**
**  Called:  Calendar_Zone
*/
void Koyomi_DateTimeZone(double jd, double longitude, double zone, double* year, double* month,
                         double* day, double* hour, double* minute, double* second)
{
    double hr;
    Calendar_Zone(jd + 0.5 / 86400, year, month, day, &hr, longitude, zone);
    *hour = std::floor(hr);
    *minute = std::floor((hr - *hour) * 60);
    *second = hr * 3600 - *hour * 3600 - *minute * 60;
}

/*
**  Koyomi_DateTime
**  The date line's date and time of day of a Julian day, in the zone of
**  the longitude (Koyomi_DateTimeZone with ZoneHours(longitude)).
*/
void Koyomi_DateTime(double jd, double longitude, double* year, double* month, double* day,
                     double* hour, double* minute, double* second)
{
    Koyomi_DateTimeZone(jd, longitude, ZoneHours(longitude), year, month, day, hour, minute,
                        second);
}

/*
**  RepaintInstant_At
**  The instant of a clock reading at the settings' place.
**
**  Given:
**     civil   struct tm   the clock reading (Clock_Now): the observer's
**                         civil date and time
**
**  Returned (function value):
**     RepaintInstant   civil; jd from JD_Zone at m_input_lon in the
**                      observer's zone (Observer_ZoneHours); the place
**                      m_input_lat, m_input_lon, that zone, m_input_zone_set
**                      and m_input_azmt
**
**  Called:  JD_Zone, Observer_ZoneHours
*/
RepaintInstant RepaintInstant_At(const struct tm& civil)
{
    double year = civil.tm_year + 1900.0;
    double month = civil.tm_mon + 1.0;
    double day = civil.tm_mday;
    double H = civil.tm_hour + civil.tm_min * (1.0 / 60) + civil.tm_sec * (1.0 / 3600);
    // a named zone: the offset the reading is in, as the fixed zone
    if (m_input_zone_rule) {
        m_input_zone_set = true;
        m_input_zone = Clock_ReadingOffset(Clock_CivilFromFields(
                           civil.tm_year + 1900, civil.tm_mon + 1, civil.tm_mday, civil.tm_hour,
                           civil.tm_min, civil.tm_sec)) / 3600.0;
    }
    const double zone = Observer_ZoneHours();
    RepaintInstant at;
    at.civil = civil;
    at.jd = JD_Zone(year, month, day, H, m_input_lon, zone);
    at.place = KoyomiPlace{m_input_lat, m_input_lon, zone, m_input_zone_set, m_input_azmt};
    return at;
}

/*
**  Koyomi_Reset
**  The shared state of a repaint, written from its instant.
**
**  Given:
**     at   RepaintInstant   the instant and the place
**
**  Notes:
**  1) The chart geometry, the projection and the chart centre
**     (DisplaySettings_StartRepaint); latitude, latitude0 and longitude,
**     longitude0 from the place; zone0_set and zone0 the zone set (0 when
**     none); the Julian day into jd, jd0, jdstart and jd_auto.
**  2) The command-line almanac resets the same way (Koyomi_Readouts).
**
**  Called:  DisplaySettings_StartRepaint
*/
void Koyomi_Reset(const RepaintInstant& at)
{
    // chart geometry, projection and centre
    DisplaySettings_StartRepaint();

    // observer
    latitude = latitude0 = at.place.latitude;
    longitude = longitude0 = at.place.longitude;
    zone0_set = at.place.zone_set;
    zone0 = at.place.zone_set ? at.place.zone : 0.0;

    // Julian day of the present moment
    jd = jd0 = jdstart = at.jd;
    jd_auto = jd0;
}

/*
**  Koyomi_Readouts
**  The read-outs of the clock reading now, into one record.
**
**  Notes:
**  1) The order is the picture's: the shared state reset and the Julian
**     day (Koyomi_Reset), the date line, the new moons, the rise, set and
**     tide searches of the day (kept), the place; with extras then the
**     meridian passages and the bodies.
**  2) The new moons come first, so that whatever their search leaves in the
**     shared records is overwritten by the day's searches (or by what the
**     kept day restores) exactly as in a repaint without kept searches.
**
**  Called:  Koyomi_Reset, Koyomi_DateTimeZone, FirstdayCal1_Kept, DayEvents_Kept,
**           Cal_Top_Found,
**           PanelBody
*/
void Koyomi_Readouts(const struct tm& now, bool extras, KoyomiReadouts* r)
{
    Koyomi_Readouts(RepaintInstant_At(now), extras, r);
}

void Koyomi_Readouts(const RepaintInstant& at, bool extras, KoyomiReadouts* r)
{
    Koyomi_Reset(at);
    r->at = at;

    // the date line, splitting the time as the date line does
    Koyomi_DateTimeZone(jd0, longitude, Observer_Zone0(), &r->line_year, &r->line_month,
                        &r->line_day, &Hour, &minute, &second);
    r->line_hour = Hour;
    r->line_minute = minute;
    r->line_second = second;

    // the new moons up to the date and the Moon's age
    FirstdayCal1_Kept(jd, &r->newmoon1, &r->newmoon2);
    r->moon_age = MoonAgeDays_Kept(jd);

    // sunrise, sunset, moonrise, moonset and the tides of the day
    const DayKept& day = DayEvents_Kept(jd);
    r->event_year = day.year;
    r->event_month = day.month;
    r->event_day = day.day;
    r->sunrise = day.sunrise;
    r->sunset = day.sunset;
    r->moonrise = day.moonrise;
    r->moonset = day.moonset;
    r->sunrise_found = day.sunrise_found;
    r->sunset_found = day.sunset_found;
    r->moonrise_found = day.moonrise_found;
    r->moonset_found = day.moonset_found;
    r->polar = day.polar;
    for (int i = 0; i < 8; i++) r->tide[i] = day.tide[i];

    r->extras = extras;
    r->sun_transit = r->moon_transit = kNoEvent;
    r->sun_transit_found = r->moon_transit_found = false;
    for (KoyomiBody& b : r->bodies) b = KoyomiBody{};
    if (!extras) return;
    const CivilDay civil = CivilDay_Of(day.year, day.month, day.day, longitude0);
    if (CivilDay_Changes(civil, Observer_Zone0())) {
        // a named zone's change on the date: the culminations over its span
        r->sun_transit = CivilDay_Event(civil, kBodySun, EventKind::Culmination, &r->sun_transit_found);
        r->moon_transit =
            CivilDay_Event(civil, kBodyMoon, EventKind::Culmination, &r->moon_transit_found);
    } else {
        r->sun_transit = Cal_Top_Found(jd, kBodySun, &r->sun_transit_found);
        r->moon_transit = Cal_Top_Found(jd, kBodyMoon, &r->moon_transit_found);
    }
    for (int i = 0; i < kPanelBodies; i++) {
        KoyomiBody& b = r->bodies[i];
        const tagPosition* p = PanelBody(i, jd, &b.az, &b.el);
        b.lam = p->lam;
        b.bet = p->bet;
        b.ra = p->ra;
        b.dec = p->dec;
    }
}

// ---- texts

/*
**  Readout_DateLine
**  The date line of a record, Shift_JIS (in the label set in use,
**  labels.h; the Japanese shown here).
**
**  Returned (function value):
**          std::string   "        日時  %04d/%02d/%02d %02d:%02d:%02d
**                        ユリウス通日 %12.5f" (one line) with the date line's
**                        date and time and the Julian day
*/
std::string Readout_DateLine(const KoyomiReadouts& r)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, Label(LabelId::DateLine),
                  (int)r.line_year, (int)r.line_month, (int)r.line_day, (int)r.line_hour,
                  (int)r.line_minute, (int)r.line_second, r.at.jd);
    return buf;
}

/*
**  Readout_Event
**  One event row: "label hh:mm" (hh = floor(r), mm = floor((r - hh) * 60):
**  5.999 h is 05:59), or "label --" when none is true.
*/
std::string Readout_Event(const char* label, double r, bool none)
{
    char buf[64];
    if (none) {
        std::snprintf(buf, sizeof buf, "%s --", label);
    } else {
        int hh = (int)std::floor(r);
        int mm = (int)std::floor((r - std::floor(r)) * 60);
        std::snprintf(buf, sizeof buf, "%s %02d:%02d", label, hh, mm);
    }
    return buf;
}

/*
**  Readout_Clock, Readout_Longitude, Readout_Latitude, Readout_Azimuth,
**  Readout_MoonAge
**  "時刻 %02.0f:%02.0f:%02.0f" of the clock reading; "東経 %3.1f", or
**  "西経 %3.1f" with the absolute value of a west longitude; "北緯 %3.1f"
**  or "南緯 %3.1f"; "方位角 %3.0f" (a view from -0.5 to 0 as 0, without
**  a sign); "月齢 %4.1f".
*/
std::string Readout_Clock(const struct tm& now)
{
    return Format(Label(LabelId::Clock), now.tm_hour, now.tm_min, now.tm_sec);
}

std::string Readout_Longitude(double lon)
{
    return lon < 0 ? Format(Label(LabelId::WestLongitude), -lon)
                   : Format(Label(LabelId::EastLongitude), lon);
}

std::string Readout_Latitude(double lat)
{
    return lat < 0 ? Format(Label(LabelId::SouthLatitude), -lat)
                   : Format(Label(LabelId::NorthLatitude), lat);
}

std::string Readout_Azimuth(double azimuth)
{
    // a view that rounds to zero prints "0", never "-0"
    if (azimuth >= -0.5 && azimuth <= 0) azimuth = 0.0;
    return Format(Label(LabelId::Azimuth), azimuth);
}

/*
**  Readout_Tide
**  One tide row.
**
**  Given:
**     i           int      0, 1 the high waters, 2, 3 the low waters
**     t           double   Julian day (UT) of the tide, 0.0 none
**     lon, zone   double   the observer's longitude (degrees) and zone (hours)
**
**  Returned:
**     hour, min, sec   double*   the truncated clock time of t
**     (function value) std::string   "満%02.0f:%02.0f" or "干%02.0f:%02.0f",
**                      or "満 --" / "干 --" for 0.0
**
**  Called:  Calendar_Zone
*/
std::string Readout_Tide(int i, double t, double lon, double zone, double* hour, double* min,
                         double* sec)
{
    const bool high = i < 2;
    double y, mo, d, hr;
    Calendar_Zone(t, &y, &mo, &d, &hr, lon, zone);
    *hour = std::floor(hr);
    *min = std::floor((hr - *hour) * 60);
    *sec = hr * 3600 - *hour * 3600 - *min * 60;
    if (t == 0.0) return Label(high ? LabelId::HighNone : LabelId::LowNone);
    return Format(Label(high ? LabelId::HighTime : LabelId::LowTime), *hour, *min);
}

std::string Readout_MoonAge(double age) { return Format(Label(LabelId::MoonAge), age); }

/*
**  Readout_Direction
**  The nearest of the eight directions to an azimuth.
**
**  Given:
**     azimuth   double   degrees from the south toward the west, any value
**
**  Returned (function value):
**          const char*   南, 南西, 西, 北西, 北, 北東, 東 or 南東 (Shift_JIS)
**                        for the nearest multiple of 45 degrees; a tie goes
**                        toward the west
*/
const char* Readout_Direction(double azimuth)
{
    double a = azimuth - 360 * std::floor(azimuth / 360);  // [0, 360]
    int k = static_cast<int>(std::floor(a / 45 + 0.5)) % 8;
    return Labels_Direction(k);
}
