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

#include "app/i18n.h"
#include "app/readout_rows.h"
#include "app/tide_choice.h"
#include "app/readouts.h"
#include "toolkit/sjis.h"
#include "events/riseset.h"
#include "panels/constellations.h"
#include "panels/labels.h"
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

bool English() { return Labels_InUse() == LabelSet::English; }

// A text of the picture (Shift_JIS, either set) as UTF-8.
std::string Drawn(const char* sjis) { return SjisToUtf8(std::string(sjis)); }
std::string Drawn(LabelId id) { return Drawn(Label(id)); }

// A time of local decimal hours in the messages' language ("6:35",
// "6時35分"), the minutes truncated as the rows are; "none" when not found.
std::string TipTime(double hours, bool found)
{
    if (!found) return _("none");
    const double h = std::floor(hours);
    // TRANSLATORS: hour and minute of the day
    return Message(_("%d:%02d"), static_cast<int>(h), static_cast<int>(std::floor((hours - h) * 60)));
}

// Local decimal hours of a tide's Julian day in the observer's zone.
double TideHours(const KoyomiReadouts& r, double t)
{
    double y, mo, d, hr;
    Calendar_Zone(t, &y, &mo, &d, &hr, r.at.place.longitude, r.at.place.zone);
    return hr;
}
// A tide's time: in the picture's language (the sentences) or the messages'
// (the tooltips); none for 0.0.
std::string TideTime(const KoyomiReadouts& r, double t)
{
    return Readout_HourMinute(t == 0.0 ? 0.0 : TideHours(r, t), t != 0.0);
}
std::string TideTip(const KoyomiReadouts& r, double t)
{
    return TipTime(t == 0.0 ? 0.0 : TideHours(r, t), t != 0.0);
}

