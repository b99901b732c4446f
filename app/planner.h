// The planner's almanac of one read-outs record: twilight, the golden and
// blue hours, the day's length and its change, the Moon's illuminated
// fraction and phase, the next four phases and the next events; printed as
// text lines, JSON fields, table columns and calendar events.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/ics.h"
#include "app/readout_rows.h"
#include "app/readouts.h"
#include "events/phases.h"
#include "events/twilight.h"

// One upcoming event: its key ("sunrise", "high_water", "civil_dusk", ...)
// and Julian day (UT).
struct PlannerNext {
    const char* event;
    double jd;
};

struct PlannerRecord {
    SunDay sun;                         // the local date of the searches
    double day_length_change;           // minutes, against the date before
    double illumination;                // percent, at the instant
    MoonPhaseName phase_name;           // of the date
    std::vector<PhaseInstant> phases;   // the next four after the instant
    std::vector<PlannerNext> next;      // in time order, each kind once
};

// The record of r (its instant, its date, its place). Overwrites the shared
// position records and the tide record; r itself is not touched.
PlannerRecord Planner_Of(const KoyomiReadouts& r, bool full = true);

// The text lines (UTF-8, the picture's language) of the record.
std::vector<std::string> Planner_TextLines(const KoyomiReadouts& r, const PlannerRecord& p);
// The JSON fields appended to the almanac's object.
void Planner_Json(const KoyomiReadouts& r, const PlannerRecord& p, nlohmann::ordered_json* j);

// ---- the optional columns of the run of days
// Whether a column name is known; the names in the order of the help text.
bool Planner_ColumnKnown(const std::string& name);
std::vector<std::string> Planner_ColumnNames();
// A column's header and its cell for one day (UTF-8, padded to its width).
std::string Planner_ColumnHeader(const std::string& name);
std::string Planner_ColumnCell(const std::string& name, const std::vector<ReadoutRow>& rows,
                               const PlannerRecord& p);
// The table of a run of days from civil seconds start with these columns.
std::string Planner_DaysTable(int64_t start, int days, const std::vector<std::string>& columns);

// ---- the calendar
// The kinds of events: sun (sunrise, sunset), moon (moonrise, moonset),
// phases, tides (high and low water), twilight (dawn and dusk, the golden
// and blue hours).
enum PlannerKind : unsigned {
    kPlanSun = 1, kPlanMoon = 2, kPlanPhases = 4, kPlanTides = 8, kPlanTwilight = 16,
};
// "sun,moon,phases" to the kinds; false for an unknown or empty name.
bool Planner_ParseKinds(const std::string& list, unsigned* kinds);
// The calendar of a run of days from civil seconds start (as the table of
// days runs them) with the events of the kinds; dtstamp: the export's
// instant, seconds since 1970 UTC.
std::string Planner_DaysIcs(int64_t start, int days, unsigned kinds, int64_t dtstamp);
