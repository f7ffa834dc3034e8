// Flight paths, spins, phases and the billboard corners.
#include <cmath>

#include "tests/render/render_fixture.h"

namespace {

class Motion : public RenderTest {
protected:
    int SurfaceWidth() const override { return 32; }
    int SurfaceHeight() const override { return 32; }

    // Galaxy g's modelview after PlaceGalaxy.
    static void PlacedMatrix(int galaxy, float m[16])
    {
        PlaceGalaxy(galaxy, FrameTimeScale());
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glLoadIdentity();
    }
};

// With TravelSpeed 0 nothing travels: each galaxy hangs at the start of its
// path, swung halfway back in depth.
TEST_F(Motion, TravelSpeedZeroHoldsEveryGalaxyAtItsStart)
{
    SaverSettings.TravelSpeed = 0;
    SaverSettings.RotateSpeed = 0;
    const struct { int galaxy; float x, y, z; } cases[] = {
        { 0, 20, 0, -55 },
        { 1, 15, 0, -55 },
        { 2, 0, 0, -55 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "galaxy " << c.galaxy);
        for (int frame = 0; frame < 3; ++frame) {
            float m[16];
            PlacedMatrix(c.galaxy, m);
            EXPECT_FLOAT_EQ(m[12], c.x);
            EXPECT_FLOAT_EQ(m[13], c.y);
            EXPECT_FLOAT_EQ(m[14], c.z);
        }
    }
}

// Whatever the phase, each galaxy stays on its own curve: the lemniscate
// (x^2 + y^2)^2 = 400 (x^2 - y^2), the astroid |x|^(2/3) + |y|^(2/3) = 15^(2/3),
// the diagonal x = y within -10..10, and a depth within -70..0.
TEST(FlightPaths, StayOnTheirCurves)
{
    const float s = 13 * 0.001f;
    for (int phase : { 0, 1, 777, 1234, 5000, 31415, 65536 }) {
        SCOPED_TRACE(testing::Message() << "phase " << phase);
        double o[3];
        FlightOffset(0, phase, s, o);
        const double r2 = o[0] * o[0] + o[1] * o[1];
        EXPECT_NEAR(r2 * r2, 400 * (o[0] * o[0] - o[1] * o[1]), 1e-6);
        EXPECT_GE(o[2], -70);
        EXPECT_LE(o[2], 0);

        FlightOffset(1, phase, s, o);
        EXPECT_NEAR(std::cbrt(o[0] * o[0]) + std::cbrt(o[1] * o[1]), std::cbrt(225.0), 1e-9);

        FlightOffset(2, phase, s, o);
        EXPECT_EQ(o[0], o[1]);
        EXPECT_GE(o[0], -10);
        EXPECT_LE(o[0], 10);
        double shared[3];
        FlightOffset(5, phase, s, shared);
        EXPECT_EQ(shared[0], o[0]);
        EXPECT_EQ(shared[2], o[2]);
    }
}

// Spin steps of 1/2, 2/3 and 1 per unit of RotateSpeed, kept in single
// precision; an angle past 360 becomes 0 while 360 itself stays a frame; a
// phase takes 65536 and then 0.
TEST_F(Motion, SpinsAndPhasesAdvanceAndWrap)
{
    const struct {
        const char* name;
        int galaxy;
        int rotateSpeed;
        float spin;
        int phase;
        float spinAfter;
        int phaseAfter;
    } cases[] = {
        { "half step", 0, 3, 10, 1000, 11.5f, 1001 },
        { "two-thirds step", 1, 1, 0, 3000, static_cast<float>(0.0f + 1 * 0.6666666666666666), 3001 },
        { "two-thirds, single precision kept", 1, 7, 100.25f, 3000, static_cast<float>(100.25f + 7 * 0.6666666666666666), 3001 },
        { "whole step", 2, 4, 20, 7000, 24, 7001 },
        { "reaches 360", 2, 1, 359, 7000, 360, 7001 },
        { "passes 360", 0, 1, 359.75f, 1000, 0, 1001 },
        { "360 moves on to 0", 2, 1, 360, 7000, 0, 7001 },
        { "RotateSpeed 0", 1, 0, 42, 3000, 42, 3001 },
        { "phase reaches 65536", 0, 1, 0, 65535, 0.5f, 65536 },
        { "phase wraps", 1, 0, 0, 65536, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SaverSettings.RotateSpeed = c.rotateSpeed;
        SceneState.GalaxySpin[c.galaxy] = c.spin;
        SceneState.FlightPhase[c.galaxy] = c.phase;
        float m[16];
        PlacedMatrix(c.galaxy, m);
        EXPECT_EQ(SceneState.GalaxySpin[c.galaxy], c.spinAfter);
        EXPECT_EQ(SceneState.FlightPhase[c.galaxy], c.phaseAfter);
    }
}

TEST_F(Motion, TextSpinAndPhaseWrapLikeTheGalaxies)
{
    SaverSettings.TextOn = 1;
    SaverSettings.RotateSpeed = 1;
    const struct { float spin; int phase; float spinAfter; int phaseAfter; } cases[] = {
        { 0, 0, 1, 1 },
        { 359, 65535, 360, 65536 },
        { 360, 65536, 0, 0 },
    };
    for (const auto& c : cases) {
        SceneState.TextSpin = c.spin;
        SceneState.TextPhase = c.phase;
        DrawTextStep(FrameTimeScale());
        EXPECT_EQ(SceneState.TextSpin, c.spinAfter);
        EXPECT_EQ(SceneState.TextPhase, c.phaseAfter);
    }
}

// A galaxy with no stars still moves and spins.
TEST_F(Motion, EmptyGalaxyStillAdvances)
{
    SaverSettings.Number = 20;
    AllocateGalaxies();
    HoldCycle();
    GalaxySet.Galaxies[1].StarCount = 0;
    const int phase = SceneState.FlightPhase[1];
    RenderFrame(Surface());
    EXPECT_EQ(SceneState.FlightPhase[1], phase + 1);
    EXPECT_EQ(SceneState.GalaxySpin[1], static_cast<float>(SaverSettings.RotateSpeed * 0.6666666666666666));
}

// The corners turn with the galaxy's spin so that, seen through its
// transform, every sprite is the same screen-aligned square.
TEST_F(Motion, CornersFaceTheViewerWhateverTheSpin)
{
    for (float spin : { 0.0f, 33.0f, 147.5f, 290.0f }) {
        SCOPED_TRACE(testing::Message() << "spin " << spin);
        SceneState.GalaxySpin[0] = spin;
        float m[16];
        PlacedMatrix(0, m);
        const struct { const float* corner; float x, y; } expected[] = {
            { SceneState.CornerUpperLeft, -1, 1 },
            { SceneState.CornerLowerLeft, -1, -1 },
            { SceneState.CornerLowerRight, 1, -1 },
            { SceneState.CornerUpperRight, 1, 1 },
        };
        for (const auto& e : expected) {
            // The rotation part of the matrix applied to the corner offset.
            float eye[3];
            for (int row = 0; row < 3; ++row) {
                eye[row] = m[row] * e.corner[0] + m[4 + row] * e.corner[1] + m[8 + row] * e.corner[2];
            }
            EXPECT_NEAR(eye[0], e.x, 1e-5);
            EXPECT_NEAR(eye[1], e.y, 1e-5);
            EXPECT_NEAR(eye[2], 0, 1e-5);
        }
    }
}

}  // namespace
