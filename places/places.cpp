// The gazetteer: loaded and searched when a name is asked for.
#include "places/places.h"

#include <libintl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include <nlohmann/json.hpp>

// A message of the program's own text domain, bound by the program
// (marked N_ for the template).
#define N_(text) text
namespace {
const char* PlacesText(const char* msgid) { return dgettext("tenmado", msgid); }
}  // namespace

namespace {

constexpr double kByFar = 10;  // a match this many times as populous as the next wins

// A whole file into *data (one read into a buffer of the file's size).
bool ReadWhole(const std::string& path, std::string* data)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = size > 0 && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        data->resize(static_cast<size_t>(size));
        ok = std::fread(data->data(), 1, data->size(), f) == data->size();
    }
    if (!ok && errno == 0) errno = EIO;
    std::fclose(f);
    return ok;
}

// ASCII letters folded to lower case; other bytes (UTF-8) as they are.
std::string Fold(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Trim(const std::string& s)
{
    const size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    const size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
}

// The fields of a tab-separated line.
std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> f;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        f.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return f;
        start = tab + 1;
    }
}

// How a name matches the text: whole, by its first words, or by its
// beginning (completion).
enum class Match { Whole, Words, Begins };

// name equals folded query (Whole), begins with it followed by a blank
// (Words), or begins with it (Begins)
bool NameMatches(const std::string& name, const std::string& query, Match how)
{
    if (name.size() < query.size()) return false;
    const std::string f = Fold(name);
    if (how == Match::Whole) return f == query;
    if (f.compare(0, query.size(), query) != 0) return false;
    return how == Match::Begins || (f.size() > query.size() && f[query.size()] == ' ');
}

// Whether any name of a P line (fields 1, 2, 3 comma-separated) matches.
bool AnyName(const std::vector<std::string>& f, const std::string& query, Match prefix)
{
    if (NameMatches(f[1], query, prefix) || (!f[2].empty() && NameMatches(f[2], query, prefix)))
        return true;
    size_t start = 0;
    const std::string& alts = f[3];
    while (start < alts.size()) {
        size_t comma = alts.find(',', start);
        if (comma == std::string::npos) comma = alts.size();
        if (NameMatches(alts.substr(start, comma - start), query, prefix)) return true;
        start = comma + 1;
    }
    return false;
}

// The English names of the countries, by code (iso-codes' JSON).
const std::map<std::string, std::string>& Countries()
{
    static std::map<std::string, std::string> names = [] {
        std::map<std::string, std::string> m;
        std::ifstream in("/usr/share/iso-codes/json/iso_3166-1.json");
        if (!in) return m;
        const nlohmann::json j = nlohmann::json::parse(in, nullptr, false);
        if (j.is_discarded() || !j.contains("3166-1")) return m;
        for (const auto& c : j["3166-1"])
            if (c.contains("alpha_2") && c.contains("name"))
                m[c["alpha_2"].get<std::string>()] = c["name"].get<std::string>();
        return m;
    }();
    return names;
}

// The name to show in Japanese among the alternates (kanji ones first
// when the list has them with a suffix of a municipality too: 札幌 beside
// 札幌市, 東京 beside 東京都), else the first.
std::string JapaneseName(const std::string& alternates)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start < alternates.size()) {
        size_t comma = alternates.find(',', start);
        if (comma == std::string::npos) comma = alternates.size();
        names.push_back(alternates.substr(start, comma - start));
        start = comma + 1;
    }
    // UTF-8 of 市, 都, 町, 村, 区
    static const char* const kSuffixes[] = {"\xe5\xb8\x82", "\xe9\x83\xbd", "\xe7\x94\xba",
                                            "\xe6\x9d\x91", "\xe5\x8c\xba"};
    for (const std::string& n : names)
        for (const std::string& m : names)
            for (const char* suffix : kSuffixes)
                if (m == n + suffix) return n;
    return names.empty() ? "" : names[0];
}

// Whether a qualifier (folded) names the place's division or country.
bool Qualifies(const Place& p, const std::string& q)
{
    if (q.empty()) return true;
    const std::string cc = Fold(p.country);
    if (q == cc || q == cc + "-" + Fold(p.admin1) || q == cc + "." + Fold(p.admin1)) return true;
    if (!p.region.empty() && q == Fold(p.region)) return true;
    const std::string country = Places_CountryName(p.country);
    if (q == Fold(country)) return true;
    return q == Fold(Places_CountryName(p.country, true));
}

}  // namespace

/*
**  Places_Path
**  The gazetteer's file.
**
**  Returned (function value):
**          std::string   $TENMADO_PLACES when set (tests), else the
**                        installed share/tenmado/places.tsv when it
**                        exists, else the source tree's places/places.tsv
*/
std::string Places_Path()
{
    if (const char* env = std::getenv("TENMADO_PLACES")) return env;
    if (std::ifstream(TENMADO_PLACES_INSTALLED).good()) return TENMADO_PLACES_INSTALLED;
    return TENMADO_PLACES_SOURCE;
}

