// The command line: the options read into one request, or the usage error
// that stops the program (exit 2). --help is GLib's: it prints the options
// and ends the program. The settings: the request's layer over the settings
// file over the built-in defaults.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "app/config.h"

// Exit status: 0 success, 1 a failure while running, 2 a mistake on the
// command line.
constexpr int kExitFailure = 1;  // output not written, no display, display lost
constexpr int kExitUsage = 2;    // unknown option, bad or missing value

// The snapshot's scale range.
constexpr double kScaleMin = 1.0, kScaleMax = 8.0;

struct CommandRequest {
    enum class Action {
        Window,   // the window (no --snapshot, no --almanac)
        Output,   // --snapshot and/or --almanac, then exit
        Version,  // --version
        Stations, // --tide-stations: the station list
        Places,   // --places: list the gazetteer's matches
    } action = Action::Window;
    std::string places;          // --places: the text
    std::string snapshot;        // --snapshot: a .png name, or "-" (standard output); "" none
    double scale = 1.0;          // --scale
    bool at_given = false;       // --at
    int64_t at = 0;              //   its civil seconds (Clock_Parse)
    bool almanac = false;        // --almanac
    bool json = false;           // --json
    int days = 0;                // --days (0: one instant)
    std::vector<std::string> columns;  // --columns: the table's columns ({} the default table)
    bool ics = false;            // --ics: the calendar of the days
    unsigned events = 0;         //   --events: PlannerKind bits (default phases)
    std::string output;          // --output: the file, "" standard output
    ConfigLayer options;         // --lat, --lon, --zone, --azimuth, --widget, --tide-station, --place
    std::string stations_text;   // --tide-stations TEXT ("" all)
    std::vector<std::string> warnings;  // --place without the gazetteer (the numbers still work)
    bool config_given = false;   // --config
    std::string config;          //   its file
};
struct UsageError {
    std::string problem;  // one line, printable ASCII
};

// The request of argv, or the first problem found. version is printed by
// --help and --version.
std::variant<CommandRequest, UsageError> ParseCommandLine(int argc, char** argv,
                                                          const char* version);

// The settings of a request: its options over the settings file (--config,
// or the default file) over the built-in defaults; one warning line for each
// problem of the file.
ConfigValues CommandLine_Settings(const CommandRequest& request,
                                  std::vector<std::string>* warnings);
