// The choice of the tides the read-outs show, and the station list.
#include "app/tide_choice.h"

#include <glib.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <memory>

#include "app/i18n.h"
#include "events/day_kept.h"
#include "tides/tide_name.h"

namespace {

constexpr int kHeadingNameCells = 8;  // half-width cells of a station's name in the heading

TideChoice g_choice;
TideDatabase g_db;
bool g_db_tried = false, g_db_ok = false;
std::string g_db_why;

// UTF-8 to Shift_JIS (CP932), characters it lacks as "?".
std::string ToSjis(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932//TRANSLIT", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
    std::string out;
    char buf[256];
    char* in = const_cast<char*>(utf8.data());
    size_t left = utf8.size();
    while (left > 0) {
        char* o = buf;
        size_t room = sizeof buf;
        size_t r = iconv(cd, &in, &left, &o, &room);
        out.append(buf, static_cast<size_t>(o - buf));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // a character without a Shift_JIS form: skip it
            out += '?';
            ++in;
            --left;
            while (left > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) { ++in; --left; }
        }
    }
    iconv_close(cd);
    return out;
}

// Shift_JIS cut to at most max half-width cells (a double-byte character
// is two cells and is never split).
std::string Cut(const std::string& sjis, int max)
{
    std::string out;
    int cells = 0;
    for (size_t i = 0; i < sjis.size();) {
        const unsigned char c = static_cast<unsigned char>(sjis[i]);
        const bool wide = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        const int w = wide ? 2 : 1;
        if (cells + w > max) break;
        out.append(sjis, i, wide ? 2 : 1);
        cells += w;
        i += wide ? 2 : 1;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// The day searches' source of tides: the chosen station's local date and
// day record, or none (every entry 0.0).
const char kNoStation = 0;  // the owner of "no station"
double StationKey(double jd)
{
    double start = 0, end;
    if (g_choice.station) Tide_LocalDay(*g_choice.station, jd, &start, &end);
    return start;
}
void StationDay(double jd, double record[8])
{
    double start;
    TideChoice_Day(jd, record, &start);
}
void UseChoice()
{
    if (g_choice.source == TideSource::TokyoBay) {
        DayEvents_SetTides(nullptr);
        return;
    }
    const DayTides tides{g_choice.source == TideSource::Station
                             ? static_cast<const void*>(g_choice.station)
                             : static_cast<const void*>(&kNoStation),
                         StationKey, StationDay};
    DayEvents_SetTides(&tides);
}

}  // namespace

const TideDatabase* TideChoice_Database(std::string* why)
{
    if (!g_db_tried) {
        g_db_tried = true;
        g_db_ok = TideDb_Load(TideDb_Path(), &g_db, &g_db_why);
    }
    if (!g_db_ok && why) *why = g_db_why;
    return g_db_ok ? &g_db : nullptr;
}

std::string TideChoice_Heading(const TideStation& s, int max_cells, int* cells)
{
    std::string name = s.name_ja;
    if (!name.empty()) {
        // the part before a bracket: 八丈島（神湊） is 八丈島
        const size_t b = std::min(name.find("\xEF\xBC\x88"), name.find('('));
        if (b != std::string::npos && b > 0) name.resize(b);
    } else {
        name = s.name;
        const size_t comma = name.find(',');
        if (comma != std::string::npos && comma > 0) name.resize(comma);
    }
    const std::string cut = Cut(ToSjis(name), max_cells);
    *cells = static_cast<int>(cut.size());  // Shift_JIS: one byte a cell
    return cut + "潮汐";
}

/*
**  TideChoice_HeadingEnglish
**  The English labels' heading of a station: its English name.
**
**  Given:
**     s           TideStation   the station (name: "Kushimoto", "Sydney, Fort Denison")
**     max_cells   int           the most half-width cells the name may take
**
**  Returned (function value):
**                 std::string   the part of the name before a comma, its
**                               letters beyond ASCII as their nearest ASCII
**                               (g_str_to_ascii, "?" for none), cut
**                               to max_cells and without trailing blanks
*/
std::string TideChoice_HeadingEnglish(const TideStation& s, int max_cells)
{
    std::string name = s.name;
    const size_t comma = name.find(',');
    if (comma != std::string::npos && comma > 0) name.resize(comma);
    // letters beyond ASCII as their nearest ASCII ("Bahía" is "Bahia"), by
    // GLib's table, the same in every locale
    gchar* folded = g_str_to_ascii(name.c_str(), "C");
    const std::string ascii = folded ? folded : "";
    g_free(folded);
    return Cut(ascii, max_cells);
}

/*
**  TideChoice_Choose
**  The tides of a setting.
**
**  Given:
**     setting    std::string   "" or "tokyo-bay" (the four-constituent model
**                              of Tokyo Bay), "nearest", or a station id
**     lat, lon   double        the observer, degrees
**
**  Returned:
**     problem    std::string*  for an unknown id: the three closest names
**     warnings   std::vector<std::string>*   one line each: the data file
**                              not readable (the default used), no station
**                              within 2,000 km for "nearest" (no tides),
**                              constituents the predictor does not know
**     (function value) bool    false for an unknown id
*/
namespace {
bool Choose(const std::string& setting, double lat, double lon, std::string* problem,
            std::vector<std::string>* warnings);
}  // namespace

bool TideChoice_Choose(const std::string& setting, double lat, double lon, std::string* problem,
                       std::vector<std::string>* warnings)
{
    const bool ok = Choose(setting, lat, lon, problem, warnings);
    UseChoice();
    return ok;
}

namespace {
bool Choose(const std::string& setting, double lat, double lon, std::string* problem,
            std::vector<std::string>* warnings)
{
    g_choice = TideChoice{};
    g_choice.setting = setting;
    if (setting.empty() || setting == kTideTokyoBay) return true;
    std::string why;
    const TideDatabase* db = TideChoice_Database(&why);
    if (!db) {
        warnings->push_back(Message(_("tide stations: %s; the tides of Tokyo Bay are shown"), why.c_str()));
        g_choice.setting.clear();
        return true;
    }
    const TideStation* s = nullptr;
    double km = 0;
    if (setting == kTideNearest) {
        s = TideDb_Nearest(*db, lat, lon, kTideNearestMaxKm, &km);
        if (!s) {
            char place[64];
            std::snprintf(place, sizeof place, "%.4f, %.4f", lat, lon);
            warnings->push_back(Message(_("no tide station within 2000 km of %s; no tides are shown"), place));
            g_choice.source = TideSource::None;
            g_choice.heading = "  潮汐";
            return true;
        }
    } else {
        s = TideDb_Find(*db, setting);
        if (!s) {
            std::string names;
            for (const TideStation* n : TideDb_Suggest(*db, setting, 3))
                names += (names.empty() ? "" : ", ") + n->id + " (" + n->name + ")";
            *problem = Message(_("no tide station %s in the database; the closest: %s "
                                 "(--tide-stations lists them)"),
                               setting.c_str(), names.c_str());
            g_choice = TideChoice{};
            return false;
        }
        km = Tide_DistanceKm(lat, lon, s->latitude, s->longitude);
    }
    g_choice.source = TideSource::Station;
    g_choice.station = s;
    g_choice.distance_km = km;
    g_choice.model = Tide_Model(*db, *s);
    // the panel's right column holds 16 cells: the name, 潮汐 and the
    // tide's name, with a blank between when it fits
    int cells = 0;
    g_choice.heading = TideChoice_Heading(*s, kHeadingNameCells, &cells);
    g_choice.gap = cells <= kHeadingNameCells - 2 ? " " : "";
    g_choice.heading_en = TideChoice_HeadingEnglish(*s, kHeadingNameCells);
    if (g_choice.model.constituents.empty()) {
        warnings->push_back(Message(_("tide station %s: its constituents do not read; no tides are shown"),
                                    s->id.c_str()));
        g_choice.source = TideSource::None;
    } else if (g_choice.model.unknown > 0) {
        warnings->push_back(Message(ngettext("tide station %s: %d constituent not known to the predictor "
                                             "is left out",
                                             "tide station %s: %d constituents not known to the predictor "
                                             "are left out",
                                             g_choice.model.unknown),
                                    s->id.c_str(), g_choice.model.unknown));
    }
    return true;
}

}  // namespace

const TideChoice& TideChoice_Current() { return g_choice; }

void TideChoice_Reset()
{
    g_choice = TideChoice{};
    UseChoice();
}

void TideChoice_Day(double jd, double record[8], double* day_start)
{
    for (int i = 0; i < 8; i++) record[i] = 0.0;
    *day_start = 0.0;
    if (g_choice.source != TideSource::Station || !g_choice.station) return;
    double end;
    Tide_LocalDay(*g_choice.station, jd, day_start, &end);
    Tide_StationDay(g_db, *g_choice.station, g_choice.model, jd, record);
}

const char* TideChoice_NameAt(double jd)
{
    static double kept_start = -1;
    static const char* kept_name = "";
    constexpr double kJst = 9.0 / 24.0;
    double start, end;
    if (g_choice.source == TideSource::Station && g_choice.station)
        Tide_LocalDay(*g_choice.station, jd, &start, &end);
    else
        start = std::floor(jd + kJst + 0.5) - 0.5 - kJst;
    if (start != kept_start) {
        kept_start = start;
        kept_name = Tide_NameOfDate(start);
    }
    return kept_name;
}

namespace {

TideOffer Offer(const TideStation& s, double km)
{
    std::string label = s.name_ja.empty() ? s.name : s.name_ja + " " + s.name;
    if (!s.region.empty() && s.region != s.name) label += ", " + s.region;
    if (!s.country.empty()) label += ", " + s.country;
    return {s.id, label, km};
}

}  // namespace

/*
**  TideChoice_Offers
**  The stations to choose from, nearest first.
**
**  Notes:
**  1) A partial sort: only the count nearest of the matches are ordered
**     (the whole database is some thousands of stations).
*/
std::vector<TideOffer> TideChoice_Offers(const std::string& text, double lat, double lon,
                                         size_t count)
{
    std::vector<TideOffer> out;
    const TideDatabase* db = TideChoice_Database(nullptr);
    if (!db) return out;
    std::vector<std::pair<double, const TideStation*>> rows;
    for (const TideStation* s : TideDb_Search(*db, text))
        rows.push_back({Tide_DistanceKm(lat, lon, s->latitude, s->longitude), s});
    const size_t n = std::min(count, rows.size());
    std::partial_sort(rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n), rows.end(),
                      [](const auto& a, const auto& b) {
                          return a.first < b.first || (a.first == b.first && a.second->id < b.second->id);
                      });
    for (size_t i = 0; i < n; ++i) out.push_back(Offer(*rows[i].second, rows[i].first));
    return out;
}

