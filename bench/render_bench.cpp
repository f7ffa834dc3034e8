// One frame of the animation, headless at 1024 x 768 (Mesa llvmpipe): the
// floor of the plate alone, then the defaults and larger star budgets, with
// the text off and on. Every frame ends with glFinish, so the time includes
// the rasterising.
#include <benchmark/benchmark.h>

#include <string>

#include "galaxy/galaxy_set.h"
#include "render/outline_font.h"
#include "render/scene.h"
#include "shell/egl_context.h"
#include "shell/settings_store.h"

namespace {

constexpr int Width = 1024;
constexpr int Height = 768;

// number 0 keeps the galaxies but draws none of their stars.
void Frame(benchmark::State& state, int number, bool textOn)
{
    std::string error;
    HeadlessContext* context = CreateHeadlessContext(Width, Height, &error);
    if (context == nullptr) {
        state.SkipWithError(error.c_str());
        return;
    }
    SaverSettings = DefaultSettings();
    SaverSettings.Number = number > 0 ? number : 2;
    SaverSettings.TextOn = textOn;
    SceneState = StartSceneState();
    FixSceneSeed(1);
    BuildOutlineFont(HeadlessSurface(context));
    InitScene(Width, Height);
    // No rebuild inside the measurement: the star counts stay as drawn.
    GalaxySet.FramesPerCycle = 1 << 30;
    long stars = 0;
    for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
        if (number == 0) {
            GalaxySet.Galaxies[g].StarCount = 0;
        }
        stars += GalaxySet.Galaxies[g].StarCount;
    }

    for (auto _ : state) {
        RenderFrame(HeadlessSurface(context));
    }
    state.counters["stars"] = static_cast<double>(stars);

    ShutdownScene();
    DestroyHeadlessContext(context);
}

void PlateOnly(benchmark::State& state) { Frame(state, 0, false); }
void Defaults(benchmark::State& state) { Frame(state, 2000, false); }
void DefaultsWithText(benchmark::State& state) { Frame(state, 2000, true); }
void Number5000(benchmark::State& state) { Frame(state, 5000, false); }
void Number5000WithText(benchmark::State& state) { Frame(state, 5000, true); }

BENCHMARK(PlateOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(Defaults)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(DefaultsWithText)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(Number5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
BENCHMARK(Number5000WithText)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
