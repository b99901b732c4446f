// The command line read into one request (command_line.h).
#include "app/command_line.h"

#include <glib.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

#include "app/almanac.h"
#include "app/i18n.h"
#include "app/input_text.h"
#include "app/planner.h"
#include "app/place_options.h"
#include "timecal/clock.h"

namespace {

constexpr size_t kShownMessageMax = 120;  // bytes of a message of the option parser
constexpr ConfigKey kObserverKeys[] = {ConfigKey::Latitude, ConfigKey::Longitude, ConfigKey::Zone,
                                       ConfigKey::Azimuth};
constexpr int kObserverKeyCount = 4;

// "Opens the window ..." above the options, and the settings file, the keys
// and the exit status below them (translated where --help is built; the
// window's name goes in as %s, since the source texts are ASCII).
const char* const kSummary = N_(
    "Opens the window \"%s\" (530 x 257) with the date, the Julian day, sunrise and sunset,\n"
    "moonrise and moonset, the tides of Tokyo Bay, the planets and constellations toward\n"
    "the view (the south by default), the Moon's phase and age, and an analog clock,\n"
    "repainted every second. The observer is in Tokyo unless the settings file or the\n"
    "options say otherwise; in the window the arrow keys and the mouse wheel turn the view.");
const char* const kWindowName = reinterpret_cast<const char*>(u8"天窓");  // UTF-8
const char* const kDescription = N_(
    "Settings file: $XDG_CONFIG_HOME/tenmado/settings.ini (~/.config/...), group\n"
    "[observer] with latitude, longitude, zone (hours, a zone name such as\n"
    "Europe/London, or system), place (a name of the gazetteer), azimuth, group\n"
    "[window] with widget=true|false, group [display] with labels=ja|en|auto and\n"
    "group [tides] with station=ID; the options win over it. The file is written\n"
    "only by the Preferences window's Save and by closing the first start's bar.\n\n"
    "Tide stations: the Neaps tide database (NOAA stations, public domain; TICON-4\n"
    "stations, Hart-Davis et al., SEANOE, CC BY 4.0); --tide-stations lists them.\n"
    "Places: GeoNames (www.geonames.org), CC BY 4.0.\n\n"
    "In the window Left and Right turn the view by 15 degrees (with Shift by 90),\n"
    "Home turns it back to the setting, the mouse wheel over the sky turns it too.\n"
    "Launched again while its window runs (with a session bus), tenmado shows\n"
    "that window and names the options of the launch it ignored. Ctrl+Q or\n"
    "Ctrl+W closes it.\n"
    "Exit status:\n"
    "  0  success\n"
    "  1  a failure while running: the snapshot or the almanac cannot be written,\n"
    "     no display for the window (use --snapshot there), the connection to the\n"
    "     display lost, the window failed\n"
    "  2  a mistake on the command line: an unknown option, a bad or missing value\n"
    "  128+N  stopped by signal N (a snapshot being written is removed); 141\n"
    "     (SIGPIPE) when the reader of the output goes first (| head)\n\n");

// The values GLib's parser gives (it allocates them; freed with this).
struct OptionValues {
    gchar* snapshot = nullptr;
    gchar* at = nullptr;
    gchar* scale = nullptr;
    gchar* observer[kObserverKeyCount] = {};
    gchar* config = nullptr;
    gchar* days = nullptr;
    gchar* columns = nullptr;
    gchar* events = nullptr;
    gchar* output = nullptr;
    gchar* labels = nullptr;
    gchar* tide_station = nullptr;
    gchar* place = nullptr;
    gchar* places = nullptr;
    gboolean almanac = FALSE, json = FALSE, widget = FALSE, version = FALSE, ics = FALSE;
    ~OptionValues()
    {
        for (gchar* v : {snapshot, at, scale, config, days, columns, events, output, labels, tide_station,
                         place, places})
            g_free(v);
        for (gchar* v : observer) g_free(v);
    }
};

// --tide-stations [TEXT]: a callback option, its value optional.
bool g_list_stations = false;
std::string g_list_text;
gboolean ListStations(const gchar*, const gchar* value, gpointer, GError**)
{
    g_list_stations = true;
    g_list_text = value ? value : "";
    return TRUE;
}

// --scale: a number (ParseNumber) from kScaleMin to kScaleMax.
bool ParseScale(const char* text, double* scale)
{
    double v = 0;
    if (!ParseNumber(text, &v) || v < kScaleMin || v > kScaleMax) return false;
    *scale = v;
    return true;
}

// --days: a whole number (ParseNumber) from 1 to kAlmanacDaysMax.
bool ParseDays(const char* text, int* days)
{
    double v = 0;
    if (!ParseNumber(text, &v) || v != std::floor(v) || v < 1 || v > kAlmanacDaysMax) return false;
    *days = static_cast<int>(v);
    return true;
}

// --columns: a comma list of known column names (Planner_ColumnKnown).
bool ParseColumns(const std::string& list, std::vector<std::string>* columns)
{
    for (size_t i = 0;;) {
        const size_t comma = list.find(',', i);
        const std::string name = list.substr(i, comma == std::string::npos ? comma : comma - i);
        if (!Planner_ColumnKnown(name)) return false;
        columns->push_back(name);
        if (comma == std::string::npos) return true;
        i = comma + 1;
    }
}

// Whether a snapshot name ends in ".png", in any case.
bool PngName(const char* name)
{
    const size_t n = std::strlen(name);
    return n >= 4 && g_ascii_strcasecmp(name + n - 4, ".png") == 0;
}

// The message for an --at that Clock_Parse refused.
std::string AtProblem(const char* at, ClockParseError why)
{
    const char* reason;
    switch (why) {
    case ClockParseError::DroppedDay:
        reason = _("1582-10-05 to 1582-10-14 do not exist (the Julian calendar's 1582-10-04 "
                   "was followed by the Gregorian calendar's 1582-10-15)");
        break;
    case ClockParseError::Date:
        reason = _("no such date (years 0001 to 9999; the Julian calendar up to 1582-10-04, "
                   "with 02-29 in every fourth year; the Gregorian calendar from 1582-10-15)");
        break;
    default:
        reason = _("write \"YYYY-MM-DD HH:MM:SS\" with a time from 00:00:00 to 23:59:59");
    }
    return Message(_("--at %s is not a civil time: %s"), Shown(at).c_str(), reason);
}

// GLib's parse of argv into o; the problem, or none. Values are taken as
// bytes (FILENAME): --at is checked by Clock_Parse, numbers by ParseNumber.
std::optional<std::string> ParseOptions(int* argc, char*** argv, const char* version,
                                        OptionValues* o)
{
    std::string help[kObserverKeyCount];
    for (int k = 0; k < kObserverKeyCount; k++) help[k] = Config_OptionHelp(kObserverKeys[k]);
    auto observer = [&](int k) {
        return GOptionEntry{Config_OptionName(kObserverKeys[k]) + 2, 0, 0, G_OPTION_ARG_FILENAME,
                            &o->observer[k], help[k].c_str(), Config_OptionArg(kObserverKeys[k])};
    };
    const GOptionEntry entries[] = {
        {"snapshot", 0, 0, G_OPTION_ARG_FILENAME, &o->snapshot,
         N_("Paint one repaint into a 530 x 300 PNG picture and exit; needs no display. The name "
         "ends in .png; - writes the picture to standard output"),
         "FILE.png"},
        {"scale", 0, 0, G_OPTION_ARG_FILENAME, &o->scale,
         N_("With --snapshot: paint the picture S times as large (1 to 8, decimals allowed: 2 "
         "gives 1060 x 600), redrawn at that size"),
         "S"},
        {"at", 0, 0, G_OPTION_ARG_FILENAME, &o->at,
         N_("Show this civil time of the observer (in the observer's zone, UTC+9 by default; "
         "before 1900 the local mean time of the longitude) instead of now; the window's clock "
         "runs on from it. Dates are Julian up to 1582-10-04, Gregorian from 1582-10-15"),
         "\"YYYY-MM-DD HH:MM:SS\""},
        {"almanac", 0, 0, G_OPTION_ARG_NONE, &o->almanac,
         N_("Print the almanac of the instant (the picture's read-outs) as text and exit"), nullptr},
        {"json", 0, 0, G_OPTION_ARG_NONE, &o->json, N_("With --almanac: print it as one JSON object"),
         nullptr},
        {"days", 0, 0, G_OPTION_ARG_FILENAME, &o->days,
         N_("With --almanac: N days (1 to 3660) from the date of --at (default today) at its time "
         "of day (default 12:00:00), as a table, one line a day (or a JSON array)"),
         "N"},
        {"columns", 0, 0, G_OPTION_ARG_FILENAME, &o->columns,
         N_("With --days: the table's columns, a comma list of sunrise, sunset, moonrise, moonset, "
            "high1, high2, low1, low2, age, civil_dawn, civil_dusk, nautical_dawn, nautical_dusk, "
            "astronomical_dawn, astronomical_dusk, golden_hour, blue_hour, day_length, "
            "day_length_change, moon_illumination, moon_phase (default: sunrise to age)"),
         "LIST"},
        {"ics", 0, 0, G_OPTION_ARG_NONE, &o->ics,
         N_("With --almanac: write an iCalendar file of the events of the days (--days, default 1) "
            "instead of the almanac"),
         nullptr},
        {"events", 0, 0, G_OPTION_ARG_FILENAME, &o->events,
         N_("With --ics: the kinds of events, a comma list of sun, moon, phases, tides, twilight "
            "(default phases)"),
         "LIST"},
        {"output", 0, 0, G_OPTION_ARG_FILENAME, &o->output,
         N_("With --almanac: write to FILE (replaced whole or not at all) instead of standard output"),
         "FILE"},
        observer(0), observer(1), observer(2), observer(3),
        {"tide-station", 0, 0, G_OPTION_ARG_FILENAME, &o->tide_station,
         N_("The tides of a station of the tide database (its id, as --tide-stations lists them), "
            "of the station nearest the observer (nearest), or of the four-constituent model of "
            "Tokyo Bay (tokyo-bay, the default)"),
         "ID"},
        {"tide-stations", 0, G_OPTION_FLAG_OPTIONAL_ARG, G_OPTION_ARG_CALLBACK,
         reinterpret_cast<gpointer>(ListStations),
         N_("List the tide stations whose name, region or country contains TEXT (all without it), "
            "nearest first with --lat/--lon, and exit"),
         "[TEXT]"},
        {"place", 0, 0, G_OPTION_ARG_FILENAME, &o->place,
         N_("The observer's place by name from the gazetteer (Sapporo, \"Portland, Oregon\", "
            "Japanese names too): its latitude, longitude and zone; --lat, --lon and --zone win "
            "over it"),
         "NAME"},
        {"places", 0, 0, G_OPTION_ARG_FILENAME, &o->places,
         N_("List the gazetteer's places of that name with their coordinates and zones, most "
            "populous first, and exit"),
         "TEXT"},
        {"config", 0, 0, G_OPTION_ARG_FILENAME, &o->config,
         N_("Read the settings from FILE instead of $XDG_CONFIG_HOME/tenmado/settings.ini"), "FILE"},
        {"widget", 0, 0, G_OPTION_ARG_NONE, &o->widget,
         N_("Show the window as a desktop widget: no title bar, below other windows, on every "
         "workspace, out of the task bar; drag it with the mouse"),
         nullptr},
        {"labels", 0, 0, G_OPTION_ARG_FILENAME, &o->labels,
         N_("The texts of the picture and the almanac: ja (Japanese, the default), en (English) "
            "or auto (Japanese when the messages are, English otherwise)"),
         "ja|en|auto"},
        {"version", 0, 0, G_OPTION_ARG_NONE, &o->version, N_("Print the version and exit"), nullptr},
        {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
    };
    // GLib takes "--almanac=VALUE" for the flag and drops the value: refuse it.
    for (int i = 1; i < *argc && std::strcmp((*argv)[i], "--") != 0; ++i) {
        for (const char* flag :
             {"--almanac=", "--json=", "--help=", "--widget=", "--version=", "--ics="}) {
            const size_t n = std::strlen(flag);
            if (std::strncmp((*argv)[i], flag, n) == 0)
                return Message(_("%s takes no value: %s"), std::string(flag, n - 1).c_str(),
                               Shown((*argv)[i]).c_str());
        }
    }
    std::unique_ptr<GOptionContext, void (*)(GOptionContext*)> context(
        g_option_context_new(_("- almanac and clock of the observer's sky")), g_option_context_free);
    // the entries' help and GLib's own texts in the user's language
    g_option_context_set_translation_domain(context.get(), kTextDomain);
    const std::string summary = Message(_(kSummary), kWindowName);
    g_option_context_set_summary(context.get(), summary.c_str());
    const std::string description = std::string(_(kDescription)) + "tenmado " + version + "\n";
    g_option_context_set_description(context.get(), description.c_str());
    g_option_context_add_main_entries(context.get(), entries, nullptr);
    GError* error = nullptr;
    if (!g_option_context_parse(context.get(), argc, argv, &error)) {
        // GLib's message quotes the argument whole: escape and cut it
        std::string problem = PrintableUtf8(error ? error->message : _("cannot read the command line"),
                                            kShownMessageMax);
        g_clear_error(&error);
        return problem;
    }
    return std::nullopt;
}

}  // namespace

/*
**  ParseCommandLine
**  The request of a command line.
**
**  Given:
**     argc, argv   the program's arguments
**     version      const char*   the version --help and --version print
**
**  Returned (function value):
**          the request, or the first problem: a flag given a value, GLib's
**          (an unknown option, a missing value), an argument left over, an
**          option without the one it goes with, a bad value (--scale,
**          --snapshot's name or standard output, --columns, --events,
**          --output, --at, --config, --days, then the observer's options
**          in the table's order)
**
**  Notes:
**  1) --version wins over every later check. --snapshot - needs an output
**     that is not a terminal.
**
**  Called:  ParseNumber, Clock_Parse, Config_Parse, Shown
*/
std::variant<CommandRequest, UsageError> ParseCommandLine(int argc, char** argv,
                                                          const char* version)
{
    OptionValues o;
    g_list_stations = false;
    g_list_text.clear();
    if (std::optional<std::string> problem = ParseOptions(&argc, &argv, version, &o))
        return UsageError{*problem};
    CommandRequest request;
    if (o.version) {
        request.action = CommandRequest::Action::Version;
        return request;
    }
    auto usage = [](std::string problem) { return UsageError{std::move(problem)}; };
    if (o.places) {
        request.action = CommandRequest::Action::Places;
        request.places = o.places;
        return request;
    }
    if (argc > 1) return usage(Message(_("unexpected argument %s"), Shown(argv[1]).c_str()));
    if (o.json && !o.almanac) return usage(_("--json only goes with --almanac"));
    if (o.scale && !ParseScale(o.scale, &request.scale))
        return usage(Message(_("--scale %s is not a scale: give a number from 1 to 8 (decimals "
                               "allowed, such as 1.5)"),
                             Shown(o.scale).c_str()));
    if (o.scale && !o.snapshot) return usage(_("--scale only goes with --snapshot"));
    if (o.days && !o.almanac) return usage(_("--days only goes with --almanac"));
    if (o.ics && !o.almanac) return usage(_("--ics only goes with --almanac"));
    if (o.ics && o.json) return usage(_("--ics and --json are two different outputs: give one"));
    if (o.events && !o.ics) return usage(_("--events only goes with --ics"));
    if (o.output && !o.almanac) return usage(_("--output only goes with --almanac"));
    if (o.output && !*o.output) return usage(_("--output needs the name of a file"));
    if (o.columns && (!o.days || o.json || o.ics))
        return usage(_("--columns only goes with the table of --almanac --days"));
    if (o.columns && !ParseColumns(o.columns, &request.columns))
        return usage(Message(_("--columns %s is not a list of columns; see tenmado --help for the "
                               "names"),
                             Shown(o.columns).c_str()));
    request.events = kPlanPhases;
    if (o.events && !Planner_ParseKinds(o.events, &request.events))
        return usage(Message(_("--events %s is not a list of sun, moon, phases, tides, twilight"),
                             Shown(o.events).c_str()));
    request.ics = o.ics;
    if (o.output) request.output = o.output;
    if (o.snapshot) {
        const bool to_stdout = std::strcmp(o.snapshot, "-") == 0;
        if (!to_stdout && !PngName(o.snapshot))
            return usage(Message(_("--snapshot %s: the picture is a PNG file, give a name that "
                                   "ends in .png (or - for standard output)"),
                                 Shown(o.snapshot).c_str()));
        if (to_stdout && o.almanac)
            return usage(_("--snapshot - and --almanac would both write to standard output"));
        if (to_stdout && isatty(STDOUT_FILENO))
            return usage(_("--snapshot -: standard output is a terminal; redirect it to a file "
                           "or a pipe"));
        request.snapshot = o.snapshot;
    }
    ClockParseError at_error = ClockParseError::Ok;
    if (o.at && !Clock_Parse(o.at, &request.at, &at_error)) return usage(AtProblem(o.at, at_error));
    request.at_given = o.at != nullptr;
    if (o.config && !*o.config) return usage(_("--config needs the name of a settings file"));
    if (o.config) {
        request.config_given = true;
        request.config = o.config;
    }
    if (o.days && !ParseDays(o.days, &request.days))
        return usage(Message(_("--days %s is not a number of days from 1 to %d"),
                             Shown(o.days).c_str(), kAlmanacDaysMax));
    LabelChoice labels = LabelChoice::Japanese;
    if (o.labels && !Labels_ParseChoice(o.labels, &labels))
        return usage(Message(_("--labels %s is not ja, en or auto"), Shown(o.labels).c_str()));
    if (o.labels) request.options.labels = labels;

    // the observer's options: a bad value ends here
    std::optional<double>* slots[kObserverKeyCount] = {
        &request.options.latitude, &request.options.longitude, &request.options.zone,
        &request.options.azimuth};
    for (int k = 0; k < kObserverKeyCount; k++) {
        const char* text = o.observer[k];
        if (!text) continue;
        if (kObserverKeys[k] == ConfigKey::Zone) {
            // hours or a zone's name
            if (!Config_ParseZone(text, &request.options))
                return usage(Message(_("--zone %s is not %s"), Shown(text).c_str(),
                                     Config_ZoneAccepted().c_str()));
            continue;
        }
        double v = 0;
        if (!Config_Parse(kObserverKeys[k], text, &v))
            return usage(Message(_("%s %s is not %s"), Config_OptionName(kObserverKeys[k]),
                                 Shown(text).c_str(), Config_Accepted(kObserverKeys[k]).c_str()));
        *slots[k] = v;
    }
    if (o.widget) request.options.widget = true;
    if (o.tide_station && !*o.tide_station)
        return usage(_("--tide-station needs a station id, nearest or tokyo-bay"));
    if (o.tide_station) request.options.tide_station = std::string(o.tide_station);
    std::string place_problem;
    if (o.place && !Config_ParsePlace(o.place, &request.options, &place_problem)) {
        if (!PlaceOptions_DataMissing(place_problem))
            return usage(Message(_("--place %s: %s"), Shown(o.place).c_str(), place_problem.c_str()));
        request.warnings.push_back(
            Message(_("--place %s: %s"), Shown(o.place).c_str(), place_problem.c_str()));
    }
    request.almanac = o.almanac;
    request.json = o.json;
    if (o.snapshot || o.almanac) request.action = CommandRequest::Action::Output;
    if (g_list_stations) {
        if (o.snapshot || o.almanac)
            return usage(_("--tide-stations lists the stations and exits: not with --snapshot or "
                           "--almanac"));
        request.action = CommandRequest::Action::Stations;
        request.stations_text = g_list_text;
    }
    return request;
}

/*
**  CommandLine_Settings
**  The settings of a request: the built-in defaults, the settings file
**  over them, the request's options over both.
**
**  Called:  Config_ReadFile, Config_DefaultPath, Config_Defaults,
**           Config_Over
*/
ConfigValues CommandLine_Settings(const CommandRequest& request, std::vector<std::string>* warnings)
{
    for (const std::string& w : request.warnings) warnings->push_back(w);
    ConfigLayer file;
    Config_ReadFile(request.config_given ? request.config : Config_DefaultPath(),
                    request.config_given, &file, warnings);
    ConfigValues values = Config_Defaults();
    Config_Over(file, &values);
    Config_Over(request.options, &values);
    return values;
}
