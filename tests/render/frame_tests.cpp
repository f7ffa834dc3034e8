// The frame: the resting GL state it leaves, and the cycle that rebuilds the
// galaxies and moves to the next picture.
#include <algorithm>
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {

class Frame : public RenderTest {
protected:
    int SurfaceWidth() const override { return 64; }
    int SurfaceHeight() const override { return 48; }
};

void ExpectRestingState()
{
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << "modelview element " << i;
    }
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Frame, LeavesTheRestingStateWithTextOnAndOff)
{
    BuildOutlineFont(Surface());
    InitScene(64, 48);
    SaverSettings.Number = 200;
    AllocateGalaxies();

    const struct {
        const char* name;
        bool background;
        bool textOn;
        const char* text;
    } cases[] = {
        { "plate, no text", true, false, "" },
        { "plate and text", true, true, "Starry Starry Night" },
        { "empty text", true, true, "" },
        { "text, no plate", false, true, "%s \x80\xff" },
        { "stars alone", false, false, "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaverSettings.Background = c.background;
        SaverSettings.TextOn = c.textOn;
        SetText(c.text);
        for (int frame = 0; frame < 2; ++frame) {
            RenderFrame(Surface());
            ExpectRestingState();
        }
    }
}

std::vector<StarRecord> StarsOf(int galaxy)
{
    const Galaxy& g = GalaxySet.Galaxies[galaxy];
    return std::vector<StarRecord>(g.Stars, g.Stars + g.StarCount);
}

bool SameStars(const std::vector<StarRecord>& a, const std::vector<StarRecord>& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const StarRecord& x, const StarRecord& y) {
               return x.X == y.X && x.Y == y.Y && x.Z == y.Z && x.Size == y.Size;
           });
}

// CycleLength 30 is 600 frames a cycle: the rebuild and the next picture come
// after frame 601, and then after every further 601 frames.
TEST_F(Frame, CycleEndsAfterFramesPerCyclePlusOneFrames)
{
    SaverSettings.Number = 20;
    SaverSettings.CycleLength = 30;
    SaverSettings.Background = 0;
    InitScene(64, 48);
    ASSERT_EQ(GalaxySet.FramesPerCycle, 600);

    for (int cycle = 1; cycle <= 2; ++cycle) {
        SCOPED_TRACE(testing::Message() << "cycle " << cycle);
        for (int frame = 1; frame <= 600; ++frame) {
            RenderFrame(Surface());
        }
        EXPECT_EQ(GalaxySet.FrameCounter, 600);
        EXPECT_EQ(SceneState.BackgroundIndex, cycle - 1);
        const auto before = StarsOf(0);

        RenderFrame(Surface());
        EXPECT_EQ(GalaxySet.FrameCounter, 0);
        EXPECT_EQ(SceneState.BackgroundIndex, cycle);
        EXPECT_FALSE(SameStars(before, StarsOf(0))) << "the galaxies were not rebuilt";
    }
}

// CycleLength 0 ends a cycle with every frame; the picture runs through all
// eleven slots and starts again, whether the plate is drawn or not.
TEST_F(Frame, CycleLengthZeroRebuildsEveryFrameAndWalksEveryPicture)
{
    for (bool background : { true, false }) {
        SCOPED_TRACE(background ? "plate on" : "plate off");
        ResetRendererState();
        SaverSettings.Number = 20;
        SaverSettings.CycleLength = 0;
        SaverSettings.Background = background;
        InitScene(64, 48);

        std::vector<int> shown;
        for (int frame = 0; frame < 12; ++frame) {
            const auto before = StarsOf(1);
            shown.push_back(BackgroundResourceId(SceneState.BackgroundIndex));
            RenderFrame(Surface());
            EXPECT_EQ(GalaxySet.FrameCounter, 0);
            EXPECT_FALSE(SameStars(before, StarsOf(1)));
        }
        const std::vector<int> expected = { 120, 121, 122, 123, 124, 125, 126, 127, 128, 130, 129, 120 };
        EXPECT_EQ(shown, expected);
        FreeGalaxies(GalaxySet);
    }
}

// The plate shows the picture of the slot the index selects.
TEST_F(Frame, PlateBindsTheSelectedSlot)
{
    for (int slot = 0; slot < BackgroundCount; ++slot) {
        SceneState.BackgroundTextures[slot].glName = SolidTexture(static_cast<unsigned char>(slot), 0, 0, 255);
    }
    for (int slot : { 0, 9, 10 }) {
        SceneState.BackgroundIndex = slot;
        DrawBackgroundPlate();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), SceneState.BackgroundTextures[slot].glName);
    }
}

// Frames before any galaxy set exists, or after it was freed, draw and count
// as usual and never touch missing stars.
TEST_F(Frame, RunsWithoutAGalaxySet)
{
    InitScene(64, 48);
    FreeGalaxies(GalaxySet);
    GalaxySet.FramesPerCycle = 0;
    const int phase = SceneState.FlightPhase[0];
    RenderFrame(Surface());
    RenderFrame(Surface());
    EXPECT_EQ(SceneState.FlightPhase[0], phase + 2);
    EXPECT_EQ(SceneState.BackgroundIndex, 2);
    EXPECT_EQ(GalaxySet.Galaxies, nullptr);

    ResetRendererState();
    RenderFrame(Surface());
    ExpectRestingState();
}

}  // namespace
