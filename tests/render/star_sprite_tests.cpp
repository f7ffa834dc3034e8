// The star sprite: its fan, and the once-per-galaxy texture switch, which
// must give the very pixels of a switch around every single star.
#include "render/star_sprite.h"
#include "tests/render/render_fixture.h"

namespace {

class StarSprite : public RenderTest {
protected:
    int SurfaceWidth() const override { return 200; }
    int SurfaceHeight() const override { return 200; }
};

// One vertex of GL's feedback in GL_3D_COLOR_TEXTURE: window x, y, z, the
// colour and the texture coordinate.
struct FeedbackVertex {
    float X, Y, Z, R, G, B, A, S, T, U, V;
};

// The fan as GL received it: four triangles meeting at the centre, each the
// centre in full colour and two rim vertices in (Red, 0, 0, 0), the rim at
// h = Size x 0.2 times the corner offsets, the first rim vertex repeated last.
TEST_F(StarSprite, FanHasTheCentreAndFiveRimVertices)
{
    const struct { double size; float h; } cases[] = { { 1, 0.2f }, { 1.5, static_cast<float>(1.5 * 0.2f) }, { 2, 0.4f } };
    // Identity transforms: a window of 200 pixels maps -1..1 onto 0..200.
    glViewport(0, 0, 200, 200);
    glShadeModel(GL_SMOOTH);
    SceneState.StarTexture.glName = SolidTexture(255, 255, 255, 255);
    const float right[3] = { 1, 0, 0 }, up[3] = { 0, 1, 0 };
    for (int i = 0; i < 3; ++i) {
        SceneState.CornerUpperLeft[i] = up[i] - right[i];
        SceneState.CornerLowerLeft[i] = -(right[i] + up[i]);
        SceneState.CornerLowerRight[i] = right[i] - up[i];
        SceneState.CornerUpperRight[i] = right[i] + up[i];
    }

    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size);
        const StarRecord star{ 0.1, 0.2, 0.3, 0.9, 0.6, 0.3, c.size };
        float buffer[4 * (2 + 3 * 11)];
        glFeedbackBuffer(sizeof buffer / sizeof buffer[0], GL_3D_COLOR_TEXTURE, buffer);
        glRenderMode(GL_FEEDBACK);
        BeginStarSprites();
        DrawStarSprite(star);
        EndStarSprites();
        ASSERT_EQ(glRenderMode(GL_RENDER), static_cast<GLint>(sizeof buffer / sizeof buffer[0]));

        const float rim[5][4] = {
            // x, y of the corner; s, t
            { -1, 1, 0, 1 }, { -1, -1, 0, 0 }, { 1, -1, 1, 0 }, { 1, 1, 1, 1 }, { -1, 1, 0, 1 },
        };
        for (int t = 0; t < 4; ++t) {
            SCOPED_TRACE(testing::Message() << "triangle " << t);
            const float* record = buffer + t * 35;
            ASSERT_EQ(record[0], static_cast<float>(GL_POLYGON_TOKEN));
            ASSERT_EQ(record[1], 3.0f);
            FeedbackVertex received[3];
            std::memcpy(received, record + 2, sizeof received);
            // A fan's triangle is (centre, rim t, rim t + 1), up to where GL
            // starts it: turn it round to begin at the centre.
            int first = 0;
            while (first < 3 && received[first].A != 1.0f) {
                ++first;
            }
            ASSERT_LT(first, 3);
            const FeedbackVertex v[3] = { received[first], received[(first + 1) % 3], received[(first + 2) % 3] };
            EXPECT_NEAR(v[0].X, (0.1 + 1) * 100, 1e-3);
            EXPECT_NEAR(v[0].Y, (0.2 + 1) * 100, 1e-3);
            EXPECT_NEAR(v[0].R, 0.9, 1e-6);
            EXPECT_NEAR(v[0].G, 0.6, 1e-6);
            EXPECT_NEAR(v[0].B, 0.3, 1e-6);
            EXPECT_EQ(v[0].A, 1.0f);
            EXPECT_EQ(v[0].S, 0.5f);
            EXPECT_EQ(v[0].T, 0.5f);
            for (int k = 1; k <= 2; ++k) {
                const float* corner = rim[t + k - 1];
                EXPECT_NEAR(v[k].X, (0.1 + c.h * corner[0] + 1) * 100, 1e-3);
                EXPECT_NEAR(v[k].Y, (0.2 + c.h * corner[1] + 1) * 100, 1e-3);
                EXPECT_NEAR(v[k].R, 0.9, 1e-6);
                EXPECT_EQ(v[k].G, 0.0f);
                EXPECT_EQ(v[k].B, 0.0f);
                EXPECT_EQ(v[k].A, 0.0f);
                EXPECT_EQ(v[k].S, corner[2]);
                EXPECT_EQ(v[k].T, corner[3]);
            }
        }
    }
}

