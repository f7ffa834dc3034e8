// Small, tolerant checks on whole frames drawn from a fixed seed: where the
// plate, a lone star and the text land.
#include <algorithm>
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {

// The box around the pixels whose colour passes a test, and their number.
struct LitArea {
    int Left = 1 << 30, Right = -1, Bottom = 1 << 30, Top = -1, Count = 0;
};

template <typename Test>
LitArea FindLit(const std::vector<unsigned char>& pixels, int width, int height, Test lit)
{
    LitArea area;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            if (lit(p)) {
                area.Left = std::min(area.Left, x);
                area.Right = std::max(area.Right, x);
                area.Bottom = std::min(area.Bottom, y);
                area.Top = std::max(area.Top, y);
                ++area.Count;
            }
        }
    }
    return area;
}

bool AnyLight(const unsigned char* p)
{
    return p[0] > 16 || p[1] > 16 || p[2] > 16;
}

class Image : public RenderTest {
protected:
    int SurfaceWidth() const override { return 128; }
    int SurfaceHeight() const override { return 96; }
    int Width() const { return SurfaceWidth(); }
    int Height() const { return SurfaceHeight(); }

    // A scene of the surface's size with no stars unless a test keeps some.
    void EmptyScene()
    {
        InitScene(SurfaceWidth(), SurfaceHeight());
        HoldCycle();
        for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
            GalaxySet.Galaxies[g].StarCount = 0;
        }
    }
};

// The plate spans 57 of the 57.735 units visible at depth 100 on each side,
// both across and up: 98.7 % of each side of the frame, centred.
TEST_F(Image, PlateCoversTheFrameButAThinBorder)
{
    EmptyScene();
    SceneState.BackgroundTextures[0].glName = SolidTexture(255, 255, 255, 255);
    RenderFrame(Surface());
    const LitArea plate = FindLit(ReadFrame(), 128, 96, AnyLight);

    const double share = 57 / (100 * std::tan(3.141592653589793 / 6));
    EXPECT_NEAR(plate.Right - plate.Left + 1, 128 * share, 1.5);
    EXPECT_NEAR(plate.Top - plate.Bottom + 1, 96 * share, 1.5);
    EXPECT_NEAR((plate.Left + plate.Right + 1) / 2.0, 64, 1);
    EXPECT_NEAR((plate.Bottom + plate.Top + 1) / 2.0, 48, 1);
    EXPECT_NEAR(plate.Count, 128 * 96 * share * share, 128 * 96 * 0.03);
}

// Big enough for a sprite of a few pixels and text of a dozen pixels an em.
class LargerImage : public Image {
protected:
    int SurfaceWidth() const override { return 320; }
    int SurfaceHeight() const override { return 240; }
};

// One star at a galaxy's centre lands where the projection puts the
// galaxy's start position with TravelSpeed 0. The sprite is plain white, so
// that all of its square shows.
TEST_F(LargerImage, LoneStarLandsWhereTheProjectionSays)
{
    SaverSettings.TravelSpeed = 0;
    SaverSettings.RotateSpeed = 0;
    SaverSettings.Background = 0;
    const struct { int galaxy; double x, y, z; } cases[] = {
        { 0, 20, 0, -55 },
        { 1, 15, 0, -55 },
        { 2, 0, 0, -55 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "galaxy " << c.galaxy);
        ResetRendererState();
        SaverSettings.TravelSpeed = 0;
        SaverSettings.RotateSpeed = 0;
        SaverSettings.Background = 0;
        EmptyScene();
        Galaxy& galaxy = GalaxySet.Galaxies[c.galaxy];
        galaxy.StarCount = 1;
        galaxy.Stars[0] = StarRecord{ 0, 0, 0, 1, 1, 1, 2 };
        SceneState.StarTexture.glName = SolidTexture(255, 255, 255, 255);
        RenderFrame(Surface());
        const LitArea star = FindLit(ReadFrame(), Width(), Height(), AnyLight);
        ASSERT_GT(star.Count, 0);

        // Perspective of 60 degrees up, aspect 4:3, onto 128 x 96 pixels.
        const double f = 1 / std::tan(3.141592653589793 / 6);
        const double x = (c.x * f / (4.0 / 3) / -c.z + 1) * Width() / 2;
        const double y = (c.y * f / -c.z + 1) * Height() / 2;
        EXPECT_NEAR((star.Left + star.Right + 1) / 2.0, x, 1.5);
        EXPECT_NEAR((star.Bottom + star.Top + 1) / 2.0, y, 1.5);
        // A sprite of side 0.8 at distance 55 is about 6 pixels across.
        EXPECT_LE(star.Right - star.Left + 1, 8);
        FreeGalaxies(GalaxySet);
    }
}

// With TravelSpeed 0 and no spin the text rests at (0, 0, -16), centred on
// its advance: it stands on the frame's middle, in the first colour (green).
TEST_F(LargerImage, TextShowsAtTheCentre)
{
    BuildOutlineFont(Surface());
    SaverSettings.TravelSpeed = 0;
    SaverSettings.RotateSpeed = 0;
    SaverSettings.Background = 0;
    SaverSettings.TextOn = 1;
    SetText("HIH");
    EmptyScene();
    RenderFrame(Surface());
    const auto pixels = ReadFrame();
    const LitArea text = FindLit(pixels, Width(), Height(), AnyLight);
    ASSERT_GT(text.Count, 40);

    // Centred across within the glyphs' side bearings, standing on the middle row.
    EXPECT_NEAR((text.Left + text.Right + 1) / 2.0, Width() / 2, 2);
    EXPECT_NEAR(text.Bottom, Height() / 2, 1.5);
    EXPECT_GT(text.Top, Height() / 2 + 5);
    const LitArea green = FindLit(pixels, Width(), Height(), [](const unsigned char* p) { return p[1] > 0 && p[0] == 0 && p[2] == 0; });
    EXPECT_EQ(green.Count, text.Count);
}

}  // namespace
