#include "galaxy/galaxy_set.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <new>

#include "galaxy/galaxy_shapes.h"
#include "galaxy/random_source.h"
#include "shell/settings_store.h"

GalaxySetRecord GalaxySet = {nullptr, 0, 0, 0};

namespace {

constexpr int SmallestStarBudget = 2;
constexpr int LargestStarBudget = 10000;
constexpr int FramesPerSecond = 20;

}  // namespace

int StarBudget(int number)
{
    return std::clamp(number, SmallestStarBudget, LargestStarBudget);
}

int DrawStarCount(int number)
{
    const int half = StarBudget(number) / 2;
    return half + NextRandom() % half;
}

int FramesPerCycleFor(int cycleLength)
{
    const int64_t frames = static_cast<int64_t>(cycleLength) * FramesPerSecond;
    return static_cast<int>(std::clamp<int64_t>(frames, INT_MIN, INT_MAX));
}

void AllocateGalaxies()
{
    GalaxySet.FramesPerCycle = FramesPerCycleFor(SaverSettings.CycleLength);
    GalaxySet.FrameCounter = 0;
    FreeGalaxies(GalaxySet);
    GalaxySet.GalaxyCount = std::max(ConfiguredGalaxyCount, 1);
    // Without memory the set stays unbuilt; the renderer draws no galaxies.
    GalaxySet.Galaxies = new (std::nothrow) Galaxy[GalaxySet.GalaxyCount]();
    if (GalaxySet.Galaxies == nullptr) return;
    RegenerateGalaxies();
}

void RegenerateGalaxies()
{
    if (GalaxySet.Galaxies == nullptr) return;
    for (int i = 0; i < GalaxySet.GalaxyCount; ++i) {
        Galaxy& galaxy = GalaxySet.Galaxies[i];
        // Free first, so a rebuild never holds two generations of stars.
        delete[] galaxy.Stars;
        galaxy.Stars = nullptr;
        galaxy.StarCount = 0;

        const int count = DrawStarCount(SaverSettings.Number);
        galaxy.Stars = new (std::nothrow) StarRecord[count];
        // A galaxy that gets no memory is simply empty this cycle.
        galaxy.StarCount = galaxy.Stars != nullptr ? count : 0;

        // Shape and scheme are drawn even for an empty galaxy, so each galaxy
        // always makes its three draws.
        const auto shape = static_cast<GalaxyShape>(NextRandom() % 7);
        const auto scheme = static_cast<ColourScheme>(NextRandom() % 4);
        GenerateGalaxy(galaxy.Stars, galaxy.StarCount, shape, scheme);
    }
}

void FreeGalaxies(GalaxySetRecord& set)
{
    if (set.Galaxies == nullptr) return;
    for (int i = 0; i < set.GalaxyCount; ++i) {
        delete[] set.Galaxies[i].Stars;
    }
    delete[] set.Galaxies;
    set.Galaxies = nullptr;
}