// Where the tides shown are: the chosen station's name or Tokyo Bay.
std::string TidePlace()
{
    const TideChoice& c = TideChoice_Current();
    if (c.source == TideSource::Station && c.station) return c.station->name;
    return _("Tokyo Bay");
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
    if (!found) return English() ? "none" : U8("なし");
    const double h = std::floor(hours);
    return Printf(English() ? "%.0f:%02.0f" : U8("%.0f時%.0f分"), h, std::floor((hours - h) * 60));
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
    if (English()) return Readout_SentencesEnglish(r);
    std::string s = Printf(U8("日時 %.0f年%.0f月%.0f日 "), r.line_year, r.line_month, r.line_day);
    s += Printf(U8("%.0f時%.0f分"), r.line_hour, r.line_minute);
    s += U8(", 日の出 ") + Readout_HourMinute(r.sunrise, r.sunrise_found);
    s += U8(", 日の入 ") + Readout_HourMinute(r.sunset, r.sunset_found);
    if (r.polar != 0) s += r.polar > 0 ? U8(" (白夜)") : U8(" (極夜)");
    s += U8(", 月の出 ") + Readout_HourMinute(r.moonrise, r.moonrise_found);
    s += U8(", 月の入 ") + Readout_HourMinute(r.moonset, r.moonset_found);
    // (the tides of a station chosen: its name is in the tide heading)
    const bool bay = TideChoice_Current().source == TideSource::TokyoBay;
    s += (bay ? U8(", 東京湾の満潮 ") : U8(", 満潮 ")) + TideTime(r, r.tide[4]) + U8(" と ") + TideTime(r, r.tide[5]);
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
**  Readout_SentencesEnglish
**  The same sentences with the English labels: "Date 2026-12-07 15:39,
**  sunrise 6:35, ..., looking at azimuth 0 degrees (S)".
*/
std::string Readout_SentencesEnglish(const KoyomiReadouts& r)
{
    std::string s = Printf("Date %04.0f-%02.0f-%02.0f ", r.line_year, r.line_month, r.line_day);
    s += Printf("%.0f:%02.0f", r.line_hour, r.line_minute);
    s += ", sunrise " + Readout_HourMinute(r.sunrise, r.sunrise_found);
    s += ", sunset " + Readout_HourMinute(r.sunset, r.sunset_found);
    if (r.polar != 0) s += r.polar > 0 ? " (midnight sun)" : " (polar night)";
    s += ", moonrise " + Readout_HourMinute(r.moonrise, r.moonrise_found);
    s += ", moonset " + Readout_HourMinute(r.moonset, r.moonset_found);
    s += ", high water " + TideTime(r, r.tide[4]) + " and " + TideTime(r, r.tide[5]);
    s += ", low water " + TideTime(r, r.tide[6]) + " and " + TideTime(r, r.tide[7]);
    s += Printf(", Moon's age %.1f", r.moon_age);
    s += Printf(", longitude %.1f", std::fabs(r.at.place.longitude)) +
         (r.at.place.longitude < 0 ? " W" : " E");
    s += Printf(", latitude %.1f", std::fabs(r.at.place.latitude)) +
         (r.at.place.latitude < 0 ? " S" : " N");
    s += Printf(", looking at azimuth %.0f degrees (", r.at.place.azimuth) +
         SjisToUtf8(Readout_Direction(r.at.place.azimuth)) + ")";
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
            const size_t jd_at = row.text.find(English() ? "Julian" : "ユリウス");
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
    const std::string sep = ": ";
    switch (spot) {
    case ReadoutSpot::DateTime: {
        const std::string when =
            Printf("%04.0f-%02.0f-%02.0f ", r.line_year, r.line_month, r.line_day) +
            Printf("%02.0f:%02.0f:%02.0f", r.line_hour, r.line_minute, r.line_second);
        return (English() ? "Date" : U8("日時")) + sep +
               Message(_("date and time %s (local, in the observer's zone: UTC%+.2f h)"), when.c_str(),
                       r.at.place.zone);
    }
    case ReadoutSpot::JulianDay:
        return (English() ? "Julian day" : U8("ユリウス通日")) + sep +
               Message(_("Julian day (UT) %.5f"), r.at.jd);
    case ReadoutSpot::Sunrise:
        return Drawn(LabelId::Sunrise) + sep +
               Message(_("sunrise, %s (local time)"), TipTime(r.sunrise, r.sunrise_found).c_str());
    case ReadoutSpot::Sunset:
        return Drawn(LabelId::Sunset) + sep +
               Message(_("sunset, %s (local time)"), TipTime(r.sunset, r.sunset_found).c_str());
    case ReadoutSpot::Moonrise:
        return Drawn(LabelId::Moonrise) + sep +
               Message(_("moonrise, %s (local time; -- when there is none that day)"),
                       TipTime(r.moonrise, r.moonrise_found).c_str());
    case ReadoutSpot::Moonset:
        return Drawn(LabelId::Moonset) + sep +
               Message(_("moonset, %s (local time; -- when there is none that day)"),
                       TipTime(r.moonset, r.moonset_found).c_str());
    case ReadoutSpot::Clock:
        return (English() ? "Time" : U8("時刻")) + sep + _("local time");
    case ReadoutSpot::Longitude:
        return (English() ? "Lon" : U8("東経 / 西経")) + sep +
               _("the observer's east / west longitude, degrees");
    case ReadoutSpot::Latitude:
        return (English() ? "Lat" : U8("北緯 / 南緯")) + sep +
               _("the observer's north / south latitude, degrees");
    case ReadoutSpot::Azimuth:
        return (English() ? "Azim." : U8("方位角")) + sep +
               Message(_("the azimuth the view faces, %.0f degrees (0 = south, 90 west, 180 north, "
                         "-90 east): %s"),
                       r.at.place.azimuth, SjisToUtf8(Readout_Direction(r.at.place.azimuth)).c_str());
    case ReadoutSpot::Horizon:
        return SjisToUtf8(Readout_Direction(r.at.place.azimuth + kHorizonOffset[index])) + sep +
               (index == 1 ? _("the direction the view faces, on the horizon")
                           : index == 0 ? U8_("the direction 90° left of the view, on the horizon")
                                        : U8_("the direction 90° right of the view, on the horizon"));
    case ReadoutSpot::TideTitle: {
        std::string title = Drawn(Readout_Row(Readout_Rows(r), RowId::TideTitle).text.c_str());
        title.erase(0, title.find_first_not_of(' '));
        return title + sep +
               Message(_("tides of %s: %s high water, %s low water"), TidePlace().c_str(),
                       Drawn(LabelId::High).c_str(), Drawn(LabelId::Low).c_str());
    }
    case ReadoutSpot::Tide: {
        const bool high = index < 2;
        const double t = r.tide[4 + index], height = r.tide[index];
        std::string s = Drawn(high ? LabelId::High : LabelId::Low) + sep;
        const std::string where = TidePlace();
        if (t == 0.0)
            return s + Message(high ? _("high water of %s: none this day")
                                    : _("low water of %s: none this day"),
                               where.c_str());
        s += Message(high ? _("high water of %s, %s, height %.2f m above datum")
                          : _("low water of %s, %s, height %.2f m above datum"),
                     where.c_str(), TideTip(r, t).c_str(), height);
        // TRANSLATORS: the day's two high (or low) waters: times and heights
        const char* both = _("%s %s %.2f m, %s %.2f m");
        s += "\n" + Message(both, _("High water"), TideTip(r, r.tide[4]).c_str(), r.tide[0],
                            TideTip(r, r.tide[5]).c_str(), r.tide[1]);
        s += "\n" + Message(both, _("Low water"), TideTip(r, r.tide[6]).c_str(), r.tide[2],
                            TideTip(r, r.tide[7]).c_str(), r.tide[3]);
        return s;
    }
    case ReadoutSpot::MoonAge:
        return Drawn(LabelId::MoonAgeLabel) + sep +
               Message(_("the Moon's age, %.1f days since the new moon"), r.moon_age);
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
    s += "\n" + Message(U8_("altitude %.1f°, azimuth %.1f° (%s)"), el, az,
                        SjisToUtf8(Readout_Direction(az)).c_str());
    s += "\n" + Message(_("rise %s, transit %s, set %s"), TipTime(rise.hours, rise.found).c_str(),
                        TipTime(transit.hours, transit.found).c_str(),
                        TipTime(set.hours, set.found).c_str());
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
