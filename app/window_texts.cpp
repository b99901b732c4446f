// The window's texts about its picture: sentences, tooltips and names, from
// the read-outs record of a repaint. Sources are compiled to Shift_JIS, so
// the UTF-8 texts here are u8 literals; the picture's own texts (Shift_JIS)
// are converted with SjisToUtf8.
#include "app/window_texts.h"

#include <glib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "app/readout_rows.h"
#include "app/readouts.h"
#include "toolkit/sjis.h"
#include "events/riseset.h"
#include "panels/constellations.h"
#include "panels/panels.h"
#include "timecal/julian.h"

namespace {

// u8 literals as plain chars
#define U8(s) reinterpret_cast<const char*>(u8##s)

// The read-outs' places in the picture: the boxes of their rows (text
// left-aligned, centred on the box's height) and the width of one
// half-width column of the 14-pixel face (a full-width character is two,
// as in Shift_JIS bytes).
constexpr double kColumn = 7.0;
constexpr double kHalfLine = 8.0;  // half the height a row's text covers
struct Box { double x, y, h; };    // top left and the box's height
constexpr double kHorizonOffset[3] = {-90, 0, 90};
// The Moon's age, which the Moon panel draws in a box of its own.
constexpr Box kMoonAge{5, 160, 20};

// The columns of text from column first (0-based) to last (exclusive).
bool Within(const Box& b, size_t first, size_t last, double x, double y)
{
    const double mid = b.y + b.h / 2;
    return x >= b.x + first * kColumn && x < b.x + last * kColumn && y >= mid - kHalfLine &&
           y < mid + kHalfLine;
}
bool Within(const Box& b, const std::string& sjis, double x, double y)
{
    return Within(b, 0, sjis.size(), x, y);
}

std::string Printf(const char* format, double a, double b = 0, double c = 0)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, format, a, b, c);
    return buf;
}

// "7時5分" of a tide's Julian day in the observer's zone, "なし" for 0.0.
std::string TideTime(const KoyomiReadouts& r, double t)
{
    if (t == 0.0) return U8("なし");
    double y, mo, d, hr;
    Calendar_Zone(t, &y, &mo, &d, &hr, r.at.place.longitude, r.at.place.zone);
    const double h = std::floor(hr);
    return Printf(U8("%.0f時%.0f分"), h, std::floor((hr - h) * 60));
}

const char* const kEnglish[kPanelBodies] = {"Moon", "Mercury", "Venus", "Sun",
                                            "Mars", "Jupiter", "Saturn"};
// The Sun's and Moon's codes of the searches (riseset.h), the planets' codes
// of Planet_Position, by body index.
constexpr int kSearchCode[kPanelBodies] = {kBodyMoon, 1, 2, kBodySun, 4, 5, 6};

