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

// Builds the set from scratch from the current settings.
void AllocateGalaxies();
// Gives every galaxy of the built set a new star count, shape, scheme and stars.
void RegenerateGalaxies();
// Frees all stars and the galaxy array; harmless on a set that is not built.
void FreeGalaxies(GalaxySetRecord& set);
