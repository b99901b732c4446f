// The planner's almanac of one read-outs record: twilight, the golden and
// blue hours, the day's length, the Moon's light and phases, the next
// events; as text lines, JSON fields, table columns and calendar events.
#include "app/planner.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <unordered_set>

#include "app/local_iso.h"
#include "app/tide_choice.h"
#include "panels/labels.h"
#include "toolkit/sjis.h"
#include "timecal/clock.h"
#include "events/riseset.h"
#include "events/tide.h"
#include "timecal/constants.h"
#include "timecal/julian.h"

namespace {

using Json = nlohmann::ordered_json;

constexpr double kNextHours = 48;        // the next events are looked for this far ahead
constexpr double kMinutesPerDay = 1440;
constexpr double kZenith = 90;
constexpr int kPhasesShown = 4;
constexpr double kLunationBase = 2451550.09766;  // the new moon of 2000 Jan 6 (lunation 0)
constexpr double kLunation = 29.530588861;       // mean synodic month, days

// The Japanese names of the eight phases, waxing from new (Shift_JIS).
const char* const kPhaseJa[] = {"新月", "三日月", "上弦の月", "十三夜月",
                                "満月", "寝待月", "下弦の月", "有明月"};
// The principal phases' names, by LunarPhase.
const char* const kPrincipalJa[kLunarPhases] = {"新月", "上弦の月", "満月", "下弦の月"};
const char* const kPrincipalEn[kLunarPhases] = {"New moon", "First quarter", "Full moon",
                                                "Last quarter"};

// The three depths of twilight.
struct Depth {
    const char* key;       // JSON
    const char* label;     // text, Shift_JIS
    const char* column;    // table header stem, Shift_JIS (2 characters)
    SunTwilight SunDay::*twilight;
    double altitude;
    const char* english;   // the label in the English set
};
const Depth kDepths[] = {
    {"civil", "市民薄明", "市民", &SunDay::civil, kAltitudeCivil, "Civil"},
    {"nautical", "航海薄明", "航海", &SunDay::nautical, kAltitudeNautical, "Nautical"},
    {"astronomical", "天文薄明", "天文", &SunDay::astronomical, kAltitudeAstronomical,
     "Astronomical"},
};

// The kinds of the next events, with their Japanese names.
struct NextKind {
    const char* event;
    const char* label;    // Shift_JIS
    const char* english;  // the English set's
};
const NextKind kNextKinds[] = {
    {"sunrise", "日の出", "Sunrise"}, {"sunset", "日の入", "Sunset"},
    {"moonrise", "月の出", "Moonrise"}, {"moonset", "月の入", "Moonset"},
    {"high_water", "満潮", "High water"}, {"low_water", "干潮", "Low water"},
    {"civil_dawn", "市民薄明の始め", "Civil dawn"}, {"civil_dusk", "市民薄明の終わり", "Civil dusk"},
    {"nautical_dawn", "航海薄明の始め", "Nautical dawn"},
    {"nautical_dusk", "航海薄明の終わり", "Nautical dusk"},
    {"astronomical_dawn", "天文薄明の始め", "Astronomical dawn"},
    {"astronomical_dusk", "天文薄明の終わり", "Astronomical dusk"},
};

std::string U(const char* sjis) { return SjisToUtf8(sjis, std::strlen(sjis)); }

bool English() { return Labels_InUse() == LabelSet::English; }
// A text in the label set in use: the Japanese (Shift_JIS) as UTF-8, or the
// English.
std::string T(const char* sjis, const char* english) { return English() ? english : U(sjis); }

std::string NextLabel(const char* event)
{
    for (const NextKind& k : kNextKinds)
        if (std::strcmp(k.event, event) == 0) return T(k.label, k.english);
    return "";
}

// ---- local times

// The local date and hours of a Julian day as the almanac converts it.
void Local(const KoyomiPlace& p, double jd, double* y, double* m, double* d, double* h)
{
    Calendar_Zone(jd, y, m, d, h, p.longitude, p.zone);
}

// A Julian day as ISO 8601 local time with its offset.
std::string LocalIso(const KoyomiPlace& p, double jd)
{
    double y, m, d, h;
    Local(p, jd, &y, &m, &d, &h);
    const long offset = std::lround(jd <= kJdZoneSwitch ? p.longitude * 240 : p.zone * 3600);
    return Almanac_LocalIso((int)y, (int)m, (int)d, h, offset);
}

// "hh:mm" of local hours, the minutes truncated as the read-outs do.
std::string HourMinute(double hours)
{
    const int hh = (int)std::floor(hours);
    const int mm = (int)std::floor((hours - std::floor(hours)) * 60);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", hh, mm);
    return buf;
}

// Local hours of the date of the record for a Julian day.
double HoursOfDate(const PlannerRecord& p, double jd) { return (jd - p.sun.start) * 24; }

std::string EventText(const PlannerRecord& p, const EventTime& e)
{
    return e.found ? HourMinute(HoursOfDate(p, e.jd)) : "--";
}

std::string Spans(const PlannerRecord& p, const std::vector<SunInterval>& spans)
{
    if (spans.empty()) return "--";
    std::string out;
    for (const SunInterval& s : spans) {
        if (!out.empty()) out += " ";
        out += HourMinute(HoursOfDate(p, s.start)) + "-" + HourMinute(HoursOfDate(p, s.end));
    }
    return out;
}

// "9時間52分08秒" ("9 h 52 min 08 s") of minutes, to the nearest second.
std::string Length(double minutes)
{
    const long s = std::lround(minutes * 60);
    char buf[64];
    std::snprintf(buf, sizeof buf, English() ? "%ld h %02ld min %02ld s" : "%ld時間%02ld分%02ld秒",
                  s / 3600, s / 60 % 60, s % 60);
    return U(buf);
}

// "+1分05秒" / "-0分30秒" ("+1 min 05 s") of a change in minutes, to the
// nearest second.
std::string Change(double minutes)
{
    const long s = std::lround(minutes * 60);
    const long a = std::labs(s);
    char buf[64];
    std::snprintf(buf, sizeof buf, English() ? "%c%ld min %02ld s" : "%c%ld分%02ld秒",
                  s < 0 ? '-' : '+', a / 60, a % 60);
    return U(buf);
}

const char* PolarKey(SunPolar polar)
{
    return polar == SunPolar::Day ? "day" : polar == SunPolar::Night ? "night" : nullptr;
}

// Display columns of UTF-8 text: 1 for ASCII, 2 for the rest (the table's
// Japanese text is all full-width).
size_t Columns(const std::string& s)
{
    size_t n = 0;
    for (size_t i = 0; i < s.size(); i++) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) n += 1;
        else if (c >= 0xC0) n += 2;
    }
    return n;
}
std::string Pad(std::string s, size_t width)
{
    const size_t n = Columns(s);
    if (n < width) s.append(width - n, ' ');
    return s;
}

