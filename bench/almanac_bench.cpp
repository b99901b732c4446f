// Speed of the almanac over many days (--almanac --days N): a year of days,
// as a table and as JSON, from 2026-01-01 12:00:00 at the defaults. Each
// iteration starts with nothing kept (the searches of a day, the new moons).
#include <benchmark/benchmark.h>

#include <string>

#include "app/almanac.h"
#include "app/settings.h"
#include "timecal/clock.h"

namespace {

constexpr int kYearOfDays = 366;

void Start()
{
    Settings_Reset();
    Clock_Fix(Clock_CivilFromFields(2026, 1, 1, 12, 0, 0));
}

void BM_Almanac_YearText(benchmark::State& s)
{
    size_t bytes = 0;
    for (auto _ : s) {
        Start();
        bytes = Almanac_DaysText(kYearOfDays).size();
    }
    s.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Almanac_YearText)->Unit(benchmark::kMillisecond);

void BM_Almanac_YearJson(benchmark::State& s)
{
    size_t bytes = 0;
    for (auto _ : s) {
        Start();
        bytes = Almanac_DaysJson(kYearOfDays).size();
    }
    s.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Almanac_YearJson)->Unit(benchmark::kMillisecond);

}  // namespace