bool TideChoice_OfferOf(const std::string& id, double lat, double lon, TideOffer* offer)
{
    const TideDatabase* db = TideChoice_Database(nullptr);
    const TideStation* s = db ? TideDb_Find(*db, id) : nullptr;
    if (!s) return false;
    *offer = Offer(*s, Tide_DistanceKm(lat, lon, s->latitude, s->longitude));
    return true;
}

std::string TideChoice_List(const std::string& text, bool near, double lat, double lon)
{
    std::string why;
    const TideDatabase* db = TideChoice_Database(&why);
    if (!db) return "";
    std::string out;
    for (const std::string& p : db->provenance)
        if (p.rfind("Generated", 0) != 0 && p.rfind("Command", 0) != 0) out += "# " + p + "\n";
    out += std::string("# ") +
           _("Also: tokyo-bay (the four-constituent model of Tokyo Bay, the default), nearest.") + "\n";
    out += near ? "# id\tname\tregion\tcountry\tlatitude\tlongitude\tlicence\tdistance_km\n"
                : "# id\tname\tregion\tcountry\tlatitude\tlongitude\tlicence\n";
    std::vector<const TideStation*> found = TideDb_Search(*db, text);
    std::vector<std::pair<double, const TideStation*>> rows;
    for (const TideStation* s : found)
        rows.push_back({near ? Tide_DistanceKm(lat, lon, s->latitude, s->longitude) : 0.0, s});
    if (near)
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [km, s] : rows) {
        char pos[64];
        std::snprintf(pos, sizeof pos, "%.4f\t%.4f", s->latitude, s->longitude);
        std::string name = s->name + (s->name_ja.empty() ? "" : " " + s->name_ja);
        out += s->id + "\t" + name + "\t" + (s->region.empty() ? "-" : s->region) + "\t" +
               s->country + "\t" + pos + "\t" + s->license;
        if (near) {
            char d[32];
            std::snprintf(d, sizeof d, "\t%.1f", km);
            out += d;
        }
        out += "\n";
    }
    return out;
}
