// Speed of a place lookup by name (--place, --places): the whole gazetteer
// read and searched, as each lookup does.
#include <benchmark/benchmark.h>

#include "places/places.h"

namespace {

void BM_Places_FindSapporo(benchmark::State& s)
{
    for (auto _ : s) benchmark::DoNotOptimize(Places_Find("Sapporo"));
}
BENCHMARK(BM_Places_FindSapporo)->Unit(benchmark::kMillisecond);

// the Japanese name, and a name of many places with a qualifier
void BM_Places_FindKanjiAndQualified(benchmark::State& s)
{
    for (auto _ : s) {
        benchmark::DoNotOptimize(Places_Find("\xe6\x9c\xad\xe5\xb9\x8c"));  // 札幌, UTF-8
        benchmark::DoNotOptimize(Places_Find("Springfield, US-IL"));
    }
}
BENCHMARK(BM_Places_FindKanjiAndQualified)->Unit(benchmark::kMillisecond);

}  // namespace