// The place for descriptions: "北緯 35.6 東経 139.7".
std::string PlaceText(const KoyomiPlace& p)
{
    return U((Readout_Latitude(p.latitude) + " " + Readout_Longitude(p.longitude)).c_str());
}

// A UID part of the place: "+35.6000+139.7000".
std::string PlaceKey(const KoyomiPlace& p)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%+.4f%+.4f", p.latitude, p.longitude);
    return buf;
}

// "20261206" of a local date.
std::string DateKey(double y, double m, double d)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", (int)y, (int)m, (int)d);
    return buf;
}

}  // namespace

/*
**  Planner_Of
**  The planner's values of one read-outs record.
**
**  Given:
**     r      KoyomiReadouts   the instant (jd), the searches' local date
**                             (event_year, event_month, event_day) and the place
**     full   bool             with the next phases and events
**
**  Returned (function value):
**         PlannerRecord    twilight, golden and blue hours and the day's
**                          length of the date (Sun_Day) and its change
**                          from the date before; the illuminated fraction
**                          at the instant (percent); the phase name of the
**                          date; the next four phases; the next events
**
**  Notes:
**  1) The date runs from 0 h to 0 h of the next date in the place's zone
**     (JD_Zone), as the rise and set searches take it.
**  2) The next events: the first of each kind in the 48 hours after the
**     instant (sunrise, sunset, moonrise, moonset and the twilights by the
**     general search; the high and low waters of Tokyo Bay from the
**     record's day and, when they are past, the station's next day), in
**     time order. A kind with none in 48 hours is left out.
**  3) Without full, the next phases and the next events are left empty
**     (the table of days).
**  4) Overwrites the shared Sun, Moon and Tide records (the Moon's
**     routines, the tide search): the picture never calls this.
**
**  Called:  JD_Zone, Sun_Day, Sun_Between, Moon_Illumination,
**           Moon_Phase_Name, Moon_Phases_Next, Event_Rise, Event_Set, Tide_Cal
*/
PlannerRecord Planner_Of(const KoyomiReadouts& r, bool full)
{
    const KoyomiPlace& pl = r.at.place;
    const double lat = pl.latitude, lon = pl.longitude, zone = pl.zone;
    const double y = r.event_year, m = r.event_month, d = r.event_day;
    const double start = JD_Zone(y, m, d, 0, lon, zone);
    const double next_start = JD_Zone(y, m, d + 1, 0, lon, zone);
    const double prev_start = JD_Zone(y, m, d - 1, 0, lon, zone);

    PlannerRecord p;
    p.sun = Sun_Day(lat, lon, start, (next_start - start) * 24);
    double before = 0;
    for (const SunInterval& i : Sun_Between(kAltitudeHorizon, kZenith, lat, lon, prev_start,
                                            (start - prev_start) * 24))
        before += (i.end - i.start) * kMinutesPerDay;
    p.day_length_change = p.sun.day_length - before;
    p.illumination = Moon_Illumination(r.at.jd) * 100;
    p.phase_name = Moon_Phase_Name(r.at.jd, start, next_start);
    if (!full) return p;
    p.phases = Moon_Phases_Next(r.at.jd, kPhasesShown);

    // the next events
    auto add = [&p](const char* event, EventTime e) {
        if (e.found) p.next.push_back({event, e.jd});
    };
    add("sunrise", Event_Rise(kBodySun, kAltitudeHorizon, lat, lon, r.at.jd, kNextHours));
    add("sunset", Event_Set(kBodySun, kAltitudeHorizon, lat, lon, r.at.jd, kNextHours));
    add("moonrise", Event_Rise(kBodyMoon, kAltitudeHorizon, lat, lon, r.at.jd, kNextHours));
    add("moonset", Event_Set(kBodyMoon, kAltitudeHorizon, lat, lon, r.at.jd, kNextHours));
    for (const Depth& depth : kDepths) {
        const EventTime up = Event_Rise(kBodySun, depth.altitude, lat, lon, r.at.jd, kNextHours);
        const EventTime down = Event_Set(kBodySun, depth.altitude, lat, lon, r.at.jd, kNextHours);
        for (const NextKind& k : kNextKinds) {
            const std::string key = k.event;
            if (key == std::string(depth.key) + "_dawn") add(k.event, up);
            if (key == std::string(depth.key) + "_dusk") add(k.event, down);
        }
    }
    // the tides: the record's, then the station's next day
    double high = 0, low = 0;
    for (int pass = 0; pass < 2 && (high == 0 || low == 0); pass++) {
        const double* t = r.tide;
        if (pass == 1) {
            Tide_Cal(r.at.jd + 1);
            t = Tide;
        }
        for (int i = 0; i < 4; i++) {
            const double when = t[4 + i];
            if (when == 0.0 || when <= r.at.jd) continue;
            double& slot = i < 2 ? high : low;
            if (slot == 0 || when < slot) slot = when;
        }
    }
    if (high != 0) p.next.push_back({"high_water", high});
    if (low != 0) p.next.push_back({"low_water", low});
    std::stable_sort(p.next.begin(), p.next.end(),
                     [](const PlannerNext& a, const PlannerNext& b) { return a.jd < b.jd; });
    return p;
}

