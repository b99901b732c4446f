// The almanac for the command line: the read-outs record of an instant (or
// of a run of days) printed as text, as a table or as JSON.
#include "app/almanac.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <nlohmann/json.hpp>

#include "app/planner.h"
#include "app/named_zone.h"
#include "app/readout_rows.h"
#include "app/readouts.h"
#include "app/settings.h"
#include "app/tide_choice.h"
#include "toolkit/sjis.h"
#include "ephem/bodies.h"
#include "events/riseset.h"
#include "panels/labels.h"
#include "events/tide.h"
#include "timecal/clock.h"
#include "timecal/constants.h"
#include "timecal/julian.h"
#include "timecal/observer.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr long kSecondsPerDay = 86400;
constexpr double kTokyoBayLat = 35.6;  // the place the Tokyo Bay model stands for
constexpr double kFarStationKm = 100;  // the almanac says how far a station farther lies

// A read-out as UTF-8 without its leading blanks.
std::string Line(const std::string& sjis)
{
    std::string line = SjisToUtf8(sjis);
    line.erase(0, line.find_first_not_of(' '));
    return line;
}

// ---- local times with their offset

// Offset of the civil time east of UTC, seconds: local mean time of the
// longitude, or the zone.
long OffsetSeconds(bool mean_time, const KoyomiPlace& p)
{
    return std::lround(mean_time ? p.longitude * 240 : p.zone * 3600);
}

// The same for a local time of a civil date: a named zone's offset in force
// at it (the earlier in an hour a change repeats).
long OffsetSeconds(bool mean_time, const KoyomiPlace& p, int year, int month, int day,
                   double hours)
{
    if (mean_time || !m_input_zone_rule) return OffsetSeconds(mean_time, p);
    const long s = std::clamp(static_cast<long>(std::floor(hours * 3600)), 0L, kSecondsPerDay - 1);
    return Observer_CivilOffset(Clock_CivilFromFields(year, month, day, 0, 0, 0) + s);
}

// A civil date's time as JD takes it: local mean time before the adjusted
// year 1900 (January and February 1900 included).
bool MeanTimeOfDate(double year, double month)
{
    return (month < 3 ? year - 1 : year) < 1900;
}

// An event of the searches' local date: null when not found.
Json EventLocal(const KoyomiReadouts& r, double hours, bool found)
{
    if (!found) return nullptr;
    return Almanac_LocalIso((int)r.event_year, (int)r.event_month, (int)r.event_day, hours,
                            OffsetSeconds(MeanTimeOfDate(r.event_year, r.event_month), r.at.place,
                                          (int)r.event_year, (int)r.event_month,
                                          (int)r.event_day, hours));
}

// A Julian day as the picture converts it (Calendar_Zone: local mean time up
// to JD 2415000.0); null for 0.0 (none).
Json DayLocal(const KoyomiReadouts& r, double t)
{
    if (t == 0.0) return nullptr;
    double y, m, d, h;
    KoyomiPlace at = r.at.place;
    at.zone = Observer_ZoneAt(t);
    Calendar_Zone(t, &y, &m, &d, &h, at.longitude, at.zone);
    return Almanac_LocalIso((int)y, (int)m, (int)d, h, OffsetSeconds(t <= kJdZoneSwitch, at));
}

Json TimeOrNull(double r, bool found) { return found ? Json(r) : Json(nullptr); }
Json DayOrNull(double jd) { return jd == 0.0 ? Json(nullptr) : Json(jd); }

// The tides' station as JSON: the chosen station, the Tokyo Bay model, or
// null when no station lies near enough.
Json TideStationJson(const KoyomiReadouts& r)
{
    const TideChoice& c = TideChoice_Current();
    const KoyomiPlace& p = r.at.place;
    if (c.source == TideSource::TokyoBay) {
        const double km = Tide_DistanceKm(p.latitude, p.longitude, kTokyoBayLat, kTideStationLon);
        return {{"id", kTideTokyoBay}, {"name", SjisToUtf8("東京湾")}, {"latitude", kTokyoBayLat},
                {"longitude", kTideStationLon}, {"timezone", "Asia/Tokyo"},
                {"source", "four-constituent harmonic model (M2, S2, K1, O1)"},
                {"license", nullptr}, {"distance_km", std::round(km * 10) / 10},
                {"datum", "the model's datum (mean water level 1.17 m above it)"}};
    }
    if (c.source == TideSource::None || !c.station) return nullptr;
    const TideStation& s = *c.station;
    Json j = {{"id", s.id}, {"name", s.name_ja.empty() ? s.name : s.name_ja}, {"name_en", s.name},
              {"region", s.region}, {"country", s.country}, {"latitude", s.latitude},
              {"longitude", s.longitude}, {"timezone", s.timezone}, {"source", s.source},
              {"license", s.license},
              {"distance_km", std::round(Tide_DistanceKm(p.latitude, p.longitude, s.latitude,
                                                          s.longitude) * 10) / 10},
              {"datum", s.datum}, {"type", s.subordinate ? "subordinate" : "reference"}};
    if (s.subordinate) j["reference"] = s.reference;
    return j;
}

