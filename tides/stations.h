// The tide stations of the data file tools/gen_tide_stations.py writes
// (installed as share/tenmado/tide_stations.tsv): reading it, finding a
// station by id, by place and by name.
#pragma once
#include <string>
#include <vector>

// One constituent of a reference station: amplitude (metres) and Greenwich
// phase lag (degrees) of the constituent named names[index].
struct TideTerm {
    int index;
    double amplitude;
    double phase;
};

struct TideStation {
    std::string id;        // the database's own id, "ticon/osaka-ma30-jpn-jodc_jma"
    std::string name;      // the database's name, "Osaka"
    std::string name_ja;   // JMA's name within 3 km ("大阪", UTF-8), or empty
    std::string region, country, timezone, source, license;
    std::string datum;     // the chart datum the heights are above ("NLLW", "MLLW", "MSL")
    double latitude = 0, longitude = 0;  // degrees, north and east positive
    bool subordinate = false;
    // a reference station: mean sea level above the datum (metres) and the
    // constituents
    double z0 = 0;
    std::string terms_text;  // read by TideDb_Terms when the station is used
    // a subordinate station: its reference, height factors (ratio) or
    // metres added (fixed) and minutes added, for high and low water
    std::string reference;
    bool ratio = true;
    double height_high = 1, height_low = 1, time_high = 0, time_low = 0;
};

struct TideDatabase {
    std::vector<std::string> names;       // constituent names by index
    std::vector<TideStation> stations;    // in id order
    std::vector<std::string> provenance;  // the file's comment lines, without "# "
};

// The data file beside the program: $TENMADO_TIDE_STATIONS when set, else
// share/tenmado/tide_stations.tsv above the program's folder, else
// tide_stations.tsv in the program's own folder (the build tree).
std::string TideDb_Path();
// Reads a data file; false and a reason for a file that is missing or not
// one (the database is left empty then).
bool TideDb_Load(const std::string& path, TideDatabase* db, std::string* why);

// The constituents of a reference station's text (terms_text) for a file
// of `names` constituent names; false for text that does not read.
bool TideDb_Terms(const std::string& text, size_t names, std::vector<TideTerm>* terms);

// The station of an id, or null.
const TideStation* TideDb_Find(const TideDatabase& db, const std::string& id);
// The nearest station to a place (great circle), or null when none lies
// within max_km; km receives its distance.
const TideStation* TideDb_Nearest(const TideDatabase& db, double latitude, double longitude,
                                  double max_km, double* km);
// The stations whose name, Japanese name, region or country contains text
// (case-insensitive; all for an empty text), in id order.
std::vector<const TideStation*> TideDb_Search(const TideDatabase& db, const std::string& text);
// The count stations whose id or name is closest to text (edit distance,
// case-insensitive), closest first.
std::vector<const TideStation*> TideDb_Suggest(const TideDatabase& db, const std::string& text,
                                               int count);
// Great-circle distance, km (haversine on a sphere of 6371 km).
double Tide_DistanceKm(double lat1, double lon1, double lat2, double lon2);
