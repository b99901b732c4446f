// The program's entry. Without arguments it hands control to the toolkit,
// which runs the init handlers and the window's event loop. The command line
// adds a headless picture (--snapshot) at any size (--scale), a chosen
// instant (--at) and the almanac as text (--almanac, --json), the window as
// a desktop widget (--widget) and the version (--version).
#include <glib.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/cairo/cairo_painter.h"
#include "app/core/almanac.h"
#include "timecal/clock.h"
#include "app/core/newproject.h"
#include "app/toolkit/ws.h"
#include "app/gtk/application.h"
#include "app/gtk/gtk_backend.h"

namespace {

constexpr int kExitUsage = 2;          // bad command line or output not written
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
    // The parser allocates the option values; they are freed on every return.
    struct OptionValues {
        gchar** values[3];
        ~OptionValues() { for (gchar** v : values) g_free(*v); }
    } owned{{&snapshot, &at, &scale_text}};
    gboolean almanac = FALSE;
    gboolean json = FALSE;
    gboolean widget = FALSE;
    gboolean version = FALSE;
    // Values are taken as bytes (FILENAME): --at is checked by Clock_Parse.
    GOptionEntry entries[] = {
        {"snapshot", 0, 0, G_OPTION_ARG_FILENAME, &snapshot,
         "Paint one repaint into a 530 x 300 PNG picture and exit; needs no display", "FILE.png"},
        {"scale", 0, 0, G_OPTION_ARG_FILENAME, &scale_text,
         "With --snapshot: paint the picture S times as large (1 to 8, decimals allowed: 2 "
         "gives 1060 x 600), redrawn at that size",
         "S"},
        {"at", 0, 0, G_OPTION_ARG_FILENAME, &at,
         "Show this civil time of the observer (Tokyo, UTC+9) instead of now; the window's "
         "clock runs on from it",
         "\"YYYY-MM-DD HH:MM:SS\""},
        {"almanac", 0, 0, G_OPTION_ARG_NONE, &almanac,
         "Print the almanac of the instant (the picture's read-outs) as text and exit", nullptr},
        {"json", 0, 0, G_OPTION_ARG_NONE, &json, "With --almanac: print it as one JSON object",
         nullptr},
        {"widget", 0, 0, G_OPTION_ARG_NONE, &widget,
         "Show the window as a desktop widget: no title bar, below other windows, on every "
         "workspace, out of the task bar; drag it with the mouse",
         nullptr},
        {"version", 0, 0, G_OPTION_ARG_NONE, &version, "Print the version and exit", nullptr},
        {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
    };
    GOptionContext* context = g_option_context_new("- almanac and clock of the sky over Tokyo");
    // u8: help text is UTF-8 (narrow literals are compiled to Shift_JIS)
    g_option_context_set_summary(context, reinterpret_cast<const char*>(
        u8"Opens the window \"天窓\" (530 x 257) with the date, the Julian day, sunrise and sunset,\n"
        "moonrise and moonset, the tides of Tokyo Bay, the planets and constellations toward\n"
        "the south, the Moon's phase and age, and an analog clock, repainted every second."));
    const std::string description =
        std::string("Launched again while its window runs (with a session bus), tenmado shows\n"
                    "that window. Ctrl+Q or Ctrl+W closes it.\n"
                    "Exit status: 0 on success; 1 when the window fails while running; 2 on a bad\n"
                    "command line, when the picture cannot be written, or when there is no display\n"
                    "for the window (use --snapshot there).\n\n"
                    "tenmado ") + kTenmadoVersion + "\n";
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
        std::printf("tenmado %s\n", kTenmadoVersion);
        return 0;
    }
    if (argc > 1) return Usage("unexpected argument " + Shown(argv[1]));
    if (json && !almanac) return Usage("--json only goes with --almanac");
    double scale = 1.0;
    if (scale_text && !ParseScale(scale_text, &scale))
        return Usage("--scale " + Shown(scale_text) +
                     " is not a scale: give a number from 1 to 8 (decimals allowed, such as 1.5)");
    if (scale_text && !snapshot) return Usage("--scale only goes with --snapshot");

    int64_t civil = 0;
    if (at && !Clock_Parse(at, &civil))
        return Usage("--at " + Shown(at) +
                     " is not a civil time: write \"YYYY-MM-DD HH:MM:SS\" with a real date of the "
                     "years 0001 to 9999 and a time from 00:00:00 to 23:59:59");

    if (snapshot || almanac) {
        // One fixed instant for the picture and the text alike.
        Clock_Fix(at ? civil : Clock_CivilSeconds());
        if (snapshot) {
            WSDappDev::runInitHandlers();
            std::string why;
            if (!RenderSnapshotPng(newvdra_000, snapshot, &why, scale)) {
                std::fprintf(stderr, "tenmado: %s\n", why.c_str());
                return kExitUsage;
            }
        }
        if (almanac) {
            std::string text = json ? Almanac_Json() : Almanac_Text();
            std::fwrite(text.data(), 1, text.size(), stdout);
            if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
            // a full disk or a closed output: say so rather than end well
            if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
                std::fprintf(stderr, "tenmado: cannot write the almanac: %s\n", std::strerror(errno));
                return kExitUsage;
            }
        }
        return 0;
    }

    if (at) Clock_StartAt(civil);
    WSGtkSetWidgetMode(widget);
    std::string why;
    if (!WSGtkOpenDisplay(&why))
        return Usage(why + ": the window needs a display. Without one, paint the picture into a "
                           "file with --snapshot FILE.png");
    char cmdline[] = "";
    return _win_main(nullptr, nullptr, cmdline, 1);
}