/*
**  Planner_TextLines
**  The planner's lines of the text almanac, in Japanese as the picture.
**
**  Returned (function value):
**          vector   UTF-8 lines: the three twilights (dawn and dusk, "--"
**                   for none, "終夜" when the Sun stays above the altitude
**                   all night), the golden and blue hours, the day's length
**                   and its change, the illuminated fraction, the phase
**                   name, the next four phases and the next events with the
**                   minutes until each
*/
std::vector<std::string> Planner_TextLines(const KoyomiReadouts& r, const PlannerRecord& p)
{
    std::vector<std::string> out;
    for (const Depth& depth : kDepths) {
        const SunTwilight& t = p.sun.*depth.twilight;
        std::string line = T(depth.label, (std::string(depth.english) + " twilight").c_str()) + " ";
        if (t.polar == SunPolar::Day) line += T("終夜", "all night");
        else line += EventText(p, t.dawn) + " " + EventText(p, t.dusk);
        out.push_back(line);
    }
    out.push_back(T("ゴールデンアワー", "Golden hour") + " " + Spans(p, p.sun.golden));
    out.push_back(T("ブルーアワー", "Blue hour") + " " + Spans(p, p.sun.blue));
    out.push_back(T("昼の長さ", "Day length") + " " + Length(p.sun.day_length));
    out.push_back(T("前日比", "Since yesterday") + " " + Change(p.day_length_change));
    char fraction[32];
    std::snprintf(fraction, sizeof fraction, " %.1f%%", p.illumination);
    out.push_back(T("輝面比", "Illuminated") + fraction);
    out.push_back(T("月相", "Phase") + " " +
                  T(kPhaseJa[static_cast<int>(p.phase_name)], Moon_Phase_English(p.phase_name)));
    for (const PhaseInstant& ph : p.phases) {
        double y, m, d, h;
        Local(r.at.place, ph.jd, &y, &m, &d, &h);
        char date[32];
        std::snprintf(date, sizeof date, " %04d/%02d/%02d ", (int)y, (int)m, (int)d);
        out.push_back(T(kPrincipalJa[static_cast<int>(ph.phase)], kPrincipalEn[static_cast<int>(ph.phase)]) +
                      date + HourMinute(h));
    }
    out.push_back(T("次の出来事", "Next events"));
    for (const PlannerNext& n : p.next) {
        double y, m, d, h;
        Local(r.at.place, n.jd, &y, &m, &d, &h);
        char when[64];
        std::snprintf(when, sizeof when, " %02d/%02d ", (int)m, (int)d);
        char left[64];
        const long minutes = static_cast<long>(std::floor((n.jd - r.at.jd) * kMinutesPerDay));
        if (minutes < 60)
            std::snprintf(left, sizeof left, English() ? "in %ld min" : "あと%ld分", minutes);
        else
            std::snprintf(left, sizeof left, English() ? "in %ld h %02ld min" : "あと%ld時間%02ld分",
                          minutes / 60, minutes % 60);
        out.push_back(NextLabel(n.event) + when + HourMinute(h) + " " + U(left));
    }
    return out;
}

