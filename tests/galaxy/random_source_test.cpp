#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "galaxy/random_source.h"
#include "galaxy_test_support.h"

namespace {

// Taken during static initialisation, before any test can draw, so that the
// start state is seen whatever order the tests run in; the state is then put
// back where it started.
const std::array<int, 3> DrawsFromStartState = [] {
    std::array<int, 3> draws{};
    for (int& draw : draws) draw = NextRandom();
    SeedRandom(1);
    return draws;
}();

TEST(RandomSource, StartStateIsOne)
{
    EXPECT_EQ(DrawsFromStartState, (std::array<int, 3>{41, 18467, 6334}));
}

TEST(RandomSource, SeededStreams)
{
    EXPECT_EQ(DrawsAfterSeed(1, 6), (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724}));
    EXPECT_EQ(DrawsAfterSeed(0, 3), (std::vector<int>{38, 7719, 21238}));
    SeedRandom(1);
}

TEST(RandomSource, DrawsStayWithinFifteenBits)
{
    const std::vector<int> draws = DrawsAfterSeed(12345, 200000);
    EXPECT_EQ(*std::min_element(draws.begin(), draws.end()), 0);
    EXPECT_EQ(*std::max_element(draws.begin(), draws.end()), 32767);
    SeedRandom(1);
}

TEST(RandomSource, UnitRandomReachesBothEndsExactly)
{
    EXPECT_EQ(UnitRandomStep, 3.051850947599719e-05);

    SeedRandom(SeedWithFirstDraw([](int d) { return d == 0; }));
    EXPECT_EQ(UnitRandom(), 0.0);
    SeedRandom(SeedWithFirstDraw([](int d) { return d == 32767; }));
    EXPECT_EQ(UnitRandom(), 1.0);

    // Any other draw is the draw times the step.
    SeedRandom(1);
    EXPECT_EQ(UnitRandom(), 41 * 3.051850947599719e-05);
    SeedRandom(1);
}

}  // namespace
