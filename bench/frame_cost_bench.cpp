// The cost of one frame, headless at 1024 x 768 (Mesa llvmpipe), for the
// published report: the floor (background plate, galaxies placed but no
// stars, no text), then star budgets 1000, 2000 and 5000, each with the text
// off and on. Every frame ends with glFinish, so rasterising is included.
// Arguments: {Number, text}; Number 0 is the floor.
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

void FrameCost(benchmark::State& state)
{
    const int number = static_cast<int>(state.range(0));
    const bool textOn = state.range(1) != 0;
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
    GalaxySet.FramesPerCycle = 1 << 30;  // no rebuild inside the measurement
    long stars = 0;
    for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
        if (number == 0) {
            GalaxySet.Galaxies[g].StarCount = 0;
        }
        stars += GalaxySet.Galaxies[g].StarCount;
    }
    // The first frames compile GL's state; they are not the steady cost.
    for (int frame = 0; frame < 5; ++frame) {
        RenderFrame(HeadlessSurface(context));
    }
    for (auto _ : state) {
        RenderFrame(HeadlessSurface(context));
    }
    state.counters["stars"] = static_cast<double>(stars);
    ShutdownScene();
    DestroyHeadlessContext(context);
}

BENCHMARK(FrameCost)
    ->ArgNames({"number", "text"})
    ->Args({0, 0})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.5);

}  // namespace

BENCHMARK_MAIN();