/*
**  Planner_Json
**  The planner's fields of the almanac's JSON object.
**
**  Notes:
**  1) civil_dawn .. astronomical_dusk: local hours of the date (as
**     sunrise), null for none, each with its _local ISO 8601 time;
**     twilight_polar: per depth "day" (the Sun stays above the altitude:
**     twilight all night), "night" (never reaches it) or null.
**  2) golden_hour, blue_hour: arrays of {start_local, end_local}; a span
**     cut by the date's start or end begins or ends there.
**  3) day_length, day_length_change: minutes; moon_illumination: percent;
**     moon_phase: {name, name_ja}; phases: the next four {phase, jd,
**     jd_local}; next: {event, jd_local, minutes} in time order, minutes
**     whole (rounded down) from the instant.
*/
void Planner_Json(const KoyomiReadouts& r, const PlannerRecord& p, Json* j)
{
    Json& o = *j;
    Json polar;
    for (const Depth& depth : kDepths) {
        const SunTwilight& t = p.sun.*depth.twilight;
        const std::string key = depth.key;
        for (const auto& [suffix, e] : {std::pair<const char*, EventTime>{"_dawn", t.dawn},
                                        std::pair<const char*, EventTime>{"_dusk", t.dusk}}) {
            o[key + suffix] = e.found ? Json(HoursOfDate(p, e.jd)) : Json(nullptr);
            o[key + suffix + "_local"] = e.found ? Json(LocalIso(r.at.place, e.jd)) : Json(nullptr);
        }
        const char* pk = PolarKey(t.polar);
        polar[key] = pk ? Json(pk) : Json(nullptr);
    }
    o["twilight_polar"] = polar;
    for (const auto& [key, spans] : {std::pair<const char*, const std::vector<SunInterval>*>{
                                         "golden_hour", &p.sun.golden},
                                     {"blue_hour", &p.sun.blue}}) {
        Json a = Json::array();
        for (const SunInterval& s : *spans)
            a.push_back({{"start_local", LocalIso(r.at.place, s.start)},
                         {"end_local", LocalIso(r.at.place, s.end)}});
        o[key] = a;
    }
    o["day_length"] = p.sun.day_length;
    o["day_length_change"] = p.day_length_change;
    o["moon_illumination"] = p.illumination;
    o["moon_phase"] = {{"name", Moon_Phase_English(p.phase_name)},
                       {"name_ja", U(kPhaseJa[static_cast<int>(p.phase_name)])}};
    Json phases = Json::array();
    for (const PhaseInstant& ph : p.phases)
        phases.push_back({{"phase", Lunar_Phase_Key(ph.phase)}, {"jd", ph.jd},
                          {"jd_local", LocalIso(r.at.place, ph.jd)}});
    o["phases"] = phases;
    Json next = Json::array();
    for (const PlannerNext& n : p.next)
        next.push_back({{"event", n.event}, {"jd_local", LocalIso(r.at.place, n.jd)},
                        {"minutes", static_cast<long>(std::floor((n.jd - r.at.jd) * kMinutesPerDay))}});
    o["next"] = next;
}

