// The cost of one cycle-end rebuild of all galaxies at the largest budget
// the dialog offers (up to 3 x 4999 stars).
#include <benchmark/benchmark.h>

#include "galaxy/galaxy_set.h"
#include "galaxy/random_source.h"
#include "shell/settings_store.h"

namespace {

void RegenerateAtNumber5000(benchmark::State& state)
{
    SaverSettings = DefaultSettings();
    SaverSettings.Number = 5000;
    SeedRandom(1);
    AllocateGalaxies();
    long stars = 0;
    for (auto _ : state) {
        RegenerateGalaxies();
        for (int g = 0; g < GalaxySet.GalaxyCount; ++g) stars += GalaxySet.Galaxies[g].StarCount;
        benchmark::DoNotOptimize(GalaxySet.Galaxies[0].Stars);
        benchmark::ClobberMemory();
    }
    state.counters["stars"] = benchmark::Counter(static_cast<double>(stars), benchmark::Counter::kAvgIterations);
    FreeGalaxies(GalaxySet);
}
BENCHMARK(RegenerateAtNumber5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
