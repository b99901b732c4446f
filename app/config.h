// The observer's settings in three layers, the later winning: the built-in
// defaults (kObserverDefaults: Tokyo, the zone from the longitude, the view
// to the south), a settings file (GLib key file, group [observer]: latitude,
// longitude, zone, azimuth; group [window]: widget; group [display]:
// labels), and the command line.
// The program reads the file; only the Preferences window writes it
// (settings_file.h).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "panels/labels.h"

// The settings one layer gives; an absent value leaves the layer below.
struct ConfigLayer {
    std::optional<double> latitude;   // degrees, north positive, [-90, 90]
    std::optional<double> longitude;  // degrees, east positive, [-180, 180]
    std::optional<double> zone;       // hours east of UTC, [-12, 14], a multiple of 0.25
    std::optional<double> azimuth;    // degrees from the south toward the west, [-360, 360]
    std::optional<bool> widget;       // the window as a desktop widget
    std::optional<LabelChoice> labels;  // the picture's and the almanac's texts
    std::optional<std::string> tide_station;  // [tides] station: an id, "nearest", "tokyo-bay"
    // ---- by name: a zone of the tz database ("Europe/London", "system"),
    // and a place of the gazetteer (its latitude, longitude and zone, below
    // the layer's own latitude, longitude and zone)
    std::optional<std::string> zone_name;
    struct Place {
        std::string name;
        double latitude, longitude;
        std::string zone;
    };
    std::optional<Place> place;
};

// The settings of the program: the layers applied in order over the
// defaults.
struct ConfigValues {
    double latitude, longitude;
    bool zone_set;  // false: the zone from the longitude
    double zone;
    double azimuth;
    bool widget;
    LabelChoice labels = LabelChoice::Japanese;  // unless a layer says otherwise
    std::string tide_station = {};  // [tides] station / --tide-station; empty: Tokyo Bay
    std::string zone_name = {};   // a named zone ("Europe/London", "system"), or empty
    std::string place_name = {};  // the place chosen by name, or empty
};
ConfigValues Config_Defaults();
void Config_Over(const ConfigLayer& layer, ConfigValues* values);

// ---- one value
enum class ConfigKey { Latitude, Longitude, Zone, Azimuth };
// The key's name in the file ("latitude") and on the command line ("--lat").
const char* Config_KeyName(ConfigKey key);
const char* Config_OptionName(ConfigKey key);
// What the key accepts, for messages: "a number of degrees from -90 to 90
// (north positive)".
std::string Config_Accepted(ConfigKey key);
// The option's value name and help text, for --help.
const char* Config_OptionArg(ConfigKey key);
std::string Config_OptionHelp(ConfigKey key);
// Text to a value of the key: a number (ParseNumber) in the key's range,
// or false.
bool Config_Parse(ConfigKey key, const char* text, double* value);
// The zone's text: hours (Config_Parse) into layer->zone, or a zone name
// GLib knows ("Asia/Tokyo", "system") into layer->zone_name; false for
// anything else.
bool Config_ParseZone(const char* text, ConfigLayer* layer);
// What the zone accepts, for messages.
std::string Config_ZoneAccepted();
// A place by name into layer->place ("Sapporo", "札幌", "Portland,
// Oregon"); false with the problem in *why (unknown, ambiguous with the
// candidates one a line, or the gazetteer missing).
bool Config_ParsePlace(const std::string& text, ConfigLayer* layer, std::string* why);

// ---- the settings file
// [window] welcomed = true: the first start's offer to set the place was
// dismissed (written with the file; read by nothing else).
constexpr const char* kWelcomedKey = "welcomed";
// Whether the window offers to set the place: no --config, no option that
// says where (--place, --lat, --lon), and no settings file at
// default_path (nothing there at all: a file of any content, even one
// that cannot be read, is the user's).
bool Config_FirstStart(bool config_given, const ConfigLayer& options,
                       const std::string& default_path);
// The file read without --config: $XDG_CONFIG_HOME/tenmado/settings.ini
// (~/.config/tenmado/settings.ini when XDG_CONFIG_HOME is not set).
std::string Config_DefaultPath();
// The good values of a settings file and one warning line for each problem
// (required false: the default file, whose absence says nothing).
void Config_ReadFile(const std::string& path, bool required, ConfigLayer* layer,
                     std::vector<std::string>* warnings);

// The values into the observer's settings (m_input_lat, m_input_lon,
// m_input_zone_set, m_input_zone, m_input_azmt, the named zone's rule), the
// view's home and the label set (auto: by the first of the user's languages
// for messages).
void Config_Apply(const ConfigValues& values);
