// Reading the tide stations' data file and finding stations in it.
#include "tides/stations.h"

#include <libintl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>

#include "timecal/constants.h"

namespace {

// A message of the program's text domain (bound by the program), with the
// one string it names put in for %s.
#define _(text) dgettext("tenmado", text)
std::string Say(const char* format, const std::string& a, const std::string& b = "")
{
    const std::string* args[2] = {&a, &b};
    int k = 0;
    std::string out;
    for (const char* c = format; *c; ++c) {
        if (c[0] == '%' && c[1] == 's' && k < 2) {
            out += *args[k++];
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

constexpr double kEarthKm = 6371.0;
constexpr size_t kMaxFile = 64u << 20;  // a data file is a few megabytes
constexpr int kFields = 14;             // kind + 11 station fields + 2

std::vector<std::string_view> Split(std::string_view line, char sep)
{
    std::vector<std::string_view> out;
    size_t start = 0;
    for (;;) {
        size_t at = line.find(sep, start);
        out.push_back(line.substr(start, at == std::string_view::npos ? std::string_view::npos
                                                                       : at - start));
        if (at == std::string_view::npos) return out;
        start = at + 1;
    }
}

bool Number(std::string_view text, double* v)
{
    if (text.empty() || text.size() > 40) return false;
    char buf[48];
    text.copy(buf, text.size());
    buf[text.size()] = '\0';
    char* end = nullptr;
    *v = std::strtod(buf, &end);
    return end && *end == '\0' && std::isfinite(*v);
}

std::string Field(std::string_view f) { return f == "-" ? std::string() : std::string(f); }

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

/*
**  TideDb_Terms
**  The constituents of a reference station, read from their text.
**
**  Given:
**     s      TideStation   terms_text: "index:amplitude:phase ..." (0.1 mm,
**                          0.01 degree), and the number of names
**
**  Returned:
**     terms  std::vector<TideTerm>*   metres and degrees
**     (function value) bool           false for text that does not read
*/
bool TideDb_Terms(const std::string& text, size_t names, std::vector<TideTerm>* terms)
{
    terms->clear();
    const char* p = text.c_str();
    while (*p) {
        char* end;
        long i = std::strtol(p, &end, 10);
        if (*end != ':' || i < 0 || static_cast<size_t>(i) >= names) return false;
        long a = std::strtol(end + 1, &end, 10);
        if (*end != ':' || a < 0) return false;
        long g = std::strtol(end + 1, &end, 10);
        if ((*end != ' ' && *end != '\0') || g < 0 || g >= 36000) return false;
        terms->push_back({static_cast<int>(i), a / 10000.0, g / 100.0});
        p = *end ? end + 1 : end;
    }
    return !terms->empty();
}

namespace {

bool Station(const std::vector<std::string_view>& f, TideStation* s)
{
    if (f.size() != kFields || (f[0] != "R" && f[0] != "S")) return false;
    s->id = std::string(f[1]);
    s->name = Field(f[2]);
    s->name_ja = Field(f[3]);
    s->region = Field(f[4]);
    s->country = Field(f[5]);
    s->timezone = Field(f[8]);
    s->source = Field(f[9]);
    s->license = Field(f[10]);
    s->datum = Field(f[11]);
    if (s->id.empty() || s->name.empty() || !Number(f[6], &s->latitude) ||
        !Number(f[7], &s->longitude) || std::fabs(s->latitude) > 90 || std::fabs(s->longitude) > 180)
        return false;
    if (f[0] == "R") {
        s->terms_text = std::string(f[13]);
        return Number(f[12], &s->z0) && !f[13].empty();
    }
    s->subordinate = true;
    s->reference = std::string(f[12]);
    std::vector<std::string_view> o = Split(f[13], ' ');
    if (o.size() != 5 || (o[0] != "ratio" && o[0] != "fixed")) return false;
    s->ratio = o[0] == "ratio";
    return Number(o[1], &s->height_high) && Number(o[2], &s->height_low) &&
           Number(o[3], &s->time_high) && Number(o[4], &s->time_low);
}

// Levenshtein distance
size_t Distance(const std::string& a, const std::string& b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); j++) row[j] = j;
    for (size_t i = 1; i <= a.size(); i++) {
        size_t diag = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); j++) {
            size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] != b[j - 1])});
            diag = up;
        }
    }
    return row[b.size()];
}

std::string ProgramFolder()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return ".";
    std::string path(buf, static_cast<size_t>(n));
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string TideDb_Path()
{
    const char* given = std::getenv("TENMADO_TIDE_STATIONS");
    if (given && *given) return given;
    const std::string folder = ProgramFolder();
    const std::string installed = folder + "/../share/tenmado/tide_stations.tsv";
    if (std::ifstream(installed)) return installed;
    return folder + "/tide_stations.tsv";
}

