// Speed of choosing a tide station: reading the data file, and the first
// read-outs of a date with a station (its searches run), beside the same
// with the Tokyo Bay model; a record within the date takes the kept searches
// either way.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/readouts.h"
#include "app/settings.h"
#include "app/tide_choice.h"
#include "events/day_kept.h"
#include "tides/stations.h"
#include "timecal/clock.h"

namespace {

const std::string kData = std::string(TENMADO_SOURCE_DIR) + "/tides/tide_stations.tsv";

void BM_TideDb_Load(benchmark::State& s)
{
    TideDatabase db;
    std::string why;
    for (auto _ : s) benchmark::DoNotOptimize(TideDb_Load(kData, &db, &why));
    s.counters["stations"] = static_cast<double>(db.stations.size());
}
BENCHMARK(BM_TideDb_Load)->Unit(benchmark::kMillisecond);

// The read-outs of a new date (rise, set, tides searched): arg 0 Tokyo Bay,
// 1 the station of Tokyo.
void BM_Readouts_NewDate(benchmark::State& s)
{
    setenv("TENMADO_TIDE_STATIONS", kData.c_str(), 1);
    std::string problem;
    std::vector<std::string> warnings;
    TideChoice_Choose(s.range(0) ? "ticon/tokyo-ma15-jpn-jodc_jma" : "", 35.6, 139.7, &problem,
                      &warnings);
    Settings_Reset();
    struct tm now = Clock_Fields(Clock_CivilFromFields(2026, 1, 1, 12, 0, 0));
    KoyomiReadouts r;
    for (auto _ : s) {
        KeptSearches_Forget();
        Koyomi_Readouts(now, false, &r);
    }
    TideChoice_Reset();
    Settings_Reset();
}
BENCHMARK(BM_Readouts_NewDate)->ArgName("station")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
