// The observer's settings in three layers: defaults, settings file, command
// line (config.h).
#include "app/config.h"

#include <glib.h>
#include <glib/gstdio.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/i18n.h"
#include "app/input_text.h"
#include "app/named_zone.h"
#include "app/settings.h"
#include "app/view_turn.h"
#include "places/places.h"

namespace {

constexpr size_t kReasonMax = 160;     // bytes of GLib's reason quoted in a warning
constexpr size_t kUnknownNamed = 3;  // stray keys warned one by one; more are counted
constexpr long kFileMax = 65536;    // a settings file is a few lines: larger is refused

// One setting of the observer: its names, its range, and the texts that
// describe it. In `accepted` and `help`, %R stands for the range ("from -90
// to 90") and %D for the default value.
struct KeyRule {
    const char* name;      // in the file
    const char* option;    // on the command line
    const char* arg;       // the option's value in --help
    double lo, hi;         // accepted range, inclusive
    double step;           // the value is a multiple of it (0: any)
    const char* accepted;  // for messages
    const char* help;      // for --help
};
// (the texts are translated where they are filled in; the value names of
// --help stay as they are)
const KeyRule kRules[] = {
    {"latitude", "--lat", "DEG", -90, 90, 0,
     /* xgettext:no-c-format */ N_("a number of degrees %R (north positive)"),
     /* xgettext:no-c-format */ N_("The observer's latitude, degrees %R, north positive (default %D)")},
    {"longitude", "--lon", "DEG", -180, 180, 0,
     /* xgettext:no-c-format */ N_("a number of degrees %R (east positive)"),
     /* xgettext:no-c-format */ N_("The observer's longitude, degrees %R, east positive (default %D)")},
    {"zone", "--zone", "HOURS|NAME", -12, 14, 0.25,
     /* xgettext:no-c-format */
     N_("a number of hours east of UTC %R, a multiple of %S, a zone name of the tz database (such "
        "as Europe/London) or system"),
     /* xgettext:no-c-format */
     N_("The civil time zone: hours east of UTC %R in steps of %S, a zone name of the tz database "
        "with its daylight saving (Europe/London), or system (TZ or /etc/localtime) (default: the "
        "whole hours nearest the longitude)")},
    {"azimuth", "--azimuth", "DEG", -360, 360, 0,
     /* xgettext:no-c-format */ N_("a number of degrees %R (from the south toward the west)"),
     /* xgettext:no-c-format */
     N_("The direction of the view, degrees from the south toward the west, %R (default %D: "
        "south; 180: north)")},
};

const KeyRule& Rule(ConfigKey key) { return kRules[static_cast<int>(key)]; }

// A number as the texts write it ("-90", "0.25", "35.6").
std::string Number(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// The default of a key, for --help.
double DefaultOf(ConfigKey key)
{
    const ObserverDefaults& o = kObserverDefaults;
    switch (key) {
    case ConfigKey::Latitude: return o.lat;
    case ConfigKey::Longitude: return o.lon;
    case ConfigKey::Azimuth: return o.azmt;
    default: return 0;
    }
}

// A text of the table with %R, %S and %D filled in.
std::string Filled(ConfigKey key, const char* text)
{
    const KeyRule& r = Rule(key);
    std::string out;
    for (const char* t = _(text); *t; ++t) {
        if (t[0] != '%' || !t[1]) {
            out += *t;
            continue;
        }
        ++t;
        if (*t == 'R') out += Message(_("from %s to %s"), Number(r.lo).c_str(), Number(r.hi).c_str());
        else if (*t == 'S') out += Number(r.step);
        else if (*t == 'D') out += Number(DefaultOf(key));
        else out += *t;
    }
    return out;
}

// GLib's reason (which may quote a line of the file), its curly quotes
// plain, cut (PrintableUtf8: in the user's language as it stands).
std::string Reason(const GError* error)
{
    const std::string message = error ? error->message : _("cannot be read");
    std::string plain;
    for (size_t i = 0; i < message.size();) {
        if (message.compare(i, 3, "\xe2\x80\x9c") == 0 || message.compare(i, 3, "\xe2\x80\x9d") == 0) {
            plain += '\'';
            i += 3;
        } else {
            plain += message[i++];
        }
    }
    return PrintableUtf8(plain, kReasonMax);
}

std::string ShownPath(const std::string& path)
{
    gchar* display = g_filename_display_name(path.c_str());
    std::string out = Printable(display, kReasonMax);
    g_free(display);
    return out;
}

// What ReadBounded returns for a file that is not a regular file.
constexpr int kNotRegular = -1;

// At most max bytes of a regular file, opened once (without blocking on a
// FIFO, without becoming a controlling terminal) and checked by what was
// opened, not by its name. Returns 0, kNotRegular, or an errno.
int ReadBounded(const std::string& path, size_t max, std::string* bytes)
{
    bytes->clear();
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat st;
    int e = fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : kNotRegular;
    while (!e && bytes->size() < max) {
        char buf[8192];
        const ssize_t n = read(fd, buf, std::min(sizeof buf, max - bytes->size()));
        if (n < 0 && errno == EINTR) continue;
        // the byte past the limit refused (/proc/self/pagemap reads whole
        // entries only): the file did not end at the limit
        if (n < 0 && bytes->size() + 1 == max) bytes->push_back('\0');
        else if (n < 0) e = errno;
        if (n <= 0) break;
        bytes->append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return e;
}

// The keys of a group that are not settings: a warning each, or past
// kUnknownNamed of them one warning with their count and the first names
// (a file of thousands of stray keys gives one line, not thousands).
void UnknownKeys(const std::string& shown, const char* group, const char* settings,
                 const std::vector<std::string>& unknown, std::vector<std::string>* warnings)
{
    if (unknown.size() <= kUnknownNamed) {
        for (const std::string& k : unknown)
            warnings->push_back(Message(_("%s: %s %s is not a setting (%s); ignored"), shown.c_str(),
                                        group, Shown(k.c_str()).c_str(), settings));
        return;
    }
    std::string first;
    for (size_t i = 0; i < kUnknownNamed; ++i) first += (i ? ", " : "") + Shown(unknown[i].c_str());
    warnings->push_back(Message(_("%s: %s %zu keys are not settings (%s), the first %s; ignored"),
                                shown.c_str(), group, unknown.size(), settings, first.c_str()));
}

// A group of one setting: its value (raw, or unescaped as a string) to
// take, every other key of the group warned of as UnknownKeys does but for
// quiet, a key of the program's own that says nothing to the settings
// (null: none).
template <typename Take>
void OneKeyGroup(GKeyFile* file, const char* group, const char* key, bool as_string,
                 const std::string& shown, std::vector<std::string>* warnings, Take take,
                 const char* quiet = nullptr)
{
    std::vector<std::string> unknown;
    gchar** names = g_key_file_get_keys(file, group, nullptr, nullptr);
    for (gchar** n = names; n && *n; ++n) {
        if (quiet && std::strcmp(*n, quiet) == 0) continue;
        if (std::strcmp(*n, key) != 0) {
            unknown.push_back(*n);
            continue;
        }
        gchar* text = as_string ? g_key_file_get_string(file, group, *n, nullptr)
                                : g_key_file_get_value(file, group, *n, nullptr);
        take(text);
        g_free(text);
    }
    g_strfreev(names);
    UnknownKeys(shown, ("[" + std::string(group) + "]").c_str(), key, unknown, warnings);
}

}  // namespace

/*
**  Config_Defaults
**  The built-in layer: kObserverDefaults (35.6, 139.7, azimuth 0), the zone
**  from the longitude, not a widget.
*/
ConfigValues Config_Defaults()
{
    const ObserverDefaults& o = kObserverDefaults;
    return ConfigValues{o.lat, o.lon, false, 0.0, o.azmt, false, LabelChoice::Japanese};
}

/*
**  Config_Over
**  One layer over the values below it: each value the layer gives wins,
**  the others stay; a zone given sets zone_set.
*/
void Config_Over(const ConfigLayer& layer, ConfigValues* v)
{
    if (layer.place) {
        // the place first: the layer's own values win over it
        v->latitude = layer.place->latitude;
        v->longitude = layer.place->longitude;
        v->zone_set = false;
        v->zone_name = layer.place->zone;
        v->place_name = layer.place->name;
    }
    if (layer.latitude) v->latitude = *layer.latitude;
    if (layer.longitude) v->longitude = *layer.longitude;
    if (layer.zone) {
        v->zone_set = true;
        v->zone = *layer.zone;
        v->zone_name.clear();
    }
    if (layer.zone_name) {
        v->zone_set = false;
        v->zone_name = *layer.zone_name;
    }
    if (layer.azimuth) v->azimuth = *layer.azimuth;
    if (layer.widget) v->widget = *layer.widget;
    if (layer.labels) v->labels = *layer.labels;
    if (layer.tide_station) v->tide_station = *layer.tide_station;
}

/*
**  Config_ParseZone, Config_ZoneAccepted
**  The zone's text: hours, or a zone name.
**
**  Given:
**     text    const char*    "9", "-3.5", "Europe/London", "system"
**
**  Returned:
**     layer   ConfigLayer*   zone (hours) or zone_name set, only when the
**                            result is true
**     (function value) bool  true for hours Config_Parse takes, or a name
**                            of the tz database GLib opens (NamedZone_Valid)
*/
bool Config_ParseZone(const char* text, ConfigLayer* layer)
{
    double v = 0;
    if (Config_Parse(ConfigKey::Zone, text, &v)) {
        layer->zone = v;
        return true;
    }
    double number = 0;
    if (!text || ParseNumber(text, &number) || !NamedZone_Valid(text)) return false;
    layer->zone_name = std::string(text);
    return true;
}

std::string Config_ZoneAccepted() { return Config_Accepted(ConfigKey::Zone); }

/*
**  Config_ParsePlace
**  A place of the gazetteer by name.
**
**  Given:
**     text    const std::string&   "Sapporo", "札幌" (UTF-8), "Portland, US-OR"
**
**  Returned:
**     layer   ConfigLayer*   place set (name, latitude, longitude, zone)
**                            when the result is true
**     why     std::string*   otherwise the problem: no such place; several
**                            (each on a line of its own, "  " before it);
**                            the gazetteer unreadable
**
**  Called:  Places_Find, Places_Describe
*/
bool Config_ParsePlace(const std::string& text, ConfigLayer* layer, std::string* why)
{
    const PlaceSearch s = Places_Find(text);
    switch (s.result) {
    case PlaceResult::Found: {
        const Place& p = s.matches[0];
        layer->place = ConfigLayer::Place{p.name, p.latitude, p.longitude, p.zone};
        return true;
    }
    case PlaceResult::NoData:
        // (begun by the words PlaceOptions_DataMissing looks for)
        *why = std::string(_("the gazetteer cannot be read")) + " (" + s.why + "); " +
               _("give --lat, --lon and --zone");
        return false;
    case PlaceResult::Unknown:
        *why = _("no place of that name in the gazetteer (try --places TEXT)");
        return false;
    case PlaceResult::Ambiguous:
        break;
    }
    *why = _("several places have that name; add the region or the country after a comma "
             "(\"Portland, Oregon\", \"Portland, US-OR\"):");
    for (size_t i = 0; i < s.matches.size() && i < 10; i++) *why += "\n  " + Places_Describe(s.matches[i]);
    if (s.matches.size() > 10)
        *why += "\n  " + Message(_("... (%zu more)"), s.matches.size() - 10);
    return false;
}

/*
**  Config_KeyName, Config_OptionName, Config_Accepted
**  A key's name in the file, its option, and what it accepts (for
**  messages).
*/
const char* Config_KeyName(ConfigKey key) { return Rule(key).name; }
const char* Config_OptionName(ConfigKey key) { return Rule(key).option; }
std::string Config_Accepted(ConfigKey key) { return Filled(key, Rule(key).accepted); }

/*
**  Config_OptionArg, Config_OptionHelp
**  A key's option value name and help text for --help: "DEG", "The
**  observer's latitude, degrees from -90 to 90, north positive (default
**  35.6)".
*/
const char* Config_OptionArg(ConfigKey key) { return Rule(key).arg; }
std::string Config_OptionHelp(ConfigKey key) { return Filled(key, Rule(key).help); }

/*
**  Config_Parse
**  A value of a setting from its text.
**
**  Given:
**     key    ConfigKey     latitude [-90, 90], longitude [-180, 180], zone
**                          [-12, 14] a multiple of 0.25, azimuth [-360, 360]
**     text   const char*   the text of the file or the command line
**
**  Returned:
**     value  double*       the value (-0 as 0), only when the result is true
**     (function value) bool   true for a number (ParseNumber) in the key's
**                          range
**
**  Called:  ParseNumber
*/
bool Config_Parse(ConfigKey key, const char* text, double* value)
{
    double v = 0;
    if (!ParseNumber(text, &v)) return false;
    const KeyRule& r = Rule(key);
    if (!(v >= r.lo && v <= r.hi)) return false;
    if (r.step > 0 && v / r.step != std::floor(v / r.step)) return false;
    *value = v;
    return true;
}

/*
**  Config_DefaultPath
**  $XDG_CONFIG_HOME/tenmado/settings.ini, ~/.config/tenmado/settings.ini
**  without XDG_CONFIG_HOME (g_get_user_config_dir).
*/
std::string Config_DefaultPath()
{
    gchar* path = g_build_filename(g_get_user_config_dir(), "tenmado", "settings.ini", nullptr);
    std::string out = path;
    g_free(path);
    return out;
}

/*
**  Config_FirstStart
**  Whether this start is the first: the window then offers to set the place.
**
**  Notes:
**  1) Anything at the path (lstat: a dangling link too) is a file the user
**     has, so the offer is made only where Save would create the file.
*/
bool Config_FirstStart(bool config_given, const ConfigLayer& options,
                       const std::string& default_path)
{
    if (config_given || options.place || options.latitude || options.longitude) return false;
    GStatBuf st;
    return g_lstat(default_path.c_str(), &st) != 0 && errno == ENOENT;
}

/*
**  Config_ReadFile
**  The settings of one key file: [observer] latitude, longitude, zone,
**  azimuth; [window] widget (true or false; welcomed, the first start's
**  bar dismissed, says nothing to the settings); [tides] station (an id of
**  the tide database, nearest or tokyo-bay, checked when it is used).
**
**  Notes:
**  1) A missing default file says nothing; a missing --config file, an
**     unreadable one (its folder too), one that is not a regular file,
**     larger than 64 KiB, holding a NUL byte or malformed gives one
**     warning and no value. The file is opened once and read at most to
**     one byte past the limit. A UTF-8 byte-order mark is skipped.
**  2) Each bad value gives one warning naming the file, the key and the
**     value, and leaves the key to the layer below; so does a key the
**     program does not know in either group, up to three of them (more
**     give one warning with their count). Other groups are left alone.
*/
void Config_ReadFile(const std::string& path, bool required, ConfigLayer* layer,
                     std::vector<std::string>* warnings)
{
    *layer = ConfigLayer{};
    const std::string shown = ShownPath(path);
    // "FILE: reason; the built-in settings are used"
    auto unread = [&](const std::string& reason) {
        warnings->push_back(Message(_("%s: %s; the built-in settings are used"), shown.c_str(),
                                    reason.c_str()));
    };

    // The file is opened once and what was opened is checked: only a
    // regular file is read (a FIFO would block, a device never end), and
    // at most one byte past the limit (the files of /proc say size 0 and
    // may never end).
    std::string bytes;
    const int e = ReadBounded(path, static_cast<size_t>(kFileMax) + 1, &bytes);
    if (e == ENOENT && !required) return;  // no default file: nothing to say
    if (e == kNotRegular) {
        unread(_("not a regular file"));
        return;
    }
    if (e) {
        unread(g_strerror(e));
        return;
    }
    if (bytes.size() > static_cast<size_t>(kFileMax)) {
        unread(Message(_("larger than %ld bytes"), static_cast<long>(kFileMax)));
        return;
    }
    // GLib's parser would stop each line at a NUL: 12\0.5 would read as 12
    if (bytes.find('\0') != std::string::npos) {
        unread(_("holds a NUL byte (not a text file)"));
        return;
    }
    // an editor's UTF-8 byte-order mark is no part of the first line
    const size_t bom = bytes.compare(0, 3, "\xef\xbb\xbf") == 0 ? 3 : 0;
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    if (!g_key_file_load_from_data(file, bytes.data() + bom, bytes.size() - bom, G_KEY_FILE_NONE,
                                   &error)) {
        unread(Reason(error));
        g_clear_error(&error);
        g_key_file_free(file);
        return;
    }

    // [observer]
    const ConfigKey keys[] = {ConfigKey::Latitude, ConfigKey::Longitude, ConfigKey::Zone,
                              ConfigKey::Azimuth};
    std::optional<double>* slots[] = {&layer->latitude, &layer->longitude, &layer->zone,
                                      &layer->azimuth};
    std::vector<std::string> unknown;
    gchar** names = g_key_file_get_keys(file, "observer", nullptr, nullptr);
    for (gchar** n = names; n && *n; ++n) {
        if (std::strcmp(*n, "place") == 0 || std::strcmp(*n, "zone") == 0) {
            // by name: a place of the gazetteer; the zone as hours or a name
            gchar* text = g_key_file_get_value(file, "observer", *n, nullptr);
            std::string why;
            if (std::strcmp(*n, "zone") == 0) {
                if (!Config_ParseZone(text, layer))
                    warnings->push_back(Message(_("%s: [observer] zone = %s is not %s; it keeps its "
                                                  "default"),
                                                shown.c_str(), Shown(text).c_str(),
                                                Config_ZoneAccepted().c_str()));
            } else if (!text || !Config_ParsePlace(text, layer, &why)) {
                std::string first = why.substr(0, why.find('\n'));
                warnings->push_back(Message(_("%s: [observer] place = %s: %s; the place's settings "
                                              "keep their defaults"),
                                            shown.c_str(), Shown(text).c_str(), first.c_str()));
            }
            g_free(text);
            continue;
        }
        int k = 0;
        while (k < 4 && std::strcmp(*n, Config_KeyName(keys[k])) != 0) ++k;
        if (k == 4) {
            unknown.push_back(*n);
            continue;
        }
        gchar* text = g_key_file_get_value(file, "observer", *n, nullptr);
        double v = 0;
        if (Config_Parse(keys[k], text, &v))
            *slots[k] = v;
        else
            warnings->push_back(Message(_("%s: [observer] %s = %s is not %s; it keeps its default"),
                                        shown.c_str(), *n, Shown(text).c_str(),
                                        Config_Accepted(keys[k]).c_str()));
        g_free(text);
    }
    g_strfreev(names);
    UnknownKeys(shown, "[observer]", "latitude, longitude, zone, azimuth, place", unknown, warnings);

    // [window] widget
    OneKeyGroup(file, "window", "widget", false, shown, warnings, [&](const gchar* text) {
        if (text && std::strcmp(text, "true") == 0)
            layer->widget = true;
        else if (text && std::strcmp(text, "false") == 0)
            layer->widget = false;
        else
            warnings->push_back(Message(_("%s: [window] widget = %s is not true or false; it keeps "
                                          "its default"),
                                        shown.c_str(), Shown(text).c_str()));
    }, kWelcomedKey);
    // [display] labels
    OneKeyGroup(file, "display", "labels", false, shown, warnings, [&](const gchar* text) {
        LabelChoice choice = LabelChoice::Japanese;
        if (Labels_ParseChoice(text, &choice))
            layer->labels = choice;
        else
            warnings->push_back(Message(_("%s: [display] labels = %s is not ja, en or auto; it "
                                          "keeps its default"),
                                        shown.c_str(), Shown(text).c_str()));
    });
    // [tides] station
    OneKeyGroup(file, "tides", "station", true, shown, warnings, [&](const gchar* text) {
        if (text && *text && std::strlen(text) < 200)
            layer->tide_station = std::string(text);
        else
            warnings->push_back(Message(_("%s: [tides] station = %s is not a station id; the tides "
                                          "of Tokyo Bay are shown"),
                                        shown.c_str(), Shown(text).c_str()));
    });
    g_key_file_free(file);
}

/*
**  Config_Apply
**  The values into the observer's settings: m_input_lat, m_input_lon,
**  m_input_zone_set, m_input_zone, m_input_azmt, and the view's home for
**  the Home key (View_SetHome). The widget mode is the caller's.
*/
void Config_Apply(const ConfigValues& v)
{
    m_input_lat = v.latitude;
    m_input_lon = v.longitude;
    m_input_zone_set = v.zone_set;
    m_input_zone = v.zone;
    m_input_azmt = v.azimuth;
    View_SetHome(v.azimuth);
    // a named zone (already known good) gives the zone's rule
    if (!NamedZone_Set(v.zone_name)) NamedZone_Set("");
    NamedZone_SetPlaceName(v.place_name);
    Labels_Use(Labels_Resolve(v.labels, g_get_language_names()[0]));
}
