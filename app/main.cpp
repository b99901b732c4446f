// The program's entry. Without arguments it hands control to the toolkit,
// which runs the init handlers and the window's event loop. The command line
// adds a headless picture (--snapshot) at any size (--scale), a chosen
// instant (--at), the almanac as text (--almanac, --json, --days), the
// observer's place, zone and view (--lat, --lon, --zone, --azimuth, over the
// settings file or --config), the window as a desktop widget (--widget) and
// the version (--version).
#include <glib.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/cairo/cairo_painter.h"
#include "app/core/almanac.h"
#include "app/core/config.h"
#include "timecal/clock.h"
#include "app/core/newproject.h"
#include "app/toolkit/ws.h"
#if TENMADO_HAVE_WINDOW
#include "app/gtk/application.h"
#include "app/gtk/gtk_backend.h"
#include "app/gtk/window_shell.h"
#endif

#ifndef TENMADO_VERSION
#error "the build defines TENMADO_VERSION"
#endif

namespace {

// Exit status: 0 success, 1 a failure while running, 2 a mistake on the
// command line.
constexpr int kExitFailure = 1;        // output not written, no display, display lost
constexpr int kExitUsage = 2;          // unknown option, bad or missing value
constexpr size_t kShownValueMax = 40;     // bytes of a bad value quoted in a message
constexpr size_t kShownMessageMax = 120;  // bytes of a message of the option parser

// A value from the command line as printable ASCII for a message: other
// bytes escaped, long values cut.
std::string Shown(const char* value)
{
    std::string v(value ? value : "");
    bool cut = v.size() > kShownValueMax;
    if (cut) v.resize(kShownValueMax);
    gchar* escaped = g_strescape(v.c_str(), nullptr);
    std::string out = std::string("\"") + escaped + (cut ? "...\"" : "\"");
    g_free(escaped);
    return out;
}

// A message as printable ASCII: other bytes escaped, cut after max bytes.
std::string Printable(const std::string& text, size_t max)
{
    gchar* escaped = g_strescape(text.c_str(), nullptr);
    std::string out = escaped;
    g_free(escaped);
    if (out.size() > max) {
        out.resize(max);
        out += "...";
    }
    return out;
}

// The snapshot's scale: a decimal number (digits, at most one point) from
// kScaleMin to kScaleMax.
constexpr double kScaleMin = 1.0, kScaleMax = 8.0;
bool ParseScale(const char* text, double* scale)
{
    int digits = 0, points = 0;
    for (const char* c = text; *c; ++c) {
        if (*c >= '0' && *c <= '9') ++digits;
        else if (*c == '.') ++points;
        else return false;
    }
    if (digits == 0 || points > 1) return false;
    const double v = g_ascii_strtod(text, nullptr);
    if (!std::isfinite(v) || v < kScaleMin || v > kScaleMax) return false;
    *scale = v;
    return true;
}

int Usage(const std::string& problem)
{
    std::fprintf(stderr, "tenmado: %s\nTry 'tenmado --help' for the options.\n", problem.c_str());
    return kExitUsage;
}

// --days: a whole number from 1 to kAlmanacDaysMax, digits only.
bool ParseDays(const char* text, int* days)
{
    if (!text || !*text) return false;
    long n = 0;
    for (const char* t = text; *t; ++t) {
        if (*t < '0' || *t > '9') return false;
        n = n * 10 + (*t - '0');
        if (n > kAlmanacDaysMax) return false;
    }
    if (n < 1) return false;
    *days = static_cast<int>(n);
    return true;
}

// The civil seconds of 12:00:00 of the civil date of t.
int64_t NoonOf(int64_t t)
{
    constexpr int64_t kDay = 86400;
    int64_t day = t / kDay - (t % kDay < 0 ? 1 : 0);
    return day * kDay + kDay / 2;
}

int Failure(const std::string& problem)
{
    std::fprintf(stderr, "tenmado: %s\n", problem.c_str());
    return kExitFailure;
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
    const std::string head = "--at " + Shown(at) + " is not a civil time: ";
    switch (why) {
    case ClockParseError::DroppedDay:
        return head + "1582-10-05 to 1582-10-14 do not exist (the Julian calendar's 1582-10-04 "
                      "was followed by the Gregorian calendar's 1582-10-15)";
    case ClockParseError::Date:
        return head + "no such date (years 0001 to 9999; the Julian calendar up to 1582-10-04, "
                      "with 02-29 in every fourth year; the Gregorian calendar from 1582-10-15)";
    default:
        return head + "write \"YYYY-MM-DD HH:MM:SS\" with a time from 00:00:00 to 23:59:59";
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // Messages in the terminal's character set; numbers stay in the C
    // locale (the read-outs print "139.7" everywhere).
    std::setlocale(LC_CTYPE, "");
    // Past a file size limit (ulimit -f) a write fails with EFBIG, as on a
    // full disk, instead of the signal killing the program mid-file.
    std::signal(SIGXFSZ, SIG_IGN);

    gchar* snapshot = nullptr;
    gchar* at = nullptr;
    gchar* scale_text = nullptr;
    gchar* lat = nullptr;
    gchar* lon = nullptr;
    gchar* zone = nullptr;
    gchar* azimuth = nullptr;
    gchar* config = nullptr;
    gchar* days_text = nullptr;
    // The parser allocates the option values; they are freed on every return.
    struct OptionValues {
        gchar** values[9];
        ~OptionValues() { for (gchar** v : values) g_free(*v); }
    } owned{{&snapshot, &at, &scale_text, &lat, &lon, &zone, &azimuth, &config, &days_text}};
    gboolean almanac = FALSE;
    gboolean json = FALSE;
    gboolean widget = FALSE;
    gboolean version = FALSE;
    // Values are taken as bytes (FILENAME): --at is checked by Clock_Parse.
    GOptionEntry entries[] = {
        {"snapshot", 0, 0, G_OPTION_ARG_FILENAME, &snapshot,
         "Paint one repaint into a 530 x 300 PNG picture and exit; needs no display. The name "
         "ends in .png; - writes the picture to standard output",
         "FILE.png"},
        {"scale", 0, 0, G_OPTION_ARG_FILENAME, &scale_text,
         "With --snapshot: paint the picture S times as large (1 to 8, decimals allowed: 2 "
         "gives 1060 x 600), redrawn at that size",
         "S"},
        {"at", 0, 0, G_OPTION_ARG_FILENAME, &at,
         "Show this civil time of the observer (in the observer's zone, UTC+9 by default; "
         "before 1900 the local mean time of the longitude) instead of now; the window's clock "
         "runs on from it. Dates are Julian up to 1582-10-04, Gregorian from 1582-10-15",
         "\"YYYY-MM-DD HH:MM:SS\""},
        {"almanac", 0, 0, G_OPTION_ARG_NONE, &almanac,
         "Print the almanac of the instant (the picture's read-outs) as text and exit", nullptr},
        {"json", 0, 0, G_OPTION_ARG_NONE, &json, "With --almanac: print it as one JSON object",
         nullptr},
        {"days", 0, 0, G_OPTION_ARG_FILENAME, &days_text,
         "With --almanac: N days (1 to 3660) from the date of --at (default today) at its time "
         "of day (default 12:00:00), as a table, one line a day (or a JSON array)",
         "N"},
        {"lat", 0, 0, G_OPTION_ARG_FILENAME, &lat,
         "The observer's latitude, degrees from -90 to 90, north positive (default 35.6)", "DEG"},
        {"lon", 0, 0, G_OPTION_ARG_FILENAME, &lon,
         "The observer's longitude, degrees from -180 to 180, east positive (default 139.7)",
         "DEG"},
        {"zone", 0, 0, G_OPTION_ARG_FILENAME, &zone,
         "The civil time zone, hours east of UTC from -12 to 14 in steps of 0.25 (default: the "
         "whole hours nearest the longitude)",
         "HOURS"},
        {"azimuth", 0, 0, G_OPTION_ARG_FILENAME, &azimuth,
         "The direction of the view, degrees from the south toward the west, -360 to 360 "
         "(default 0: south; 180: north)",
         "DEG"},
        {"config", 0, 0, G_OPTION_ARG_FILENAME, &config,
         "Read the settings from FILE instead of $XDG_CONFIG_HOME/tenmado/settings.ini", "FILE"},
        {"widget", 0, 0, G_OPTION_ARG_NONE, &widget,
         "Show the window as a desktop widget: no title bar, below other windows, on every "
         "workspace, out of the task bar; drag it with the mouse",
         nullptr},
        {"version", 0, 0, G_OPTION_ARG_NONE, &version, "Print the version and exit", nullptr},
        {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
    };
    GOptionContext* context = g_option_context_new("- almanac and clock of the observer's sky");
    // u8: help text is UTF-8 (narrow literals are compiled to Shift_JIS)
    g_option_context_set_summary(context, reinterpret_cast<const char*>(
        u8"Opens the window \"天窓\" (530 x 257) with the date, the Julian day, sunrise and sunset,\n"
        "moonrise and moonset, the tides of Tokyo Bay, the planets and constellations toward\n"
        "the view (the south by default), the Moon's phase and age, and an analog clock,\n"
        "repainted every second. The observer is in Tokyo unless the settings file or the\n"
        "options say otherwise; in the window the arrow keys and the mouse wheel turn the view."));
    const std::string description =
        std::string("Settings file: $XDG_CONFIG_HOME/tenmado/settings.ini (~/.config/...), group\n"
                    "[observer] with latitude, longitude, zone, azimuth and group [window] with\n"
                    "widget=true|false; the options win over it. The file is never written.\n\n"
                    "In the window Left and Right turn the view by 15 degrees (with Shift by 90),\n"
                    "Home turns it back to the setting, the mouse wheel over the sky turns it too.\n"
                    "Launched again while its window runs (with a session bus), tenmado shows\n"
                    "that window. Ctrl+Q or Ctrl+W closes it.\n"
                    "Exit status:\n"
                    "  0  success\n"
                    "  1  a failure while running: the snapshot or the almanac cannot be written,\n"
                    "     no display for the window (use --snapshot there), the connection to the\n"
                    "     display lost, the window failed\n"
                    "  2  a mistake on the command line: an unknown option, a bad or missing value\n"
                    "  128+N  stopped by signal N (a snapshot being written is removed)\n\n"
                    "tenmado ") + TENMADO_VERSION + "\n";
    g_option_context_set_description(context, description.c_str());
    g_option_context_add_main_entries(context, entries, nullptr);
    // GLib takes "--almanac=VALUE" for the flag and drops the value: refuse it.
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
        for (const char* flag : {"--almanac=", "--json=", "--help=", "--widget=", "--version="}) {
            const size_t n = std::strlen(flag);
            if (std::strncmp(argv[i], flag, n) == 0) {
                g_option_context_free(context);
                return Usage(std::string(flag, n - 1) + " takes no value: " + Shown(argv[i]));
            }
        }
    }
    GError* error = nullptr;
    if (!g_option_context_parse(context, &argc, &argv, &error)) {
        // GLib's message quotes the argument whole: escape and cut it
        std::string problem = Printable(error ? error->message : "cannot read the command line",
                                        kShownMessageMax);
        g_clear_error(&error);
        g_option_context_free(context);
        return Usage(problem);
    }
    g_option_context_free(context);

    if (version) {
        std::printf("tenmado %s\n", TENMADO_VERSION);
        return 0;
    }
    if (argc > 1) return Usage("unexpected argument " + Shown(argv[1]));
    if (json && !almanac) return Usage("--json only goes with --almanac");
    double scale = 1.0;
    if (scale_text && !ParseScale(scale_text, &scale))
        return Usage("--scale " + Shown(scale_text) +
                     " is not a scale: give a number from 1 to 8 (decimals allowed, such as 1.5)");
    if (scale_text && !snapshot) return Usage("--scale only goes with --snapshot");
    if (days_text && !almanac) return Usage("--days only goes with --almanac");

    if (snapshot) {
        const bool to_stdout = std::strcmp(snapshot, "-") == 0;
        if (!to_stdout && !PngName(snapshot))
            return Usage("--snapshot " + Shown(snapshot) +
                         ": the picture is a PNG file, give a name that ends in .png (or - for "
                         "standard output)");
        if (to_stdout && almanac)
            return Usage("--snapshot - and --almanac would both write to standard output");
        if (to_stdout && isatty(STDOUT_FILENO))
            return Usage("--snapshot -: standard output is a terminal; redirect it to a file or "
                         "a pipe");
    }

    int64_t civil = 0;
    ClockParseError at_error = ClockParseError::Ok;
    if (at && !Clock_Parse(at, &civil, &at_error)) return Usage(AtProblem(at, at_error));
    if (config && !*config) return Usage("--config needs the name of a settings file");
    int days = 0;
    if (days_text && !ParseDays(days_text, &days))
        return Usage("--days " + Shown(days_text) + " is not a number of days from 1 to " +
                     std::to_string(kAlmanacDaysMax));

    // The settings: the command line first (a bad value ends here), then the
    // file below it, over the built-in defaults.
    ConfigLayer command_line;
    const struct { ConfigKey key; const gchar* text; std::optional<double>* slot; } given[] = {
        {ConfigKey::Latitude, lat, &command_line.latitude},
        {ConfigKey::Longitude, lon, &command_line.longitude},
        {ConfigKey::Zone, zone, &command_line.zone},
        {ConfigKey::Azimuth, azimuth, &command_line.azimuth},
    };
    for (const auto& g : given) {
        if (!g.text) continue;
        double v = 0;
        if (!Config_Parse(g.key, g.text, &v))
            return Usage(std::string(Config_OptionName(g.key)) + " " + Shown(g.text) + " is not " +
                         Config_Accepted(g.key));
        *g.slot = v;
    }
    if (widget) command_line.widget = true;
    ConfigLayer file;
    std::vector<std::string> warnings;
    Config_ReadFile(config ? std::string(config) : Config_DefaultPath(), config != nullptr, &file,
                    &warnings);
    for (const std::string& w : warnings) std::fprintf(stderr, "tenmado: warning: %s\n", w.c_str());
    ConfigValues values = Config_Defaults();
    Config_Over(file, &values);
    Config_Over(command_line, &values);
    Config_Apply(values);

    if (snapshot || almanac) {
        // One fixed instant for the picture and the text alike; a run of
        // days starts at noon of today without --at.
        Clock_Fix(at ? civil : days ? NoonOf(Clock_CivilSeconds()) : Clock_CivilSeconds());
        const int64_t last = Clock_CivilSeconds() + int64_t{86400} * (days > 0 ? days - 1 : 0);
        if (days && last > Clock_CivilFromFields(9999, 12, 31, 23, 59, 59))
            return Usage("--days " + std::to_string(days) + " runs past 9999-12-31");
        if (snapshot) {
            WSDappDev::runInitHandlers();
            std::string why;
            const bool written = std::strcmp(snapshot, "-") == 0
                                     ? RenderSnapshotPngTo(newvdra_000, STDOUT_FILENO, &why, scale)
                                     : RenderSnapshotPng(newvdra_000, snapshot, &why, scale);
            if (!written) return Failure(why);
        }
        if (almanac) {
            std::string text = days ? (json ? Almanac_DaysJson(days) : Almanac_DaysText(days))
                                    : (json ? Almanac_Json() : Almanac_Text());
            std::fwrite(text.data(), 1, text.size(), stdout);
            if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
            // a full disk or a closed output: say so rather than end well
            if (std::fflush(stdout) != 0 || std::ferror(stdout))
                return Failure(std::string("cannot write the almanac: ") + std::strerror(errno));
        }
        return 0;
    }

#if TENMADO_HAVE_WINDOW
    if (at) Clock_StartAt(civil);
    WSGtkSetWidgetMode(values.widget);
    WSGtkSetSettingsPath(config ? std::string(config) : Config_DefaultPath());
    std::string why;
    if (!WSGtkOpenDisplay(&why))
        return Failure(why + ": the window needs a display. Without one, paint the picture into "
                             "a file with --snapshot FILE.png");
    char cmdline[] = "";
    return _win_main(nullptr, nullptr, cmdline, 1);
#else
    (void)widget;
    return Failure("this tenmado was built without the window (TENMADO_GUI=OFF): paint the "
                   "picture into a file with --snapshot FILE.png, or print the almanac with "
                   "--almanac");
#endif
}