// ---- the table's columns

namespace {

struct Column {
    const char* name;
    const char* header;   // Shift_JIS
    size_t width;         // display columns, the separating blank included
    const char* english;  // the English set's header
    size_t width_en;      // and width
};
const Column kColumns[] = {
    {"sunrise", "日の出", 7, "S.rise", 7}, {"sunset", "日の入", 7, "S.set", 7},
    {"moonrise", "月の出", 7, "M.rise", 7}, {"moonset", "月の入", 7, "M.set", 7},
    {"high1", "満", 7, "H", 7}, {"high2", "満", 7, "H", 7},
    {"low1", "干", 7, "L", 7}, {"low2", "干", 7, "L", 7},
    {"age", "月齢", 6, "Age", 6},
    {"civil_dawn", "市民始", 7, "C.dawn", 7}, {"civil_dusk", "市民終", 7, "C.dusk", 7},
    {"nautical_dawn", "航海始", 7, "N.dawn", 7}, {"nautical_dusk", "航海終", 7, "N.dusk", 7},
    {"astronomical_dawn", "天文始", 7, "A.dawn", 7}, {"astronomical_dusk", "天文終", 7, "A.dusk", 7},
    {"golden_hour", "ゴールデンアワー", 24, "Golden hour", 24},
    {"blue_hour", "ブルーアワー", 24, "Blue hour", 24},
    {"day_length", "昼の長さ", 9, "Day len.", 9}, {"day_length_change", "前日比", 8, "Change", 8},
    {"moon_illumination", "輝面比", 7, "Illum.", 7},
    // the English phase names are longer: "waning crescent"
    {"moon_phase", "月相", 9, "Phase", 16},
};
size_t Width(const Column& c) { return English() ? c.width_en : c.width; }

const Column* FindColumn(const std::string& name)
{
    for (const Column& c : kColumns)
        if (name == c.name) return &c;
    return nullptr;
}

// The text of a read-out after its label, without leading blanks (UTF-8).
std::string After(const std::string& sjis, size_t label_bytes)
{
    std::string v = SjisToUtf8(sjis.substr(label_bytes));
    v.erase(0, v.find_first_not_of(' '));
    return v;
}

}  // namespace

bool Planner_ColumnKnown(const std::string& name) { return FindColumn(name) != nullptr; }

std::vector<std::string> Planner_ColumnNames()
{
    std::vector<std::string> out;
    for (const Column& c : kColumns) out.push_back(c.name);
    return out;
}

std::string Planner_ColumnHeader(const std::string& name)
{
    const Column* c = FindColumn(name);
    return c ? Pad(T(c->header, c->english), Width(*c)) : std::string();
}