/*
**  TideDb_Load
**  The stations of a data file.
**
**  Given:
**     path   std::string   the file (tools/gen_tide_stations.py's layout)
**
**  Returned:
**     db     TideDatabase*   the constituent names, the stations, the
**                            comment lines; empty when false
**     why    std::string*    what is wrong, when false
**     (function value) bool  false for a missing, unreadable or damaged
**                            file: every line must read, every
**                            subordinate station's reference must be a
**                            reference station of the file
*/
bool TideDb_Load(const std::string& path, TideDatabase* db, std::string* why)
{
    *db = TideDatabase{};
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        *why = Say(_("cannot read %s"), path);
        return false;
    }
    std::string text;
    text.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    if (text.size() > kMaxFile || text.empty() || text.back() != '\n') {
        *why = Say(_("%s is not a tide station file (size or ending)"), path);
        return false;
    }
    TideDatabase d;
    size_t start = 0, line_no = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        ++line_no;
        if (line.rfind("# ", 0) == 0) {
            d.provenance.emplace_back(line.substr(2));
            continue;
        }
        if (line.rfind("C\t", 0) == 0 && d.names.empty()) {
            for (std::string_view n : Split(line.substr(2), '\t')) d.names.emplace_back(n);
            continue;
        }
        TideStation s;
        if (d.names.empty() || !Station(Split(line, '\t'), &s)) {
            *why = Say(_("%s: line %s is not a tide station"), path, std::to_string(line_no));
            return false;
        }
        d.stations.push_back(std::move(s));
    }
    if (d.stations.empty()) {
        *why = Say(_("%s holds no stations"), path);
        return false;
    }
    std::sort(d.stations.begin(), d.stations.end(),
              [](const TideStation& a, const TideStation& b) { return a.id < b.id; });
    for (const TideStation& s : d.stations) {
        if (!s.subordinate) continue;
        const TideStation* r = TideDb_Find(d, s.reference);
        if (!r || r->subordinate) {
            *why = Say(_("%s: %s names no reference station"), path, s.id);
            return false;
        }
    }
    *db = std::move(d);
    return true;
}

const TideStation* TideDb_Find(const TideDatabase& db, const std::string& id)
{
    auto it = std::lower_bound(db.stations.begin(), db.stations.end(), id,
                               [](const TideStation& s, const std::string& k) { return s.id < k; });
    return it != db.stations.end() && it->id == id ? &*it : nullptr;
}

double Tide_DistanceKm(double lat1, double lon1, double lat2, double lon2)
{
    const double p1 = lat1 * kDegToRad, p2 = lat2 * kDegToRad;
    const double dp = p2 - p1, dl = (lon2 - lon1) * kDegToRad;
    const double a = std::pow(std::sin(dp / 2), 2) +
                     std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    return 2 * kEarthKm * std::asin(std::min(1.0, std::sqrt(a)));
}

const TideStation* TideDb_Nearest(const TideDatabase& db, double lat, double lon, double max_km,
                                  double* km)
{
    const TideStation* best = nullptr;
    double best_km = 0;
    for (const TideStation& s : db.stations) {
        const double d = Tide_DistanceKm(lat, lon, s.latitude, s.longitude);
        if (d <= max_km && (!best || d < best_km)) {
            best = &s;
            best_km = d;
        }
    }
    if (best && km) *km = best_km;
    return best;
}

std::vector<const TideStation*> TideDb_Search(const TideDatabase& db, const std::string& text)
{
    const std::string key = Lower(text);
    std::vector<const TideStation*> out;
    for (const TideStation& s : db.stations) {
        if (key.empty() || Lower(s.name).find(key) != std::string::npos ||
            s.name_ja.find(text) != std::string::npos ||
            Lower(s.region).find(key) != std::string::npos ||
            Lower(s.country).find(key) != std::string::npos)
            out.push_back(&s);
    }
    return out;
}

std::vector<const TideStation*> TideDb_Suggest(const TideDatabase& db, const std::string& text,
                                               int count)
{
    const std::string key = Lower(text);
    std::vector<std::pair<size_t, const TideStation*>> scored;
    for (const TideStation& s : db.stations) {
        // the text within the id or the name counts as a match; otherwise
        // the edit distance to the name or to the id's start of the
        // text's length
        const std::string id = Lower(s.id), name = Lower(s.name);
        size_t d = 0;
        if (key.empty() || (id.find(key) == std::string::npos && name.find(key) == std::string::npos))
            d = 1 + std::min(Distance(key, name), Distance(key, id.substr(0, key.size())));
        scored.push_back({d, &s});
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const TideStation*> out;
    for (size_t i = 0; i < scored.size() && static_cast<int>(i) < count; i++)
        out.push_back(scored[i].second);
    return out;
}
