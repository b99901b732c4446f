// The program's entry. Without arguments it hands control to the toolkit,
// which runs the init handlers and the window's event loop. The command line
// adds a headless picture (--snapshot), a chosen instant (--at) and the
// almanac as text (--almanac, --json), the window as a desktop widget
// (--widget) and the version (--version).
#include <glib.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
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
#if TENMADO_HAVE_WINDOW
#include "app/gtk/application.h"
#include "app/gtk/gtk_backend.h"
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

int Usage(const std::string& problem)
{
    std::fprintf(stderr, "tenmado: %s\nTry 'tenmado --help' for the options.\n", problem.c_str());
    return kExitUsage;
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
    // The parser allocates the option values; they are freed on every return.
    struct OptionValues {
        gchar** values[2];
        ~OptionValues() { for (gchar** v : values) g_free(*v); }
    } owned{{&snapshot, &at}};
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
        {"at", 0, 0, G_OPTION_ARG_FILENAME, &at,
         "Show this civil time of the observer (Tokyo, UTC+9; before 1900 the local mean "
         "time of 139.7 E) instead of now; the window's clock runs on from it. Dates are "
         "Julian up to 1582-10-04, Gregorian from 1582-10-15",
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

    if (snapshot || almanac) {
        // One fixed instant for the picture and the text alike.
        Clock_Fix(at ? civil : Clock_CivilSeconds());
        if (snapshot) {
            WSDappDev::runInitHandlers();
            std::string why;
            const bool written = std::strcmp(snapshot, "-") == 0
                                     ? RenderSnapshotPngTo(newvdra_000, STDOUT_FILENO, &why)
                                     : RenderSnapshotPng(newvdra_000, snapshot, &why);
            if (!written) return Failure(why);
        }
        if (almanac) {
            std::string text = json ? Almanac_Json() : Almanac_Text();
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
    WSGtkSetWidgetMode(widget);
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
