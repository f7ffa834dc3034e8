#include <gtest/gtest.h>

#include "galaxy/random_source.h"
#include "galaxy/star.h"
#include "galaxy_test_support.h"

namespace {

class StarColour : public GalaxyStateTest {};

// The class each scheme gives its four bands, checked at both edges of
// every band.
TEST_F(StarColour, BandEdgesOfEveryScheme)
{
    struct Row {
        ColourScheme scheme;
        ColourClass bands[4];
    };
    const Row rows[] = {
        {BlueScheme, {BlueStar, WhiteStar, YellowStar, RedStar}},
        {WhiteScheme, {WhiteStar, BlueStar, YellowStar, RedStar}},
        {YellowScheme, {YellowStar, RedStar, WhiteStar, BlueStar}},
        {RedScheme, {RedStar, YellowStar, WhiteStar, BlueStar}},
    };
    const struct {
        int p;
        int band;
    } edges[] = {{0, 0}, {75, 0}, {76, 1}, {85, 1}, {86, 2}, {95, 2}, {96, 3}, {99, 3}};
    for (const Row& row : rows) {
        for (const auto& edge : edges) {
            EXPECT_EQ(ColourClassFor(row.scheme, edge.p), row.bands[edge.band])
                << "scheme " << row.scheme << ", p " << edge.p;
        }
    }
}

// The stored components are the single-precision table widened to double.
TEST_F(StarColour, PickWritesWidenedSinglePrecisionComponents)
{
    constexpr double Bright = 0.949999988079071;
    constexpr double Dim = 0.05000000074505806;
    constexpr double Half = 0.550000011920929;
    const struct {
        ColourScheme scheme;
        int p;
        double red, green, blue;
    } cases[] = {
        {WhiteScheme, 0, Bright, Bright, Bright},   // WhiteStar
        {BlueScheme, 75, Half, Half, Bright},       // BlueStar
        {YellowScheme, 0, Bright, Bright, Dim},     // YellowStar
        {RedScheme, 0, Bright, Dim, Dim},           // RedStar
        {RedScheme, 99, Half, Half, Bright},        // BlueStar, the rare band
    };
    for (const auto& c : cases) {
        SeedRandom(SeedWithFirstDraw([&](int d) { return d % 100 == c.p; }));
        StarRecord star{1.5, -2.5, 3.5, -1, -1, -1, 1.25};
        PickStarColour(star, c.scheme);
        EXPECT_EQ(star.Red, c.red) << "scheme " << c.scheme << ", p " << c.p;
        EXPECT_EQ(star.Green, c.green) << "scheme " << c.scheme << ", p " << c.p;
        EXPECT_EQ(star.Blue, c.blue) << "scheme " << c.scheme << ", p " << c.p;
        // Narrowing back for GL gives the table's floats again.
        EXPECT_EQ(static_cast<float>(star.Blue), c.blue == Bright ? 0.95f : c.blue == Dim ? 0.05f : 0.55f);
        // Only the colour is touched.
        EXPECT_EQ(star.X, 1.5);
        EXPECT_EQ(star.Y, -2.5);
        EXPECT_EQ(star.Z, 3.5);
        EXPECT_EQ(star.Size, 1.25);
    }
}

TEST_F(StarColour, FinishStarDrawsColourThenSize)
{
    const std::vector<int> reference = DrawsAfterSeed(7, 2);
    SeedRandom(7);
    StarRecord star{};
    FinishStar(star, RedScheme);
    StarRecord colourOnly{};
    SeedRandom(7);
    PickStarColour(colourOnly, RedScheme);
    EXPECT_EQ(star.Red, colourOnly.Red);
    EXPECT_EQ(star.Green, colourOnly.Green);
    EXPECT_EQ(star.Blue, colourOnly.Blue);
    EXPECT_EQ(star.Size, 1.0 + reference[1] * UnitRandomStep);

    EXPECT_EQ(DrawsMadeBy(7, [] {
                  StarRecord s{};
                  FinishStar(s, BlueScheme);
              }),
              2);
}

TEST_F(StarColour, SizesStayWithinOneAndTwo)
{
    SeedRandom(99);
    for (int i = 0; i < 100000; ++i) {
        StarRecord star{};
        FinishStar(star, static_cast<ColourScheme>(i % 4));
        ASSERT_GE(star.Size, 1.0);
        ASSERT_LE(star.Size, 2.0);
    }
}

}  // namespace
