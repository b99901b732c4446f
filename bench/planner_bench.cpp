// Speed of the planner's almanac: 100 years of the Moon's four phases (the
// calendar's search), one date's twilight, golden and blue hours and day's
// length, and a year of the calendar with every kind of event.
#include <benchmark/benchmark.h>

#include <string>

#include "app/planner.h"
#include "app/settings.h"
#include "events/phases.h"
#include "events/twilight.h"
#include "timecal/clock.h"
#include "timecal/julian.h"

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kCentury = 36525.0;  // days

void BM_Moon_Phases_100Years(benchmark::State& s)
{
    size_t n = 0;
    for (auto _ : s) n = Moon_Phases_Between(kJ2000, kJ2000 + kCentury).size();
    s.counters["phases"] = static_cast<double>(n);
}
BENCHMARK(BM_Moon_Phases_100Years)->Unit(benchmark::kMillisecond);

void BM_Sun_Day(benchmark::State& s)
{
    const double start = JD_Zone(2026, 12, 6, 0, 139.7, 9);
    for (auto _ : s) benchmark::DoNotOptimize(Sun_Day(35.6, 139.7, start, 24).day_length);
}
BENCHMARK(BM_Sun_Day)->Unit(benchmark::kMicrosecond);

void BM_Planner_YearIcsAll(benchmark::State& s)
{
    size_t bytes = 0;
    for (auto _ : s) {
        Settings_Reset();
        const int64_t start = Clock_CivilFromFields(2026, 1, 1, 12, 0, 0);
        bytes = Planner_DaysIcs(start, 366, kPlanSun | kPlanMoon | kPlanPhases | kPlanTides |
                                                kPlanTwilight, 0).size();
    }
    s.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Planner_YearIcsAll)->Unit(benchmark::kMillisecond);

}  // namespace
