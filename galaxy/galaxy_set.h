#pragma once
// The galaxies shown at once and the cycle clock that rebuilds them.
#include "galaxy/star.h"

struct Galaxy {
    int StarCount;
    StarRecord* Stars;  // owned; nullptr before the first build
};

struct GalaxySetRecord {
    Galaxy* Galaxies;   // owned; nullptr when the set is not built
    int GalaxyCount;
    int FramesPerCycle;
    int FrameCounter;
};

inline constexpr int ConfiguredGalaxyCount = 3;

// The process-wide galaxy set.
extern GalaxySetRecord GalaxySet;

// Stored settings reach the set unchecked, so it guards them where it uses
// them. The star budget a rebuild works with: Number held to 2..10000, so
// that half of it is at least 1 and a hostile value cannot ask for gigabytes.
int StarBudget(int number);
// A galaxy's star count: half the budget plus one draw modulo that half.
int DrawStarCount(int number);
// CycleLength x 20 frames, held to the int range instead of overflowing.
int FramesPerCycleFor(int cycleLength);

// Builds the set from scratch from the current settings.
void AllocateGalaxies();
// Gives every galaxy of the built set a new star count, shape, scheme and stars.
void RegenerateGalaxies();
// Frees all stars and the galaxy array; harmless on a set that is not built.
void FreeGalaxies(GalaxySetRecord& set);
