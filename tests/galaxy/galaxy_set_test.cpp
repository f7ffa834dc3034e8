#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "array_allocation_watch.h"
#include "galaxy/galaxy_set.h"
#include "galaxy/galaxy_shapes.h"
#include "galaxy/random_source.h"
#include "galaxy_test_support.h"
#include "shell/settings_store.h"

namespace {

class GalaxySetTest : public GalaxyStateTest {};

TEST_F(GalaxySetTest, StarBudgetHeldToTwoToTenThousand)
{
    const struct {
        int number, budget;
    } cases[] = {{2000, 2000}, {1000, 1000}, {5000, 5000}, {2, 2},         {3, 3},
                 {1, 2},       {0, 2},       {-7, 2},      {INT_MIN, 2},   {10000, 10000},
                 {10001, 10000}, {INT_MAX, 10000}};
    for (const auto& c : cases) EXPECT_EQ(StarBudget(c.number), c.budget) << "Number " << c.number;
}

TEST_F(GalaxySetTest, StarCountRanges)
{
    const struct {
        int number, lowest, highest;
    } cases[] = {
        {2000, 1000, 1999}, {2001, 1000, 1999}, {1000, 500, 999}, {5000, 2500, 4999},
        {2, 1, 1},          {3, 1, 1},          {1, 1, 1},        {0, 1, 1},
        {-40, 1, 1},        {INT_MIN, 1, 1},    {INT_MAX, 5000, 9999},
    };
    for (const auto& c : cases) {
        SeedRandom(3);
        int lowest = INT_MAX, highest = INT_MIN;
        for (int i = 0; i < 5000; ++i) {
            const int count = DrawStarCount(c.number);
            lowest = std::min(lowest, count);
            highest = std::max(highest, count);
        }
        EXPECT_GE(lowest, c.lowest) << "Number " << c.number;
        EXPECT_LE(highest, c.highest) << "Number " << c.number;
    }
    // One draw per count.
    EXPECT_EQ(DrawsMadeBy(3, [] { DrawStarCount(2000); }), 1);
}

TEST_F(GalaxySetTest, FramesPerCycleHeldToTheIntRange)
{
    const struct {
        int cycleLength, frames;
    } cases[] = {
        {30, 600},          {10, 200},        {120, 2400},           {0, 0},
        {-1, -20},          {107374182, 2147483640}, {107374183, INT_MAX}, {INT_MAX, INT_MAX},
        {-107374182, -2147483640}, {-107374183, INT_MIN}, {INT_MIN, INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(FramesPerCycleFor(c.cycleLength), c.frames) << "CycleLength " << c.cycleLength;
}

bool SameStars(const StarRecord* a, const std::vector<StarRecord>& b)
{
    return std::memcmp(a, b.data(), b.size() * sizeof(StarRecord)) == 0;
}

// After seed 1 with the default budget, galaxy 0 gets the draws 41, 18467
// and 6334: 1041 stars, a sphere in the yellow scheme. The next galaxies'
// draws follow its last star.
TEST_F(GalaxySetTest, FirstBuildFromSeedOne)
{
    GalaxySet.FrameCounter = 55;
    SeedRandom(1);
    AllocateGalaxies();
    ASSERT_NE(GalaxySet.Galaxies, nullptr);
    EXPECT_EQ(GalaxySet.GalaxyCount, 3);
    EXPECT_EQ(GalaxySet.FramesPerCycle, 600);
    EXPECT_EQ(GalaxySet.FrameCounter, 0);
    EXPECT_EQ(GalaxySet.Galaxies[0].StarCount, 1041);

    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 41);
    EXPECT_EQ(NextRandom() % 7, Sphere);
    EXPECT_EQ(NextRandom() % 4, YellowScheme);
    std::vector<StarRecord> expected(1041);
    GenerateGalaxy(expected.data(), 1041, Sphere, YellowScheme);
    EXPECT_TRUE(SameStars(GalaxySet.Galaxies[0].Stars, expected));

    for (int g = 1; g < 3; ++g) {
        const int count = 1000 + NextRandom() % 1000;
        const auto shape = static_cast<GalaxyShape>(NextRandom() % 7);
        const auto scheme = static_cast<ColourScheme>(NextRandom() % 4);
        ASSERT_EQ(GalaxySet.Galaxies[g].StarCount, count) << "galaxy " << g;
        expected.assign(count, StarRecord{});
        GenerateGalaxy(expected.data(), count, shape, scheme);
        EXPECT_TRUE(SameStars(GalaxySet.Galaxies[g].Stars, expected)) << "galaxy " << g;
    }
}

TEST_F(GalaxySetTest, RebuildKeepsTheGalaxyArrayAndRenewsTheStars)
{
    SaverSettings.Number = 1000;
    AllocateGalaxies();
    Galaxy* const galaxies = GalaxySet.Galaxies;
    GalaxySet.FrameCounter = 601;
    for (int round = 0; round < 20; ++round) {
        RegenerateGalaxies();
        ASSERT_EQ(GalaxySet.Galaxies, galaxies);
        for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
            const Galaxy& galaxy = GalaxySet.Galaxies[g];
            ASSERT_NE(galaxy.Stars, nullptr);
            ASSERT_GE(galaxy.StarCount, 500);
            ASSERT_LE(galaxy.StarCount, 999);
        }
    }
    // The renderer, not the rebuild, resets the counter.
    EXPECT_EQ(GalaxySet.FrameCounter, 601);
}

// Values the dialog cannot produce still give a running saver and a sky,
// and the stored settings are left exactly as they were.
TEST_F(GalaxySetTest, HostileSettingsAreGuardedAtUse)
{
    const struct {
        int number, cycleLength;
        int lowest, highest, frames;
    } cases[] = {
        {0, 0, 1, 1, 0},
        {1, -5, 1, 1, -100},
        {-1000, INT_MIN, 1, 1, INT_MIN},
        {INT_MIN, 107374183, 1, 1, INT_MAX},
        {INT_MAX, INT_MAX, 5000, 9999, INT_MAX},
    };
    for (const auto& c : cases) {
        SaverSettings.Number = c.number;
        SaverSettings.CycleLength = c.cycleLength;
        AllocateGalaxies();
        ASSERT_NE(GalaxySet.Galaxies, nullptr);
        EXPECT_EQ(GalaxySet.FramesPerCycle, c.frames) << "CycleLength " << c.cycleLength;
        for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
            const Galaxy& galaxy = GalaxySet.Galaxies[g];
            EXPECT_NE(galaxy.Stars, nullptr);
            EXPECT_GE(galaxy.StarCount, c.lowest) << "Number " << c.number;
            EXPECT_LE(galaxy.StarCount, c.highest) << "Number " << c.number;
        }
        RegenerateGalaxies();
        EXPECT_EQ(SaverSettings.Number, c.number);
        EXPECT_EQ(SaverSettings.CycleLength, c.cycleLength);
    }
}

