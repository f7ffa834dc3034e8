// Scene set-up and shut-down: the view, the GL state, the seed, the pictures
// in their slots, the galaxy set and the start phases.
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {

class SceneSetUp : public RenderTest {
protected:
    int SurfaceWidth() const override { return 64; }
    int SurfaceHeight() const override { return 48; }
};

bool Enabled(GLenum capability)
{
    return glIsEnabled(capability) == GL_TRUE;
}

TEST(BackgroundSlots, ShowPictures120To128Then130Then129)
{
    const int expected[BackgroundCount] = { 120, 121, 122, 123, 124, 125, 126, 127, 128, 130, 129 };
    for (int slot = 0; slot < BackgroundCount; ++slot) {
        EXPECT_EQ(BackgroundResourceId(slot), expected[slot]) << "slot " << slot;
    }
    EXPECT_EQ(BackgroundResourceId(-1), 0);
    EXPECT_EQ(BackgroundResourceId(BackgroundCount), 0);
}

TEST_F(SceneSetUp, SetsViewProjectionAndRestingState)
{
    InitScene(1024, 768);

    EXPECT_EQ(SceneState.AspectRatio, 1024.0 / 768.0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glMatrixMode(GL_PROJECTION);
    float p[16];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glMatrixMode(GL_MODELVIEW);
    const double f = 1 / std::tan(30 * 3.141592653589793 / 180);
    EXPECT_NEAR(p[0], f * 768 / 1024, 1e-5);
    EXPECT_NEAR(p[5], f, 1e-5);
    EXPECT_NEAR(p[10], -(100 + 0.1) / (100 - 0.1), 1e-5);
    EXPECT_NEAR(p[14], -2 * 100 * 0.1 / (100 - 0.1), 1e-5);

    EXPECT_TRUE(Enabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_FALSE(Enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(Enabled(GL_TEXTURE_2D));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH);
    float clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[3], 0.5f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// An empty or inverted client area must not give a projection of infinities.
TEST_F(SceneSetUp, DegenerateClientAreaKeepsTheProjectionFinite)
{
    const struct { int width, height; } cases[] = { { 300, 0 }, { 0, 200 }, { 0, 0 }, { -5, -7 } };
    for (const auto& size : cases) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        ResetRendererState();
        InitScene(size.width, size.height);
        EXPECT_TRUE(std::isfinite(SceneState.AspectRatio));
        EXPECT_GT(SceneState.AspectRatio, 0);
        glMatrixMode(GL_PROJECTION);
        float p[16];
        glGetFloatv(GL_PROJECTION_MATRIX, p);
        glMatrixMode(GL_MODELVIEW);
        for (float value : p) {
            EXPECT_TRUE(std::isfinite(value));
        }
        RenderFrame(Surface());
        FreeGalaxies(GalaxySet);
    }
}

// Reads back a texture's level 0 as RGBA.
std::vector<unsigned char> TextureImage(const TextureInfo& info)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(info.width) * info.height * 4);
    glBindTexture(GL_TEXTURE_2D, info.glName);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

TEST_F(SceneSetUp, LoadsEveryPictureIntoItsSlot)
{
    InitScene(64, 48);
    EXPECT_EQ(GlobalTextureLoader.mipmapping, 1);

    EXPECT_NE(SceneState.StarTexture.glName, 0u);
    EXPECT_EQ(SceneState.StarTexture.kind, KeyablePicture);
    EXPECT_EQ(SceneState.StarTexture.width, 32);

    for (int slot = 0; slot < BackgroundCount; ++slot) {
        SCOPED_TRACE(testing::Message() << "slot " << slot);
        const TextureInfo& loaded = SceneState.BackgroundTextures[slot];
        ASSERT_NE(loaded.glName, 0u);
        EXPECT_EQ(loaded.kind, PlainPicture);
        TextureInfo reference{};
        ASSERT_EQ(GlobalTextureLoader.LoadTextureResource(BackgroundResourceId(slot), "IMAGES", reference, PlainPicture), 1);
        EXPECT_TRUE(TextureImage(loaded) == TextureImage(reference));
        glDeleteTextures(1, &reference.glName);
    }
}

// The seed comes first, the galaxies draw next, and the three start phases
// take the draws after the last star.
TEST_F(SceneSetUp, StartPhasesDrawAfterTheGalaxies)
{
    FixSceneSeed(777);
    InitScene(64, 48);
    const int phases[3] = { SceneState.FlightPhase[0], SceneState.FlightPhase[1], SceneState.FlightPhase[2] };
    const int counts[3] = { GalaxySet.Galaxies[0].StarCount, GalaxySet.Galaxies[1].StarCount, GalaxySet.Galaxies[2].StarCount };

    SeedRandom(777);
    AllocateGalaxies();
    const int base[3] = { 1000, 3000, 7000 };
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(GalaxySet.Galaxies[g].StarCount, counts[g]);
    }
    for (int g = 0; g < 3; ++g) {
        EXPECT_EQ(phases[g], base[g] + NextRandom() % 1000) << "galaxy " << g;
    }
    EXPECT_EQ(GalaxySet.FrameCounter, 0);
    EXPECT_EQ(GalaxySet.FramesPerCycle, SaverSettings.CycleLength * 20);
}

TEST_F(SceneSetUp, ShutdownFreesTheGalaxiesAndTheFontLists)
{
    BuildOutlineFont(Surface());
    const GLuint base = FontListBase;
    ASSERT_NE(base, 0u);
    ASSERT_EQ(glIsList(base + 'A'), GL_TRUE);
    InitScene(64, 48);
    ASSERT_NE(GalaxySet.Galaxies, nullptr);

    ShutdownScene();
    EXPECT_EQ(GalaxySet.Galaxies, nullptr);
    EXPECT_EQ(glIsList(base + 'A'), GL_FALSE);
    EXPECT_EQ(FontListBase, 0u);
    // A second shut-down has nothing left to free.
    ShutdownScene();
}

}  // namespace