/*
**  Planner_ColumnCell
**  One cell of the table of a run of days.
**
**  Notes:
**  1) The read-outs' columns (sunrise .. age) are the rows of the record
**     (Readout_Rows) after their labels, as the default table prints them; twilight "hh:mm" or "--"; golden_hour and blue_hour the
**     spans "hh:mm-hh:mm" joined by ","; day_length "h:mm:ss";
**     day_length_change "+m:ss"; moon_illumination "12.3%"; moon_phase
**     the Japanese name.
*/
std::string Planner_ColumnCell(const std::string& name, const std::vector<ReadoutRow>& rows,
                               const PlannerRecord& p)
{
    const Column* c = FindColumn(name);
    if (!c) return "";
    static const struct { const char* name; RowId id; } kRows[] = {
        {"sunrise", RowId::Sunrise}, {"sunset", RowId::Sunset}, {"moonrise", RowId::Moonrise},
        {"moonset", RowId::Moonset}, {"high1", RowId::High1}, {"high2", RowId::High2},
        {"low1", RowId::Low1}, {"low2", RowId::Low2}, {"age", RowId::MoonAge},
    };
    std::string v;
    const auto row = std::find_if(std::begin(kRows), std::end(kRows),
                                  [&name](const auto& k) { return name == k.name; });
    if (row != std::end(kRows)) {
        // the read-out as the picture writes it, after its label
        const ReadoutRow& rr = Readout_Row(rows, row->id);
        v = After(rr.text, rr.label_bytes);
    } else if (name == "golden_hour" || name == "blue_hour") {
        v = Spans(p, name == "golden_hour" ? p.sun.golden : p.sun.blue);
        std::replace(v.begin(), v.end(), ' ', ',');
    } else if (name == "day_length") {
        const long sec = std::lround(p.sun.day_length * 60);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", sec / 3600, sec / 60 % 60, sec % 60);
        v = buf;
    } else if (name == "day_length_change") {
        const long sec = std::lround(p.day_length_change * 60);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%c%ld:%02ld", sec < 0 ? '-' : '+', std::labs(sec) / 60,
                      std::labs(sec) % 60);
        v = buf;
    } else if (name == "moon_illumination") {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.1f%%", p.illumination);
        v = buf;
    } else if (name == "moon_phase") {
        v = T(kPhaseJa[static_cast<int>(p.phase_name)], Moon_Phase_English(p.phase_name));
    } else {
        for (const Depth& depth : kDepths) {
            const std::string key = depth.key;
            const SunTwilight& t = p.sun.*depth.twilight;
            if (name == key + "_dawn") v = EventText(p, t.dawn);
            if (name == key + "_dusk") v = EventText(p, t.dusk);
        }
    }
    return Pad(v, Width(*c));
}

// ---- the calendar

bool Planner_ParseKinds(const std::string& list, unsigned* kinds)
{
    static const struct { const char* name; unsigned kind; } kNames[] = {
        {"sun", kPlanSun}, {"moon", kPlanMoon}, {"phases", kPlanPhases},
        {"tides", kPlanTides}, {"twilight", kPlanTwilight},
    };
    unsigned out = 0;
    size_t i = 0;
    while (true) {
        const size_t comma = list.find(',', i);
        const std::string name = list.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
        unsigned k = 0;
        for (const auto& n : kNames)
            if (name == n.name) k = n.kind;
        if (k == 0) return false;
        out |= k;
        if (comma == std::string::npos) break;
        i = comma + 1;
    }
    *kinds = out;
    return true;
}

