// Which tides the read-outs show: the four-constituent model of Tokyo Bay
// (the default), a station of the tide database (by its id, or the nearest
// to the observer), or none (no station near enough).
#pragma once
#include <string>
#include <vector>

#include "tides/predict.h"
#include "tides/stations.h"

enum class TideSource { TokyoBay, Station, None };

struct TideChoice {
    TideSource source = TideSource::TokyoBay;
    std::string setting;                 // as given: "", "tokyo-bay", "nearest" or an id
    const TideStation* station = nullptr;  // TideSource::Station
    TideModel model;
    double distance_km = 0;              // from the observer
    std::string heading;                 // Shift_JIS, the station's short name + 潮汐
    std::string gap;                     // between the heading and the tide's name: " " or ""
    std::string heading_en;              // the English set's: the English name, cut
};

// The id of the default model, and of the nearest station.
constexpr const char* kTideTokyoBay = "tokyo-bay";
constexpr const char* kTideNearest = "nearest";
// The farthest a station may lie for "nearest", km.
constexpr double kTideNearestMaxKm = 2000.0;

// Chooses the tides by a setting (empty: the default) for the observer at
// lat, lon. false for an id the database does not hold: problem then names
// the three closest stations and the default stays. A data file that
// cannot be read gives one warning and the default; "nearest" with no
// station within 2,000 km a warning and no tides.
bool TideChoice_Choose(const std::string& setting, double lat, double lon, std::string* problem,
                       std::vector<std::string>* warnings);
const TideChoice& TideChoice_Current();
// Back to the default (tests).
void TideChoice_Reset();

// The database, read once (null and why when it cannot be read).
const TideDatabase* TideChoice_Database(std::string* why);
// The station list of --tide-stations: a header naming the data and its
// licences, then one line a station whose name, region or country holds
// text (all for empty): id, name, region, country, latitude, longitude,
// licence; nearest first with its distance when near is true.
std::string TideChoice_List(const std::string& text, bool near, double lat, double lon);

// A station offered for choosing (the Preferences window): its id, a line
// naming it (UTF-8: the Japanese name, the name, region and country) and
// its distance from the observer, km.
struct TideOffer {
    std::string id;
    std::string label;
    double km;
};
// At most count stations whose name, Japanese name, region or country
// holds text (all for empty), nearest to lat, lon first; none without the
// database.
std::vector<TideOffer> TideChoice_Offers(const std::string& text, double lat, double lon,
                                         size_t count);
// The offer of one setting (an id of the database; not "nearest" nor
// "tokyo-bay"); false when the id is not there.
bool TideChoice_OfferOf(const std::string& id, double lat, double lon, TideOffer* offer);

// The heading of a station's rows: its Japanese name (the part before a
// bracket) or the database's, cut to max_cells half-width cells, then 潮汐
// (Shift_JIS); cells receives the name's width.
std::string TideChoice_Heading(const TideStation& s, int max_cells, int* cells);
// The English set's heading: the station's English name (the part before a
// comma) cut to max_cells cells, ASCII; the brief tide name follows it.
std::string TideChoice_HeadingEnglish(const TideStation& s, int max_cells);
// The tide's name (潮名, Shift_JIS) of the date of jd: the station's local
// date, or the date in JST for Tokyo Bay and for none; kept for the date.
const char* TideChoice_NameAt(double jd);
// The day record of the station's local date of jd (the chosen station;
// zeros for none) and the tide's name of that date.
void TideChoice_Day(double jd, double record[8], double* day_start);