// The sprite exactly as drawn one star at a time: texturing switched on, the
// sprite bound, the fan, texturing off, for every star.
void DrawStarSpriteAlone(const StarRecord& star)
{
    glEnable(GL_TEXTURE_2D);
    const float h = static_cast<float>(star.Size * 0.2f);
    glBindTexture(GL_TEXTURE_2D, SceneState.StarTexture.glName);
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(static_cast<float>(star.Red), static_cast<float>(star.Green), static_cast<float>(star.Blue), 1);
    glTexCoord2f(0.5f, 0.5f);
    const double centre[3] = { star.X, star.Y, star.Z };
    glVertex3dv(centre);
    const float* corners[5] = { SceneState.CornerUpperLeft, SceneState.CornerLowerLeft, SceneState.CornerLowerRight,
                                SceneState.CornerUpperRight, SceneState.CornerUpperLeft };
    const float texture[5][2] = { { 0, 1 }, { 0, 0 }, { 1, 0 }, { 1, 1 }, { 0, 1 } };
    for (int i = 0; i < 5; ++i) {
        glColor4f(static_cast<float>(star.Red), 0, 0, 0);
        glTexCoord2f(texture[i][0], texture[i][1]);
        glVertex3f(static_cast<float>(h * corners[i][0] + star.X), static_cast<float>(h * corners[i][1] + star.Y),
                   static_cast<float>(h * corners[i][2] + star.Z));
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

// A frame with the sprite switched per star, built from the same steps as
// RenderFrame.
void RenderFrameStarByStar()
{
    const float s = FrameTimeScale();
    ++GalaxySet.FrameCounter;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (SaverSettings.Background) {
        DrawBackgroundPlate();
    }
    for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
        PlaceGalaxy(g, s);
        const Galaxy& galaxy = GalaxySet.Galaxies[g];
        for (int j = 0; j < galaxy.StarCount; ++j) {
            DrawStarSpriteAlone(galaxy.Stars[j]);
        }
        glLoadIdentity();
    }
    glFinish();
}

class StarSpriteFrames : public RenderTest {
protected:
    int SurfaceWidth() const override { return 240; }
    int SurfaceHeight() const override { return 180; }
};

TEST_F(StarSpriteFrames, SwitchingTheTexturePerGalaxyGivesTheSamePixels)
{
    SaverSettings.Number = 5000;
    SaverSettings.RotateSpeed = 7;
    SaverSettings.TravelSpeed = 40;
    InitScene(240, 180);
    HoldCycle();

    for (int frame = 0; frame < 4; ++frame) {
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        const SceneStateRecord before = SceneState;
        const int counter = GalaxySet.FrameCounter;

        RenderFrameStarByStar();
        const auto reference = ReadFrame();
        SceneState = before;
        GalaxySet.FrameCounter = counter;

        RenderFrame(Surface());
        const auto pixels = ReadFrame();
        ASSERT_EQ(pixels.size(), reference.size());
        EXPECT_TRUE(pixels == reference);
        size_t lit = 0;
        for (size_t i = 0; i < pixels.size(); i += 4) {
            lit += pixels[i] > 0;
        }
        EXPECT_GT(lit, pixels.size() / 8) << "the frame should show the plate and the stars";
    }
}

}  // namespace