// The 88 constellations' Latin names by their abbreviations.
const std::map<std::string, const char*>& LatinNames()
{
    static const std::map<std::string, const char*> names = {
        {"And", "Andromeda"}, {"Ant", "Antlia"}, {"Aps", "Apus"}, {"Aql", "Aquila"},
        {"Aqr", "Aquarius"}, {"Ara", "Ara"}, {"Ari", "Aries"}, {"Aur", "Auriga"},
        {"Boo", "Bootes"}, {"Cae", "Caelum"}, {"Cam", "Camelopardalis"}, {"Cap", "Capricornus"},
        {"Car", "Carina"}, {"Cas", "Cassiopeia"}, {"Cen", "Centaurus"}, {"Cep", "Cepheus"},
        {"Cet", "Cetus"}, {"Cha", "Chamaeleon"}, {"Cir", "Circinus"}, {"CMa", "Canis Major"},
        {"CMi", "Canis Minor"}, {"Cnc", "Cancer"}, {"Col", "Columba"}, {"Com", "Coma Berenices"},
        {"CrA", "Corona Australis"}, {"CrB", "Corona Borealis"}, {"Crt", "Crater"},
        {"Cru", "Crux"}, {"Crv", "Corvus"}, {"CVn", "Canes Venatici"}, {"Cyg", "Cygnus"},
        {"Del", "Delphinus"}, {"Dor", "Dorado"}, {"Dra", "Draco"}, {"Equ", "Equuleus"},
        {"Eri", "Eridanus"}, {"For", "Fornax"}, {"Gem", "Gemini"}, {"Gru", "Grus"},
        {"Her", "Hercules"}, {"Hor", "Horologium"}, {"Hya", "Hydra"}, {"Hyi", "Hydrus"},
        {"Ind", "Indus"}, {"Lac", "Lacerta"}, {"Leo", "Leo"}, {"Lep", "Lepus"}, {"Lib", "Libra"},
        {"LMi", "Leo Minor"}, {"Lup", "Lupus"}, {"Lyn", "Lynx"}, {"Lyr", "Lyra"},
        {"Men", "Mensa"}, {"Mic", "Microscopium"}, {"Mon", "Monoceros"}, {"Mus", "Musca"},
        {"Nor", "Norma"}, {"Oct", "Octans"}, {"Oph", "Ophiuchus"}, {"Ori", "Orion"},
        {"Pav", "Pavo"}, {"Peg", "Pegasus"}, {"Per", "Perseus"}, {"Phe", "Phoenix"},
        {"Pic", "Pictor"}, {"PsA", "Piscis Austrinus"}, {"Psc", "Pisces"}, {"Pup", "Puppis"},
        {"Pyx", "Pyxis"}, {"Ret", "Reticulum"}, {"Scl", "Sculptor"}, {"Sco", "Scorpius"},
        {"Sct", "Scutum"}, {"Ser", "Serpens"}, {"Sex", "Sextans"}, {"Sge", "Sagitta"},
        {"Sgr", "Sagittarius"}, {"Tau", "Taurus"}, {"Tel", "Telescopium"},
        {"TrA", "Triangulum Australe"}, {"Tri", "Triangulum"}, {"Tuc", "Tucana"},
        {"UMa", "Ursa Major"}, {"UMi", "Ursa Minor"}, {"Vel", "Vela"}, {"Vir", "Virgo"},
        {"Vol", "Volans"}, {"Vul", "Vulpecula"},
    };
    return names;
}

// Body_Day's searches, kept for one date and place.
struct BodyDayKey {
    double year, month, day, lat, lon, zone;
    bool operator==(const BodyDayKey&) const = default;
};
struct BodyDayKept {
    bool valid[kPanelBodies] = {};
    DayEvent rise[kPanelBodies], transit[kPanelBodies], set[kPanelBodies];
    BodyDayKey key{};
};
BodyDayKept g_body_days;

}  // namespace

std::string Readout_HourMinute(double hours, bool found)
{
    if (!found) return U8("なし");
    const double h = std::floor(hours);
    return Printf(U8("%.0f時%.0f分"), h, std::floor((hours - h) * 60));
}