/*
**  Places_Search
**  The places of a name.
**
**  Given:
**     text   const std::string&   "name" or "name, qualifier" (UTF-8)
**     max    size_t               most matches returned
**
**  Returned (function value):
**          PlaceSearch   Found with the one match, Ambiguous with several
**                        (most populous first), Unknown, or NoData with
**                        the reason when the file cannot be read
**
**  Notes:
**  1) Names compare whole, ASCII letters in any case, against the name,
**     its ASCII form and the Japanese alternates; when nothing matches
**     whole, names beginning with the text as whole words match.
**  2) The file is read each call (about 7 MB, a few milliseconds); the
**     program never reads it unless a place is asked for.
*/
namespace {
PlaceSearch Search(const std::string& text, size_t max, bool complete)
{
    PlaceSearch out{PlaceResult::Unknown, {}, ""};
    const std::string path = Places_Path();
    std::string data;
    if (!ReadWhole(path, &data)) {
        out.result = PlaceResult::NoData;
        out.why = path + ": " + std::strerror(errno);
        return out;
    }

    std::string name = text, qualifier;
    const size_t comma = text.rfind(',');
    if (comma != std::string::npos) {
        name = text.substr(0, comma);
        qualifier = Fold(Trim(text.substr(comma + 1)));
    }
    const std::string query = Fold(Trim(name));
    if (query.empty()) return out;

    // the zones and the divisions, the lines before the first place
    std::vector<std::string> zones;
    std::map<std::string, std::string> regions;
    size_t first = 0;
    while (first < data.size() && data[first] != 'P') {
        size_t end = data.find('\n', first);
        if (end == std::string::npos) end = data.size();
        if (data[first] == 'Z') {
            zones.push_back(data.substr(first + 2, end - first - 2));
        } else if (data[first] == 'A') {
            const std::vector<std::string> f = Fields(data.substr(first, end - first));
            if (f.size() == 3) regions[f[1]] = f[2];
        }
        first = end + 1;
    }

    // the lines holding the text (in any case), in the file's order: most
    // populous first
    const std::string folded = Fold(data);
    for (int pass = 0; pass < 2 && out.matches.empty(); pass++) {
        const Match prefix = complete ? Match::Begins : pass == 1 ? Match::Words : Match::Whole;
        if (complete && pass == 1) break;
        size_t at = folded.find(query, first);
        while (at != std::string::npos && out.matches.size() < max) {
            const size_t line_start = folded.rfind('\n', at) + 1;
            size_t end = folded.find('\n', at);
            if (end == std::string::npos) end = folded.size();
            at = folded.find(query, end);
            const std::vector<std::string> f = Fields(data.substr(line_start, end - line_start));
            if (f.size() != 10 || f[0] != "P" || !AnyName(f, query, prefix)) continue;
            Place p;
            p.name = f[1];
            p.ascii = f[2].empty() ? f[1] : f[2];
            p.japanese = JapaneseName(f[3]);
            p.latitude = std::strtod(f[4].c_str(), nullptr);
            p.longitude = std::strtod(f[5].c_str(), nullptr);
            const size_t z = std::strtoul(f[6].c_str(), nullptr, 10);
            p.zone = z < zones.size() ? zones[z] : "";
            p.population = std::strtol(f[7].c_str(), nullptr, 10);
            p.country = f[8];
            p.admin1 = f[9];
            auto r = regions.find(p.country + "." + p.admin1);
            if (r != regions.end()) p.region = r->second;
            if (Qualifies(p, qualifier)) out.matches.push_back(p);
        }
    }
    if (out.matches.size() == 1) out.result = PlaceResult::Found;
    else if (out.matches.size() > 1) out.result = PlaceResult::Ambiguous;
    return out;
}
}  // namespace

PlaceSearch Places_Search(const std::string& text, size_t max) { return Search(text, max, false); }

/*
**  Places_Complete
**  The places whose name (or ASCII or Japanese name) begins with text,
**  most populous first, at most max (a search entry's completion).
*/
PlaceSearch Places_Complete(const std::string& text, size_t max) { return Search(text, max, true); }

/*
**  Places_Find
**  The one place of a name, the rule of --place.
**
**  Returned (function value):
**          PlaceSearch   as Places_Search; several matches give Found
**                        with the most populous alone when it has at least
**                        ten times the people of the next (Sapporo, London)
*/
PlaceSearch Places_Find(const std::string& text)
{
    PlaceSearch s = Places_Search(text, 50);
    if (s.result == PlaceResult::Ambiguous &&
        static_cast<double>(s.matches[0].population) >= kByFar * s.matches[1].population) {
        s.matches.resize(1);
        s.result = PlaceResult::Found;
    }
    return s;
}

/*
**  Places_CountryName
**  A country's name from its ISO 3166-1 code.
**
**  Returned (function value):
**          std::string   the English name of iso-codes, translated by the
**                        gettext domain iso_3166-1 when translated is true
**                        (the locale's language); the code when unknown
*/
std::string Places_CountryName(const std::string& code, bool translated)
{
    const auto& names = Countries();
    auto it = names.find(code);
    if (it == names.end()) return code;
    if (!translated) return it->second;
    return dgettext("iso_3166-1", it->second.c_str());
}

/*
**  Places_Describe
**  One line about a place, for lists and messages.
*/
std::string Places_Describe(const Place& p)
{
    char where[160];
    std::snprintf(where, sizeof where, "%.4f %c, %.4f %c", p.latitude < 0 ? -p.latitude : p.latitude,
                  p.latitude < 0 ? 'S' : 'N', p.longitude < 0 ? -p.longitude : p.longitude,
                  p.longitude < 0 ? 'W' : 'E');
    std::string s = p.name;
    if (!p.japanese.empty()) s += " (" + p.japanese + ")";
    if (!p.region.empty()) s += ", " + p.region;
    s += ", " + Places_CountryName(p.country) + " [" + p.country + (p.admin1.empty() ? "" : "-" + p.admin1) + "]";
    char people[96];
    std::snprintf(people, sizeof people, PlacesText(N_("%ld people")), static_cast<long>(p.population));
    s += ": " + std::string(where) + ", " + p.zone + ", " + people;
    return s;
}