TEST_F(GalaxySetTest, FreeIsHarmlessOnAnUnbuiltSetAndTwice)
{
    FreeGalaxies(GalaxySet);
    EXPECT_EQ(GalaxySet.Galaxies, nullptr);
    RegenerateGalaxies();  // nothing to rebuild
    EXPECT_EQ(GalaxySet.Galaxies, nullptr);

    AllocateGalaxies();
    GalaxySet.FrameCounter = 12;
    FreeGalaxies(GalaxySet);
    FreeGalaxies(GalaxySet);
    EXPECT_EQ(GalaxySet.Galaxies, nullptr);
    EXPECT_EQ(GalaxySet.GalaxyCount, 3);
    EXPECT_EQ(GalaxySet.FramesPerCycle, 600);
    EXPECT_EQ(GalaxySet.FrameCounter, 12);
}

// The set holds one galaxy array and one star array per galaxy, never more:
// old stars go before new ones come, a new set-up frees the old set first,
// and thousands of rebuilds leave nothing behind.
TEST_F(GalaxySetTest, OwnsItsMemoryAcrossRebuilds)
{
    namespace watch = array_allocation_watch;
    SaverSettings.Number = 40;
    const long before = watch::Live();
    watch::ResetPeak();

    AllocateGalaxies();
    EXPECT_EQ(watch::Live(), before + 4);
    AllocateGalaxies();
    EXPECT_EQ(watch::Live(), before + 4);
    for (int round = 0; round < 3000; ++round) RegenerateGalaxies();
    EXPECT_EQ(watch::Live(), before + 4);
    EXPECT_EQ(watch::Peak(), before + 4) << "two generations were held at once";

    FreeGalaxies(GalaxySet);
    EXPECT_EQ(watch::Live(), before);
}

TEST_F(GalaxySetTest, FailedAllocationsLeaveEmptyButSafeState)
{
    namespace watch = array_allocation_watch;
    const long before = watch::Live();

    // No galaxy array: the set stays unbuilt and draws nothing.
    SeedRandom(1);
    watch::FailNthNothrow(1);
    AllocateGalaxies();
    EXPECT_EQ(GalaxySet.Galaxies, nullptr);
    EXPECT_EQ(GalaxySet.FramesPerCycle, 600);
    EXPECT_EQ(NextRandom(), 41);
    RegenerateGalaxies();
    FreeGalaxies(GalaxySet);
    EXPECT_EQ(watch::Live(), before);

    // No stars for galaxy 1 (the third allocation): it is empty, and the
    // others are built as usual.
    watch::FailNthNothrow(3);
    AllocateGalaxies();
    ASSERT_NE(GalaxySet.Galaxies, nullptr);
    EXPECT_EQ(GalaxySet.Galaxies[1].StarCount, 0);
    EXPECT_EQ(GalaxySet.Galaxies[1].Stars, nullptr);
    for (int g : {0, 2}) {
        EXPECT_NE(GalaxySet.Galaxies[g].Stars, nullptr) << "galaxy " << g;
        EXPECT_GE(GalaxySet.Galaxies[g].StarCount, 1000) << "galaxy " << g;
    }
    EXPECT_EQ(watch::Live(), before + 3);

    // The next rebuild recovers.
    RegenerateGalaxies();
    EXPECT_NE(GalaxySet.Galaxies[1].Stars, nullptr);
    EXPECT_GE(GalaxySet.Galaxies[1].StarCount, 1000);
    FreeGalaxies(GalaxySet);
    EXPECT_EQ(watch::Live(), before);
}

}  // namespace