/*
**  Readout_Sentences
**  The read-outs of a record as sentences (the window's accessible
**  description).
**
**  Notes:
**  1) To the minute only, so the text changes once a minute (and when the
**     place, view or moon age changes), not at every repaint.
**  2) An event the day does not have is said as なし; the Sun above or
**     below the horizon all day as 白夜 or 極夜.
*/
std::string Readout_Sentences(const KoyomiReadouts& r)
{
    std::string s = Printf(U8("日時 %.0f年%.0f月%.0f日 "), r.line_year, r.line_month, r.line_day);
    s += Printf(U8("%.0f時%.0f分"), r.line_hour, r.line_minute);
    s += U8(", 日の出 ") + Readout_HourMinute(r.sunrise, r.sunrise_found);
    s += U8(", 日の入 ") + Readout_HourMinute(r.sunset, r.sunset_found);
    if (r.polar != 0) s += r.polar > 0 ? U8(" (白夜)") : U8(" (極夜)");
    s += U8(", 月の出 ") + Readout_HourMinute(r.moonrise, r.moonrise_found);
    s += U8(", 月の入 ") + Readout_HourMinute(r.moonset, r.moonset_found);
    s += U8(", 東京湾の満潮 ") + TideTime(r, r.tide[4]) + U8(" と ") + TideTime(r, r.tide[5]);
    s += U8(", 干潮 ") + TideTime(r, r.tide[6]) + U8(" と ") + TideTime(r, r.tide[7]);
    s += Printf(U8(", 月齢 %.1f"), r.moon_age);
    s += r.at.place.longitude < 0 ? Printf(U8(", 西経 %.1f度"), -r.at.place.longitude)
                               : Printf(U8(", 東経 %.1f度"), r.at.place.longitude);
    s += r.at.place.latitude < 0 ? Printf(U8(", 南緯 %.1f度"), -r.at.place.latitude)
                              : Printf(U8(", 北緯 %.1f度"), r.at.place.latitude);
    s += Printf(U8(", 方位角 %.0f度 ("), r.at.place.azimuth) +
         SjisToUtf8(Readout_Direction(r.at.place.azimuth)) + U8(") を見ています");
    return s;
}

/*
**  Readout_At
**  The read-out under a point of the picture.
**
**  Notes:
**  1) The rows as the main panel draws them (Readout_Rows): each covers the
**     columns of its text (one column a Shift_JIS byte) and 16 pixels of
**     height about the middle of its box; the date line splits into the
**     date and time and the Julian day. The Moon's age, which the Moon
**     panel draws, at that panel's place.
*/
ReadoutSpot Readout_At(const KoyomiReadouts& r, double x, double y, int* index)
{
    *index = 0;
    for (const ReadoutRow& row : Readout_Rows(r)) {
        const Box box = row.drawn ? Box{static_cast<double>(row.box.x),
                                        static_cast<double>(row.box.y),
                                        static_cast<double>(row.box.h)}
                                  : kMoonAge;
        if (row.id == RowId::DateLine) {
            const size_t jd_at = row.text.find("ユリウス");
            if (jd_at == std::string::npos) continue;
            if (Within(box, 8, jd_at, x, y)) return ReadoutSpot::DateTime;
            if (Within(box, jd_at, row.text.size(), x, y)) return ReadoutSpot::JulianDay;
            continue;
        }
        if (!row.drawn && row.id != RowId::MoonAge) continue;
        if (!Within(box, row.text, x, y)) continue;
        switch (row.id) {
        case RowId::HorizonLeft: case RowId::HorizonView: case RowId::HorizonRight:
            *index = static_cast<int>(row.id) - static_cast<int>(RowId::HorizonLeft);
            return ReadoutSpot::Horizon;
        case RowId::Sunrise: return ReadoutSpot::Sunrise;
        case RowId::Sunset: return ReadoutSpot::Sunset;
        case RowId::Moonrise: return ReadoutSpot::Moonrise;
        case RowId::Moonset: return ReadoutSpot::Moonset;
        case RowId::Clock: return ReadoutSpot::Clock;
        case RowId::Longitude: return ReadoutSpot::Longitude;
        case RowId::Latitude: return ReadoutSpot::Latitude;
        case RowId::Azimuth: return ReadoutSpot::Azimuth;
        case RowId::TideTitle: return ReadoutSpot::TideTitle;
        case RowId::High1: case RowId::High2: case RowId::Low1: case RowId::Low2:
            *index = static_cast<int>(row.id) - static_cast<int>(RowId::High1);
            return ReadoutSpot::Tide;
        case RowId::MoonAge: return ReadoutSpot::MoonAge;
        default: continue;
        }
    }
    return ReadoutSpot::None;
}