// The record of one instant as one JSON object.
Json Object(const KoyomiReadouts& r)
{
    const struct tm& now = r.at.civil;
    char local[80];
    std::snprintf(local, sizeof local, "%04d-%02d-%02d %02d:%02d:%02d", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    const double now_year = now.tm_year + 1900.0, now_month = now.tm_mon + 1.0;

    Json j;
    j["jd"] = r.at.jd;
    j["jd_local"] = Almanac_LocalIso(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday,
                                     now.tm_hour + now.tm_min / 60.0 + now.tm_sec / 3600.0,
                                     OffsetSeconds(MeanTimeOfDate(now_year, now_month), r.at.place));
    j["local"] = local;
    j["sunrise"] = TimeOrNull(r.sunrise, r.sunrise_found);
    j["sunrise_local"] = EventLocal(r, r.sunrise, r.sunrise_found);
    j["sunset"] = TimeOrNull(r.sunset, r.sunset_found);
    j["sunset_local"] = EventLocal(r, r.sunset, r.sunset_found);
    j["polar"] = r.polar > 0 ? Json("day") : r.polar < 0 ? Json("night") : Json(nullptr);
    j["moonrise"] = TimeOrNull(r.moonrise, r.moonrise_found);
    j["moonrise_local"] = EventLocal(r, r.moonrise, r.moonrise_found);
    j["moonset"] = TimeOrNull(r.moonset, r.moonset_found);
    j["moonset_local"] = EventLocal(r, r.moonset, r.moonset_found);
    j["sun_transit"] = TimeOrNull(r.sun_transit, r.sun_transit_found);
    j["sun_transit_local"] = EventLocal(r, r.sun_transit, r.sun_transit_found);
    j["moon_transit"] = TimeOrNull(r.moon_transit, r.moon_transit_found);
    j["moon_transit_local"] = EventLocal(r, r.moon_transit, r.moon_transit_found);

    // the tides found, in time order
    struct Water { const char* kind; double jd, height; };
    Water waters[4];
    int n = 0;
    for (int i = 0; i < 4; i++)
        if (r.tide[4 + i] != 0.0) waters[n++] = Water{i < 2 ? "high" : "low", r.tide[4 + i], r.tide[i]};
    std::stable_sort(waters, waters + n, [](const Water& a, const Water& b) { return a.jd < b.jd; });
    Json tides = Json::array();
    for (int i = 0; i < n; i++)
        tides.push_back({{"kind", waters[i].kind}, {"jd", waters[i].jd},
                         {"jd_local", DayLocal(r, waters[i].jd)}, {"height", waters[i].height}});
    j["tides"] = tides;
    j["tide_station"] = TideStationJson(r);
    j["tide_name"] = SjisToUtf8(TideChoice_NameAt(r.at.jd));

    j["new_moons"] = {DayOrNull(r.newmoon1), DayOrNull(r.newmoon2)};
    j["new_moons_local"] = {DayLocal(r, r.newmoon1), DayLocal(r, r.newmoon2)};
    j["moon_age"] = r.moon_age;
    // + 0.0: a zero prints without a sign (the zone of London is -0 hours)
    j["place"] = {{"latitude", r.at.place.latitude + 0.0}, {"longitude", r.at.place.longitude + 0.0},
                  {"zone", r.at.place.zone + 0.0}, {"azimuth", r.at.place.azimuth + 0.0}};
    // a zone set: the offset in force at the instant; a named one's name
    if (r.at.place.zone_set) j["place"]["utc_offset"] = r.at.place.zone + 0.0;
    if (!NamedZone_Name().empty()) j["place"]["zone"] = NamedZone_Name();
    if (!NamedZone_PlaceName().empty()) j["place"]["name"] = NamedZone_PlaceName();

    Json bodies = Json::array();
    for (int i = 0; i < kPanelBodies; i++) {
        const KoyomiBody& b = r.bodies[i];
        bodies.push_back({{"name", SjisToUtf8(Pla1[i], std::strlen(Pla1[i]))}, {"english", kBodyEnglish[i]},
                          {"lam", b.lam}, {"bet", b.bet}, {"ra", b.ra}, {"dec", b.dec},
                          {"az", b.az}, {"el", b.el}});
    }
    j["bodies"] = bodies;
    Planner_Json(r, Planner_Of(r), &j);
    return j;
}

// The record of the clock's present instant, everything in.
KoyomiReadouts Now()
{
    KoyomiReadouts r;
    Koyomi_Readouts(Clock_Now(), true, &r);
    return r;
}

bool SameDate(const struct tm& t, double year, double month, double day)
{
    return t.tm_year + 1900 == year && t.tm_mon + 1 == month && t.tm_mday == day;
}

// Day k of a run: the clock's instant plus k civil days, with the events
// (rise, set, transit, tides) of that civil date.
//
// Method: where the conversion back from the Julian day gives another date
// than the civil one (from 1899-12-11 to 1900-02-28 the Julian day takes
// local mean time and the way back the zone: 00:05 goes back as 23:46 of
// the day before), the events are those of the instant of the same date
// shifted by that difference, whose way back lands on the date; the
// instant's own read-outs (date line, Julian day, Moon, bodies) stay.
KoyomiReadouts DayOfRun(int64_t start, int k, bool extras)
{
    const int64_t t = start + static_cast<int64_t>(k) * kSecondsPerDay;
    KoyomiReadouts r;
    Koyomi_Readouts(Clock_Fields(t), extras, &r);
    if (SameDate(r.at.civil, r.event_year, r.event_month, r.event_day)) return r;
    const int64_t line = Clock_CivilFromFields((int)r.line_year, (int)r.line_month, (int)r.line_day,
                                               (int)r.line_hour, (int)r.line_minute,
                                               (int)r.line_second);
    const int64_t midnight = t - (t % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay;
    const int64_t shifted = std::clamp(t + (t - line), midnight, midnight + kSecondsPerDay - 1);
    KoyomiReadouts e;
    Koyomi_Readouts(Clock_Fields(shifted), extras, &e);
    if (!SameDate(r.at.civil, e.event_year, e.event_month, e.event_day)) return r;
    r.event_year = e.event_year;
    r.event_month = e.event_month;
    r.event_day = e.event_day;
    r.sunrise = e.sunrise;
    r.sunset = e.sunset;
    r.moonrise = e.moonrise;
    r.moonset = e.moonset;
    r.sun_transit = e.sun_transit;
    r.moon_transit = e.moon_transit;
    for (int i = 0; i < 8; i++) r.tide[i] = e.tide[i];
    return r;
}

// The columns of the table of a run of days, after the date: the rows of
// these ids, each value padded to its width (the last not padded).
struct DayColumn { RowId id; size_t width; };
constexpr size_t kDateWidth = 12;  // "2026/12/06" and two blanks
constexpr DayColumn kDayColumns[] = {
    {RowId::Sunrise, 7}, {RowId::Sunset, 7}, {RowId::Moonrise, 7}, {RowId::Moonset, 7},
    {RowId::High1, 7},   {RowId::High2, 7},  {RowId::Low1, 7},     {RowId::Low2, 7},
    {RowId::MoonAge, 0},
};

// Text padded with blanks to width bytes.
std::string Padded(std::string text, size_t width)
{
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// A table cell: the text of a read-out after its label, padded to width.
std::string Cell(const std::string& sjis_readout, size_t label_bytes, size_t width)
{
    std::string v = SjisToUtf8(sjis_readout.substr(label_bytes));
    v.erase(0, v.find_first_not_of(' '));
    if (v.size() < width) v.append(width - v.size(), ' ');
    return v;
}

}  // namespace

/*
**  Almanac_Text
**  The read-outs of the picture at the present instant, one per line.
**
**  Returned (function value):
**          std::string   UTF-8 text, each line ended by a newline
**
**  Notes:
**  1) From the read-outs record of the clock's instant (Koyomi_Readouts),
**     the printed rows (Readout_Rows) in their order and without their
**     leading blanks: the date line, the four events, the local time, the
**     place and the view, the tide heading and rows, the Moon's age.
**
**  Called:  Clock_Now, Koyomi_Readouts, Readout_Rows, SjisToUtf8
*/
std::string Almanac_Text()
{
    KoyomiReadouts r;
    Koyomi_Readouts(Clock_Now(), false, &r);
    std::string out;
    for (const ReadoutRow& row : Readout_Rows(r))
        if (row.printed) out += Line(row.text) + "\n";
    // how far a distant station lies
    const TideChoice& c = TideChoice_Current();
    if (c.source == TideSource::Station && c.station) {
        const double km = Tide_DistanceKm(r.at.place.latitude, r.at.place.longitude, c.station->latitude,
                                          c.station->longitude);
        char far[160];
        std::snprintf(far, sizeof far,
                      Labels_InUse() == LabelSet::English ? "Tide station %s (%.0f km)"
                                                          : "潮汐観測点 %s (%.0f km)",
                      c.station->id.c_str(), km);
        if (km > kFarStationKm) out += Line(far) + "\n";
    }
    for (const std::string& l : Planner_TextLines(r, Planner_Of(r))) out += l + "\n";
    return out;
}

/*
**  Almanac_Json
**  The record of the present instant as one JSON object.
**
**  Returned (function value):
**          std::string   one JSON object (indent 2) and a newline: jd,
**                        local, the events, tides, new_moons, moon_age,
**                        place, bodies (README, "Almanac on the command
**                        line")
**
**  Notes:
**  1) Times of day are local decimal hours as the searches return them,
**     Julian days UT; beside each, "<name>_local", the same instant as an
**     ISO 8601 local time with its offset (null where the time is null).
**  2) An event not found on the date is null (23.0 is a time when found);
**     "polar" is "day" or "night" when the Sun neither rises nor sets on
**     the date, null otherwise. The transits are the upper culminations,
**     south or north of the zenith. Tides in time order, entries 0.0 left
**     out; new moons of FirstdayCal1 with null for 0.0.
**  3) The offsets: local mean time of the longitude for the instant and
**     the events before the adjusted year 1900 and for Julian days up to
**     2415000.0 (the rules of JD and Calendar), the zone after.
**
**  Called:  Clock_Now, Koyomi_Readouts, Almanac_LocalIso, Calendar_Zone
*/
std::string Almanac_Json()
{
    return Object(Now()).dump(2) + "\n";
}

/*
**  Almanac_DaysText
**  The almanac of a run of days as a table.
**
**  Given:
**     days   int   1 or more: the clock's instant and the same civil time
**                  of day on the dates that follow
**
**  Returned (function value):
**          std::string   a header line and one line a day (UTF-8): the
**                        date of the date line, sunrise, sunset, moonrise,
**                        moonset, the two high and two low waters in the
**                        picture's order, and the Moon's age, each printed
**                        as the picture prints it ("--" for none)
**
**  Notes:
**  1) Day after day the new moons replay the samples of the day before
**     (FirstdayCal1_Kept); everything else is searched for each day.
**  2) The columns are the rows of kDayColumns, by id; the header their
**     labels.
**  3) Each row is the next civil date, and its events are those of that
**     date, also from 1899-12-11 to 1900-02-28, where the date line runs
**     18 min 48 s behind (at 139.7 E) and shows the day before at 00:05.
**
**  Called:  Clock_CivilSeconds, Koyomi_Readouts, Readout_Rows, Readout_Row,
**           SjisToUtf8
*/
std::string Almanac_DaysText(int days)
{
    // the header: the date's, then each column's label padded to its width
    // (Shift_JIS bytes: a wide character is two bytes and two columns)
    const int64_t start = Clock_CivilSeconds();
    KoyomiReadouts first = DayOfRun(start, 0, false);
    const std::vector<ReadoutRow> labels = Readout_Rows(first);
    std::string header = Padded(Label(LabelId::DaysDate), kDateWidth);
    for (const DayColumn& c : kDayColumns) {
        const ReadoutRow& row = Readout_Row(labels, c.id);
        header += Padded(row.text.substr(0, row.label_bytes), c.width);
    }
    std::string out = Line(header) + "\n";
    for (int k = 0; k < days; k++) {
        KoyomiReadouts r = k == 0 ? first : DayOfRun(start, k, false);
        const std::vector<ReadoutRow> rows = k == 0 ? labels : Readout_Rows(r);
        char date[32];
        // the civil date of the row (the date line's can be the day before,
        // 18 min 48 s behind, around 1900)
        std::snprintf(date, sizeof date, "%04d/%02d/%02d", r.at.civil.tm_year + 1900, r.at.civil.tm_mon + 1,
                      r.at.civil.tm_mday);
        std::string line = Padded(date, kDateWidth);
        for (const DayColumn& c : kDayColumns) {
            const ReadoutRow& row = Readout_Row(rows, c.id);
            line += Cell(row.text, row.label_bytes, c.width);
        }
        out += line + "\n";
    }
    return out;
}

/*
**  Almanac_DaysJson
**  The almanac of a run of days as a JSON array.
**
**  Given:
**     days   int   as Almanac_DaysText
**
**  Returned (function value):
**          std::string   an array (indent 2) of the one-day objects of
**                        Almanac_Json, one a day, and a newline
**
**  Called:  Clock_CivilSeconds, Koyomi_Readouts
*/
std::string Almanac_DaysJson(int days)
{
    Json all = Json::array();
    const int64_t start = Clock_CivilSeconds();
    for (int k = 0; k < days; k++) all.push_back(Object(DayOfRun(start, k, true)));
    return all.dump(2) + "\n";
}
