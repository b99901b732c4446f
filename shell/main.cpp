// The program's entry: the command line read (app/command_line.h), the
// settings layered and applied, then a headless picture and/or the almanac
// of one instant, or the window: the toolkit runs the init handlers and the
// window's event loop.
#include <glib.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "app/almanac.h"
#include "app/command_line.h"
#include "app/place_options.h"
#include "app/config.h"
#include "app/i18n.h"
#include "app/input_text.h"
#include "app/newproject.h"
#include "app/planner.h"
#include "app/tide_choice.h"
#include "shell/cairo/snapshot.h"
#include "shell/cairo/snapshot_file.h"
#include "timecal/clock.h"
#include "toolkit/ws.h"
#if TENMADO_HAVE_WINDOW
#include "shell/gtk/application.h"
#include "shell/gtk/gtk_backend.h"
#include "shell/gtk/preferences.h"
#include "shell/gtk/window_shell.h"
#endif

#ifndef TENMADO_VERSION
#error "the build defines TENMADO_VERSION"
#endif
#ifndef TENMADO_LOCALEDIR
#define TENMADO_LOCALEDIR "/usr/local/share/locale"
#endif

namespace {

int Usage(const std::string& problem)
{
    I18n_Print(problem);
    g_printerr("%s\n", _("Try 'tenmado --help' for the options."));
    return kExitUsage;
}

int Failure(const std::string& problem)
{
    I18n_Print(problem);
    return kExitFailure;
}

// The civil seconds of 12:00:00 of the civil date of t.
int64_t NoonOf(int64_t t)
{
    constexpr int64_t kDay = 86400;
    int64_t day = t / kDay - (t % kDay < 0 ? 1 : 0);
    return day * kDay + kDay / 2;
}

// The text almanac (UTF-8) in the locale's character set, when that is not
// UTF-8 (ja_JP.eucJP, ja_JP.SJIS) nor the C locale's: false, with the
// reason, when a character has no place in it (JSON stays UTF-8, as its
// standard says).
bool TextInLocale(std::string* text, std::string* why)
{
    // (the C locale names no character set of the user's: bytes pass as
    // they are, as they always have)
    const char* charset = nullptr;
    const char* ctype = std::setlocale(LC_CTYPE, nullptr);
    if (g_get_charset(&charset) || !ctype || std::strcmp(ctype, "C") == 0 ||
        std::strcmp(ctype, "POSIX") == 0)
        return true;
    GError* error = nullptr;
    gsize written = 0;
    gchar* out = g_locale_from_utf8(text->data(), static_cast<gssize>(text->size()), nullptr,
                                    &written, &error);
    if (!out) {
        *why = Message(_("the almanac cannot be written in the character set of the locale (%s): "
                         "%s; use a UTF-8 locale, --labels en or --json"),
                       charset, error ? error->message : "");
        g_clear_error(&error);
        return false;
    }
    text->assign(out, written);
    g_free(out);
    return true;
}

// --snapshot and/or --almanac: one fixed instant for the picture and the
// text alike; a run of days starts at noon of today without --at.
int RunOutput(const CommandRequest& q)
{
    Clock_Fix(q.at_given ? q.at : q.days ? NoonOf(Clock_CivilSeconds()) : Clock_CivilSeconds());
    const int64_t last = Clock_CivilSeconds() + int64_t{86400} * (q.days > 0 ? q.days - 1 : 0);
    if (q.days && last > Clock_CivilFromFields(9999, 12, 31, 23, 59, 59))
        return Usage(Message(_("--days %d runs past 9999-12-31"), q.days));
    if (!q.snapshot.empty()) {
        WSDappDev::runInitHandlers();
        std::string why;
        const bool written = q.snapshot == "-"
                                 ? RenderSnapshotPngTo(newvdra_000, STDOUT_FILENO, &why, q.scale)
                                 : RenderSnapshotPng(newvdra_000, q.snapshot.c_str(), &why, q.scale);
        if (!written) return Failure(why);
    }
    if (q.almanac) {
        std::string text;
        if (q.ics) {
            // DTSTAMP: the export's time, or the fixed time of a reproducible build
            const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
            const int64_t stamp = epoch && *epoch ? std::strtoll(epoch, nullptr, 10)
                                                  : g_get_real_time() / G_USEC_PER_SEC;
            text = Planner_DaysIcs(Clock_CivilSeconds(), q.days ? q.days : 1, q.events, stamp);
        } else if (!q.columns.empty()) {
            text = Planner_DaysTable(Clock_CivilSeconds(), q.days, q.columns);
        } else {
            text = q.days ? (q.json ? Almanac_DaysJson(q.days) : Almanac_DaysText(q.days))
                          : (q.json ? Almanac_Json() : Almanac_Text());
        }
        std::string why;
        if (!q.json && !q.ics && !TextInLocale(&text, &why)) return Failure(why);
        if (!q.output.empty()) {
            // the file whole or not at all, as the snapshot's
            if (!ReplaceFile(q.output, text.data(), text.size(), &why))
                return Failure(Message(_("cannot write %s: %s"), Shown(q.output.c_str()).c_str(),
                                       why.c_str()));
            return 0;
        }
        std::fwrite(text.data(), 1, text.size(), stdout);
        if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
        // a full disk or a closed output: say so rather than end well
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            return Failure(Message(_("cannot write the almanac: %s"), g_strerror(errno)));
    }
    return 0;
}

// The window, from the instant of --at or now, until it closes.
int RunWindow(const CommandRequest& q, const ConfigValues& values)
{
#if TENMADO_HAVE_WINDOW
    if (q.at_given) Clock_StartAt(q.at);
    WSGtkSetWidgetMode(values.widget);
    Preferences_Setup(q.config_given ? q.config : Config_DefaultPath(), q.options);
    WSGtkSetSettingsPath(q.config_given ? q.config : Config_DefaultPath());
    WindowShell_OfferPlace(Config_FirstStart(q.config_given, q.options, Config_DefaultPath()));
    // what a window already running in the session would not take
    std::string not_taken;
    const std::pair<const char*, bool> options[] = {
        {"--lat", q.options.latitude.has_value()}, {"--lon", q.options.longitude.has_value()},
        {"--zone", q.options.zone.has_value() || q.options.zone_name.has_value()},
        {"--place", q.options.place.has_value()},  {"--azimuth", q.options.azimuth.has_value()},
        {"--at", q.at_given},                      {"--config", q.config_given},
        {"--widget", q.options.widget.has_value()}};
    for (const auto& [name, on] : options)
        if (on) not_taken += std::string(not_taken.empty() ? "" : ", ") + name;
    WSGtkSetGivenOptions(not_taken);
    std::string why;
    if (!WSGtkOpenDisplay(&why))
        return Failure(Message(_("%s: the window needs a display. Without one, paint the picture "
                                 "into a file with --snapshot FILE.png"),
                               why.c_str()));
    char cmdline[] = "";
    return _win_main(nullptr, nullptr, cmdline, 1);
#else
    (void)q;
    (void)values;
    return Failure(_("this tenmado was built without the window (TENMADO_GUI=OFF): paint the "
                     "picture into a file with --snapshot FILE.png, or print the almanac with "
                     "--almanac"));
#endif
}

#if TENMADO_TEST_HOOKS
// The tests' binary (tenmado_testhooks): TENMADO_TEST_WRITE_PAUSE_US
// stretches a snapshot's write, TENMADO_TEST_TICK_MS speeds up the window's
// clock, TENMADO_TEST_TOOLTIPS writes the tooltips' texts to stderr,
// TENMADO_TEST_PREFERENCES opens the Preferences window at start,
// TENMADO_TEST_HOLD=FILE holds the test ticks while FILE exists (and names
// each repaint's second), TENMADO_TEST_KEPT_PICTURE=1 repaints only what
// changed (the kept picture), TENMADO_TEST_FRAME_CYCLE=1 sends the tick's
// repaints through GTK's frame cycle, TENMADO_TEST_REPAINT_CPU=1 or 2 writes each
// repaint's CPU (2: and that of the same repaint again at once). The
// program itself is built without these.
void SetTestHooks()
{
    if (const char* v = std::getenv("TENMADO_TEST_WRITE_PAUSE_US"))
        ReplaceFile_SetTestPause(std::strtol(v, nullptr, 10));
#if TENMADO_HAVE_WINDOW
    if (const char* v = std::getenv("TENMADO_TEST_TICK_MS")) WSGtkSetTestTick(std::strtol(v, nullptr, 10));
    if (std::getenv("TENMADO_TEST_TOOLTIPS")) WSGtkSetTestTooltips(true);
    if (std::getenv("TENMADO_TEST_PREFERENCES")) WSGtkSetTestPreferences(true);
    if (const char* v = std::getenv("TENMADO_TEST_HOLD")) WSGtkSetTestHold(v);
    if (std::getenv("TENMADO_TEST_KEPT_PICTURE")) WSGtkSetKeptPicture(true);
    if (std::getenv("TENMADO_TEST_FRAME_CYCLE")) WSGtkSetFrameCycle(true);
    if (const char* v = std::getenv("TENMADO_TEST_REPAINT_CPU"))
        WSGtkSetTestRepaintCpu(static_cast<int>(std::strtol(v, nullptr, 10)));
#endif
}
#else
void SetTestHooks() {}
#endif

}  // namespace