/*
**  Readout_Tooltip
**  What a read-out means, with its value in the record.
*/
std::string Readout_Tooltip(const KoyomiReadouts& r, ReadoutSpot spot, int index)
{
    switch (spot) {
    case ReadoutSpot::DateTime:
        return Printf(U8("日時: date and time %04.0f-%02.0f-%02.0f "), r.line_year, r.line_month,
                      r.line_day) +
               Printf("%02.0f:%02.0f:%02.0f", r.line_hour, r.line_minute, r.line_second) +
               Printf(U8(" (local, in the observer's zone: UTC%+.2f h)"), r.at.place.zone);
    case ReadoutSpot::JulianDay:
        return Printf(U8("ユリウス通日: Julian day (UT) %.5f"), r.at.jd);
    case ReadoutSpot::Sunrise:
        return U8("日の出: sunrise, ") + Readout_HourMinute(r.sunrise, r.sunrise_found) + " (local time)";
    case ReadoutSpot::Sunset:
        return U8("日の入: sunset, ") + Readout_HourMinute(r.sunset, r.sunset_found) + " (local time)";
    case ReadoutSpot::Moonrise:
        return U8("月の出: moonrise, ") + Readout_HourMinute(r.moonrise, r.moonrise_found) +
               U8(" (local time; -- when there is none that day)");
    case ReadoutSpot::Moonset:
        return U8("月の入: moonset, ") + Readout_HourMinute(r.moonset, r.moonset_found) +
               U8(" (local time; -- when there is none that day)");
    case ReadoutSpot::Clock:
        return U8("時刻: local time");
    case ReadoutSpot::Longitude:
        return U8("東経 / 西経: the observer's east / west longitude, degrees");
    case ReadoutSpot::Latitude:
        return U8("北緯 / 南緯: the observer's north / south latitude, degrees");
    case ReadoutSpot::Azimuth:
        return Printf(U8("方位角: the azimuth the view faces, %.0f degrees (0 = south, 90 west, "
                         "180 north, -90 east): "),
                      r.at.place.azimuth) +
               SjisToUtf8(Readout_Direction(r.at.place.azimuth));
    case ReadoutSpot::Horizon:
        return SjisToUtf8(Readout_Direction(r.at.place.azimuth + kHorizonOffset[index])) +
               (index == 1 ? U8(": the direction the view faces, on the horizon")
                           : index == 0 ? U8(": the direction 90° left of the view, on the horizon")
                                        : U8(": the direction 90° right of the view, on the horizon"));
    case ReadoutSpot::TideTitle:
        return U8("東京湾潮汐: tides of Tokyo Bay: 満 high water, 干 low water");
    case ReadoutSpot::Tide: {
        const bool high = index < 2;
        const double t = r.tide[4 + index], height = r.tide[index];
        std::string s = high ? U8("満: high water of Tokyo Bay, ") : U8("干: low water of Tokyo Bay, ");
        if (t == 0.0) return s + U8("none this day");
        s += TideTime(r, t) + Printf(U8(", height %.2f m above datum"), height);
        s += U8("\n満潮 ") + TideTime(r, r.tide[4]) + Printf(" %.2f m", r.tide[0]) + U8(", ") +
             TideTime(r, r.tide[5]) + Printf(" %.2f m", r.tide[1]);
        s += U8("\n干潮 ") + TideTime(r, r.tide[6]) + Printf(" %.2f m", r.tide[2]) + U8(", ") +
             TideTime(r, r.tide[7]) + Printf(" %.2f m", r.tide[3]);
        return s;
    }
    case ReadoutSpot::MoonAge:
        return Printf(U8("月齢: the Moon's age, %.1f days since the new moon"), r.moon_age);
    default:
        return "";
    }
}

const char* Body_English(int index)
{
    return index >= 0 && index < kPanelBodies ? kEnglish[index] : "";
}

std::string Body_Japanese(int index)
{
    return index >= 0 && index < kPanelBodies ? SjisToUtf8(Pla1[index], std::strlen(Pla1[index]))
                                              : std::string();
}

