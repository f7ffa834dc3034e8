#pragma once
// Helpers shared by the galaxy tests: a fixture that puts the process-wide
// state back, and ways to look at the random stream from outside.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "galaxy/galaxy_set.h"
#include "galaxy/random_source.h"
#include "shell/settings_store.h"

// Every test starts and ends with the defaults, an unbuilt set and seed 1.
class GalaxyStateTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        FreeGalaxies(GalaxySet);
        GalaxySet = GalaxySetRecord{nullptr, 0, 0, 0};
        SaverSettings = DefaultSettings();
        SeedRandom(1);
    }
};

// The first count draws after seeding with seed.
inline std::vector<int> DrawsAfterSeed(uint32_t seed, int count)
{
    SeedRandom(seed);
    std::vector<int> draws(count);
    for (int& draw : draws) draw = NextRandom();
    return draws;
}

// How many draws action makes, found by locating the stream's next values in
// a reference stream from the same seed; -1 if not within limit.
template <typename Action>
int DrawsMadeBy(uint32_t seed, Action&& action, int limit = 200000)
{
    SeedRandom(seed);
    action();
    const int next[3] = {NextRandom(), NextRandom(), NextRandom()};
    const std::vector<int> reference = DrawsAfterSeed(seed, limit + 3);
    for (int k = 0; k <= limit; ++k) {
        if (reference[k] == next[0] && reference[k + 1] == next[1] && reference[k + 2] == next[2]) {
            return k;
        }
    }
    return -1;
}

// The smallest seed whose first draw satisfies wanted.
template <typename Predicate>
uint32_t SeedWithFirstDraw(Predicate&& wanted)
{
    for (uint32_t seed = 0;; ++seed) {
        SeedRandom(seed);
        if (wanted(NextRandom())) return seed;
    }
}