int main(int argc, char** argv)
{
    // Messages in the user's language and the terminal's character set;
    // numbers stay in the C locale (the read-outs print "139.7" everywhere).
    I18n_Init(TENMADO_LOCALEDIR);
    // Past a file size limit (ulimit -f) a write fails with EFBIG, as on a
    // full disk, instead of the signal killing the program mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    SetTestHooks();

    const auto parsed = ParseCommandLine(argc, argv, TENMADO_VERSION);
    if (const UsageError* error = std::get_if<UsageError>(&parsed)) return Usage(error->problem);
    const CommandRequest& request = std::get<CommandRequest>(parsed);
    if (request.action == CommandRequest::Action::Version) {
        std::printf("tenmado %s\n", TENMADO_VERSION);
        return 0;
    }
    if (request.action == CommandRequest::Action::Places) return PlaceOptions_List(request.places.c_str());

    std::vector<std::string> warnings;
    const ConfigValues values = CommandLine_Settings(request, &warnings);
    for (const std::string& w : warnings) I18n_Print(Message(_("warning: %s"), w.c_str()));
    Config_Apply(values);

    if (request.action == CommandRequest::Action::Stations) {
        std::string why;
        if (!TideChoice_Database(&why)) return Failure(Message(_("tide stations: %s"), why.c_str()));
        const bool near = request.options.latitude || request.options.longitude;
        const std::string list =
            TideChoice_List(request.stations_text, near, values.latitude, values.longitude);
        std::fwrite(list.data(), 1, list.size(), stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            return Failure(Message(_("cannot write the station list: %s"), g_strerror(errno)));
        return 0;
    }
    // the tides: a station of the database, or Tokyo Bay's
    std::string problem;
    std::vector<std::string> tide_warnings;
    if (!TideChoice_Choose(values.tide_station, values.latitude, values.longitude, &problem,
                           &tide_warnings)) {
        if (request.options.tide_station) return Usage(problem);
        // from the settings file: a warning, and Tokyo Bay's tides
        tide_warnings.push_back(Message(_("%s; the tides of Tokyo Bay are shown"), problem.c_str()));
    }
    for (const std::string& w : tide_warnings) I18n_Print(Message(_("warning: %s"), w.c_str()));

    if (request.action == CommandRequest::Action::Output) return RunOutput(request);
    return RunWindow(request, values);
}