/*
**  Body_Tooltip
**  Names, altitude and azimuth, and the day's events of a body.
**
**  Given:
**     index     int      body index 0..6
**     az, el    double   degrees as drawn: az from the south toward the west
**     rise, transit, set   DayEvent   local hours, found or not
*/
std::string Body_Tooltip(int index, double az, double el, DayEvent rise, DayEvent transit,
                         DayEvent set)
{
    std::string s = Body_Japanese(index) + " " + Body_English(index);
    s += Printf(U8("\n高度 altitude %.1f°, 方位角 azimuth %.1f° ("), el, az) +
         SjisToUtf8(Readout_Direction(az)) + U8(")");
    s += U8("\n出 rise ") + Readout_HourMinute(rise.hours, rise.found) + U8(", 南中 transit ") +
         Readout_HourMinute(transit.hours, transit.found) + U8(", 入 set ") +
         Readout_HourMinute(set.hours, set.found);
    return s;
}

/*
**  Body_Day
**  The rise, meridian passage and set of a body on the record's date.
**
**  Notes:
**  1) The Sun's and the Moon's rise and set are the record's (what the
**     rows show); the rest come from Cal_Rise_Found, Cal_Top_Found and
**     Cal_Set_Found at the record's Julian day, run once for a date, place
**     and body. They overwrite the shared position records, which every
**     repaint computes again from the start.
*/
void Body_Day(const KoyomiReadouts& r, int index, DayEvent* rise, DayEvent* transit,
              DayEvent* set)
{
    *rise = *transit = *set = DayEvent{kNoEvent, false};
    if (index < 0 || index >= kPanelBodies) return;
    const BodyDayKey key{r.event_year, r.event_month, r.event_day,
                         r.at.place.latitude, r.at.place.longitude, r.at.place.zone};
    if (!(g_body_days.key == key)) {
        g_body_days = BodyDayKept{};
        g_body_days.key = key;
    }
    BodyDayKept& k = g_body_days;
    if (!k.valid[index]) {
        const int code = kSearchCode[index];
        bool found = false;
        if (code == kBodySun) {
            k.rise[index] = {r.sunrise, r.sunrise_found};
            k.set[index] = {r.sunset, r.sunset_found};
        } else if (code == kBodyMoon) {
            k.rise[index] = {r.moonrise, r.moonrise_found};
            k.set[index] = {r.moonset, r.moonset_found};
        } else {
            k.rise[index].hours = Cal_Rise_Found(r.at.jd, code, &found);
            k.rise[index].found = found;
            k.set[index].hours = Cal_Set_Found(r.at.jd, code, &found);
            k.set[index].found = found;
        }
        k.transit[index].hours = Cal_Top_Found(r.at.jd, code, &found);
        k.transit[index].found = found;
        k.valid[index] = true;
    }
    *rise = k.rise[index];
    *transit = k.transit[index];
    *set = k.set[index];
}

/*
**  Constellation_Tooltip
**  "Ori.ｵﾘｵﾝ: Orion, オリオン座" of constellation index 0..87.
*/
std::string Constellation_Tooltip(int index)
{
    if (index < 0 || index >= kConstellations) return "";
    const std::string label = SjisToUtf8(Star3[index], std::strlen(Star3[index]));
    const size_t dot = label.find('.');
    const std::string abbr = label.substr(0, dot);
    const auto it = LatinNames().find(abbr);
    std::string s = label + ": " + (it != LatinNames().end() ? it->second : abbr.c_str());
    if (dot != std::string::npos) {
        // the half-width katakana of the label in full width
        gchar* wide = g_utf8_normalize(label.c_str() + dot + 1, -1, G_NORMALIZE_NFKC);
        if (wide) s += std::string(", ") + wide + U8("座");
        g_free(wide);
    }
    return s;
}
