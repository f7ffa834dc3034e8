#include "galaxy/star.h"

#include "galaxy/random_source.h"

namespace {

// Single precision on purpose: the stars carry these values widened to
// double, and narrowing them again for GL gives back exactly these floats.
constexpr float ColourTable[4][3] = {
    {0.95f, 0.05f, 0.05f},  // RedStar
    {0.95f, 0.95f, 0.05f},  // YellowStar
    {0.95f, 0.95f, 0.95f},  // WhiteStar
    {0.55f, 0.55f, 0.95f},  // BlueStar
};

// The class each scheme gives to the four percentile bands 0..75, 76..85,
// 86..95 and 96..99.
constexpr ColourClass SchemeBands[4][4] = {
    {BlueStar, WhiteStar, YellowStar, RedStar},    // BlueScheme
    {WhiteStar, BlueStar, YellowStar, RedStar},    // WhiteScheme
    {YellowStar, RedStar, WhiteStar, BlueStar},    // YellowScheme
    {RedStar, YellowStar, WhiteStar, BlueStar},    // RedScheme
};

int BandOf(int p)
{
    if (p <= 75) return 0;
    if (p <= 85) return 1;
    if (p <= 95) return 2;
    return 3;
}

}  // namespace

ColourClass ColourClassFor(ColourScheme scheme, int p)
{
    return SchemeBands[scheme & 3][BandOf(p)];
}

void PickStarColour(StarRecord& star, ColourScheme scheme)
{
    const int p = NextRandom() % 100;
    const float* rgb = ColourTable[ColourClassFor(scheme, p)];
    star.Red = static_cast<double>(rgb[0]);
    star.Green = static_cast<double>(rgb[1]);
    star.Blue = static_cast<double>(rgb[2]);
}

void FinishStar(StarRecord& star, ColourScheme scheme)
{
    PickStarColour(star, scheme);
    star.Size = 1.0 + UnitRandom();
}