namespace {

// 0 h of the record's local date and the date's length in hours.
void DateSpan(const KoyomiReadouts& r, double* start, double* hours)
{
    const KoyomiPlace& pl = r.at.place;
    *start = JD_Zone(r.event_year, r.event_month, r.event_day, 0, pl.longitude, pl.zone);
    *hours = (JD_Zone(r.event_year, r.event_month, r.event_day + 1, 0, pl.longitude, pl.zone) -
              *start) * 24;
}

// The description of the tides' events: the station's name, Tokyo Bay's
// by default.
std::string TideWhere()
{
    const TideChoice& c = TideChoice_Current();
    if (c.source != TideSource::Station || !c.station) return T("東京湾", "Tokyo Bay");
    return English() || c.station->name_ja.empty() ? c.station->name : c.station->name_ja;
}

// The events of one day of the run (the phases apart).
void DayEvents(const KoyomiReadouts& r, unsigned kinds, std::vector<IcsEvent>* out)
{
    const KoyomiPlace& pl = r.at.place;
    const double lat = pl.latitude, lon = pl.longitude;
    double start, hours;
    DateSpan(r, &start, &hours);
    const std::string date = DateKey(r.event_year, r.event_month, r.event_day);
    const std::string where = PlaceText(pl);
    const std::string place_key = PlaceKey(pl);
    auto instant = [&](const std::string& key, const std::string& summary, EventTime e,
                       const char* category) {
        if (!e.found) return;
        out->push_back({key + "-" + date + place_key + "@tenmado", e.jd, e.jd, summary, where,
                        category});
    };
    if (kinds & kPlanSun) {
        instant("sunrise", T("日の出", "Sunrise"), Event_Rise(kBodySun, kAltitudeHorizon, lat, lon, start, hours), "sun");
        instant("sunset", T("日の入", "Sunset"), Event_Set(kBodySun, kAltitudeHorizon, lat, lon, start, hours), "sun");
    }
    if (kinds & kPlanMoon) {
        instant("moonrise", T("月の出", "Moonrise"), Event_Rise(kBodyMoon, kAltitudeHorizon, lat, lon, start, hours), "moon");
        instant("moonset", T("月の入", "Moonset"), Event_Set(kBodyMoon, kAltitudeHorizon, lat, lon, start, hours), "moon");
    }
    if (kinds & kPlanTwilight) {
        const SunDay sd = Sun_Day(lat, lon, start, hours);
        for (const Depth& depth : kDepths) {
            const SunTwilight& t = sd.*depth.twilight;
            instant(std::string(depth.key) + "-dawn",
                    English() ? std::string(depth.english) + " dawn" : U(depth.label) + U("の始め"),
                    t.dawn, "twilight");
            instant(std::string(depth.key) + "-dusk",
                    English() ? std::string(depth.english) + " dusk" : U(depth.label) + U("の終わり"),
                    t.dusk, "twilight");
        }
        for (const auto& [key, label, spans] :
             {std::tuple<const char*, std::string, const std::vector<SunInterval>*>{
                  "golden-hour", T("ゴールデンアワー", "Golden hour"), &sd.golden},
              {"blue-hour", T("ブルーアワー", "Blue hour"), &sd.blue}}) {
            for (const SunInterval& s : *spans) {
                // the morning's and the evening's by the half of the date they start in
                const char* part = s.start < start + hours / 48 ? "am" : "pm";
                out->push_back({std::string(key) + "-" + part + "-" + date + place_key + "@tenmado",
                                s.start, s.end, label, where, "twilight"});
            }
        }
    }
    if (kinds & kPlanTides) {
        // the station's date of the record's tides, as the tide search takes it
        double ty, tm, td, th;
        Calendar(r.at.jd, &ty, &tm, &td, &th, 0, kTideStationLon);
        const std::string tide_date = DateKey(ty, tm, td);
        for (int i = 0; i < 4; i++) {
            const double when = r.tide[4 + i];
            if (when == 0.0) continue;
            const bool high = i < 2;
            out->push_back({std::string(high ? "high-water-" : "low-water-") + tide_date + "-" +
                                std::to_string(i % 2 + 1) + "@tenmado",
                            when, when, high ? T("満潮", "High water") : T("干潮", "Low water"),
                            TideWhere(), "tides"});
        }
    }
}

}  // namespace

/*
**  Planner_DaysIcs
**  The calendar of a run of days.
**
**  Given:
**     start     int64_t    civil seconds of the run's first instant
**     days      int        1 or more
**     kinds     unsigned   PlannerKind bits
**     dtstamp   int64_t    the export's instant, seconds since 1970 UTC
**
**  Returned (function value):
**               string     the iCalendar object (Ics_Calendar)
**
**  Notes:
**  1) UIDs stay the same from one export to the next: the kind, the local
**     date and the place ("sunrise-20261206+35.6000+139.7000@tenmado");
**     the phases by their lunation (counted from the new moon of 2000
**     January 6), the tides of Tokyo Bay by the station's date and their
**     order on it. An event whose UID is already there is left out.
**  2) Sunrise, sunset, moonrise, moonset and twilight are the general
**     search's (to the second) on each local date, so a calendar may show
**     a minute more than the read-outs, which truncate the minutes.
**  3) The phases: all in the run's dates, from 0 h of the first to 24 h of
**     the last (one search over the whole span).
**
**  Called:  Koyomi_Readouts, Clock_Fields, Event_Rise, Event_Set, Sun_Day,
**           Moon_Phases_Between, Ics_Calendar
*/
std::string Planner_DaysIcs(int64_t start, int days, unsigned kinds, int64_t dtstamp)
{
    constexpr int64_t kDay = 86400;
    std::vector<IcsEvent> events;
    KoyomiReadouts first{}, last{};
    // the phases alone need only the first and the last date
    const bool daily = (kinds & ~static_cast<unsigned>(kPlanPhases)) != 0;
    for (int k = 0; k < days; k++) {
        if (!daily && k != 0 && k != days - 1) continue;
        KoyomiReadouts r;
        Koyomi_Readouts(Clock_Fields(start + static_cast<int64_t>(k) * kDay), false, &r);
        if (k == 0) first = r;
        last = r;
        DayEvents(r, kinds, &events);
    }
    if (kinds & kPlanPhases) {
        double a, ha, b, hb;
        DateSpan(first, &a, &ha);
        DateSpan(last, &b, &hb);
        constexpr double kHair = 1e-9;  // (x - hair, y - hair]: [x, y)
        for (const PhaseInstant& ph : Moon_Phases_Between(a - kHair, b + hb / 24 - kHair)) {
            const long lunation = std::lround((ph.jd - kLunationBase) / kLunation -
                                              static_cast<int>(ph.phase) / 4.0);
            events.push_back({std::string("phase-") + Lunar_Phase_Key(ph.phase) + "-" +
                                  std::to_string(lunation) + "@tenmado",
                              ph.jd, ph.jd,
                              T(kPrincipalJa[static_cast<int>(ph.phase)],
                                kPrincipalEn[static_cast<int>(ph.phase)]),
                              PlaceText(first.at.place), "moon"});
        }
    }
    // one event per UID, in time order
    std::stable_sort(events.begin(), events.end(),
                     [](const IcsEvent& x, const IcsEvent& y) { return x.start < y.start; });
    std::vector<IcsEvent> unique;
    std::unordered_set<std::string> seen;
    for (IcsEvent& e : events)
        if (seen.insert(e.uid).second) unique.push_back(std::move(e));
    return Ics_Calendar(unique, dtstamp, T("天窓", "tenmado") + " " + PlaceText(first.at.place));
}

/*
**  Planner_DaysTable
**  The table of a run of days with the columns chosen.
**
**  Given:
**     start     int64_t   civil seconds of the run's first instant
**     days      int       1 or more
**     columns   vector    known column names (Planner_ColumnKnown), in order
**
**  Returned (function value):
**               string    a header line and one line a day (UTF-8): the date
**                         of the date line, then the columns
**
**  Called:  Koyomi_Readouts, Clock_Fields, Planner_Of, Planner_ColumnCell
*/
std::string Planner_DaysTable(int64_t start, int days, const std::vector<std::string>& columns)
{
    constexpr int64_t kDay = 86400;
    bool planner = false;
    for (const std::string& c : columns) {
        static const char* const kReadouts[] = {"sunrise", "sunset", "moonrise", "moonset", "high1",
                                                "high2", "low1", "low2", "age"};
        planner = planner || std::none_of(std::begin(kReadouts), std::end(kReadouts),
                                          [&c](const char* k) { return c == k; });
    }
    std::string header = Pad(T("日付", "Date"), 12);
    for (const std::string& c : columns) header += Planner_ColumnHeader(c);
    std::string out = header.substr(0, header.find_last_not_of(' ') + 1) + "\n";
    for (int k = 0; k < days; k++) {
        KoyomiReadouts r;
        Koyomi_Readouts(Clock_Fields(start + static_cast<int64_t>(k) * kDay), false, &r);
        const PlannerRecord p = planner ? Planner_Of(r, false) : PlannerRecord{};
        char date[32];
        // the civil date of the row, as the default table prints it
        std::snprintf(date, sizeof date, "%04d/%02d/%02d  ", r.at.civil.tm_year + 1900,
                      r.at.civil.tm_mon + 1, r.at.civil.tm_mday);
        std::string row = date;
        const std::vector<ReadoutRow> rows = Readout_Rows(r);
        for (const std::string& c : columns) row += Planner_ColumnCell(c, rows, p);
        out += row.substr(0, row.find_last_not_of(' ') + 1) + "\n";
    }
    return out;
}
