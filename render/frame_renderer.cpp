#include <climits>
#include <cmath>
#include <cstring>

#include "galaxy/galaxy_set.h"
#include "galaxy/galaxy_shapes.h"
#include "render/frame_steps.h"
#include "render/outline_font.h"
#include "render/scene.h"
#include "render/star_sprite.h"
#include "shell/gl_api.h"
#include "shell/settings_store.h"

namespace {

// SceneState keeps a phase and a spin for three galaxies.
constexpr int PlacedGalaxies = 3;
static_assert(ConfiguredGalaxyCount <= PlacedGalaxies);

constexpr double HalfPi = Pi / 2;
constexpr int PhaseLimit = 65536;
constexpr float AngleLimit = 360;

// Spin step per unit of RotateSpeed, one per galaxy (the last serves the rest).
constexpr double SpinStep[PlacedGalaxies] = { 0.5, 0.6666666666666666, 1 };

// A swing between 0 and 1 along sin(rate x phase x pi/2).
double Swing(double rate, int phase)
{
    return (std::sin(rate * phase * HalfPi) + 1) * 0.5;
}

void AdvancePhase(int& phase)
{
    ++phase;
    if (phase > PhaseLimit) {
        phase = 0;
    }
}

void WrapAngle(float& angle)
{
    if (angle > AngleLimit) {
        angle = 0;
    }
}

}  // namespace

float FrameTimeScale()
{
    return SaverSettings.TravelSpeed * 0.001f;
}

void FlightOffset(int galaxy, int phase, float timeScale, double offset[3])
{
    const double s = timeScale;
    if (galaxy == 0) {
        // Figure eight: the lemniscate of Bernoulli, half-width 20.
        const double a = s * phase * 0.6;
        const double sinA = std::sin(a);
        const double cosA = std::cos(a);
        const double d = 1 + sinA * sinA;
        offset[0] = 20 * cosA / d;
        offset[1] = 20 * sinA * cosA / d;
    } else if (galaxy == 1) {
        // Astroid of radius 15.
        const double a = s * phase * 0.6;
        const double sinA = std::sin(a);
        const double cosA = std::cos(a);
        offset[0] = 15 * cosA * cosA * cosA;
        offset[1] = 15 * sinA * sinA * sinA;
    } else {
        // Back and forth along the diagonal x = y.
        const double v = Swing(s * 0.4, phase) * 20 - 10;
        offset[0] = v;
        offset[1] = v;
    }
    offset[2] = Swing(s * 0.2, phase) * -70;
}

void DrawBackgroundPlate()
{
    int index = SceneState.BackgroundIndex;
    if (index < 0 || index >= BackgroundCount) {
        index = 0;
    }
    glEnable(GL_TEXTURE_2D);
    const float w = static_cast<float>(SceneState.AspectRatio * 57);
    glBindTexture(GL_TEXTURE_2D, SceneState.BackgroundTextures[index].glName);
    glBegin(GL_POLYGON);
    glColor4f(1, 1, 1, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-w, -57, -100);
    glTexCoord2f(0, 1);
    glVertex3f(-w, 57, -100);
    glTexCoord2f(1, 1);
    glVertex3f(w, 57, -100);
    glTexCoord2f(1, 0);
    glVertex3f(w, -57, -100);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void DrawTextStep(float timeScale)
{
    const double s = timeScale;
    const int q = SceneState.TextPhase;
    const double x = (std::sin(s * 0.71 * q * HalfPi) + 1) * 0.5 * 10 - 5;
    const double y = (std::sin(s * 0.53 * q * HalfPi) + 1) * 0.5 * 10 - 5;
    const double z = (std::sin(s * 0.37 * q * HalfPi) + 1) * 0.5 * -12;

    glLoadIdentity();
    glTranslatef(0, 0, -10);
    glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    const float spin = SceneState.TextSpin;
    if (SaverSettings.RotateX) {
        glRotatef(spin, 1, 0, 0);
    }
    if (SaverSettings.RotateY) {
        glRotatef(spin, 0, 1, 0);
    }
    if (SaverSettings.RotateZ) {
        glRotatef(spin, 0, 0, 1);
    }

    // The stored text is terminated within its field; a copy with a final
    // terminator keeps a damaged record from being read past its end.
    char text[TextFieldBytes + 1];
    std::memcpy(text, SaverSettings.Text, TextFieldBytes);
    text[TextFieldBytes] = '\0';
    glDisable(GL_TEXTURE_2D);
    PrintFlyingText(text);

    SceneState.TextSpin += SaverSettings.RotateSpeed;
    WrapAngle(SceneState.TextSpin);
    AdvancePhase(SceneState.TextPhase);
    glLoadIdentity();
}

void PlaceGalaxy(int galaxy, float timeScale)
{
    const int slot = galaxy < PlacedGalaxies ? galaxy : PlacedGalaxies - 1;
    glLoadIdentity();
    glTranslatef(0, 0, -20);

    double offset[3];
    FlightOffset(galaxy, SceneState.FlightPhase[slot], timeScale, offset);
    glTranslatef(static_cast<float>(offset[0]), static_cast<float>(offset[1]), static_cast<float>(offset[2]));

    const float a = SceneState.GalaxySpin[slot];
    glRotatef(a, 1, 0, 0);
    glRotatef(a, 0, 1, 0);
    glRotatef(a, 0, 0, 1);

    SceneState.GalaxySpin[slot] = static_cast<float>(SceneState.GalaxySpin[slot] + SaverSettings.RotateSpeed * SpinStep[slot]);
    WrapAngle(SceneState.GalaxySpin[slot]);
    AdvancePhase(SceneState.FlightPhase[slot]);

    // The screen's right and up directions in the galaxy's own frame: the
    // first two rows of the modelview rotation. Every sprite is built from
    // them, so it faces the viewer whatever the spin.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    const float right[3] = { m[0], m[4], m[8] };
    const float up[3] = { m[1], m[5], m[9] };
    for (int i = 0; i < 3; ++i) {
        SceneState.CornerUpperLeft[i] = up[i] - right[i];
        SceneState.CornerLowerLeft[i] = -(right[i] + up[i]);
        SceneState.CornerLowerRight[i] = right[i] - up[i];
        SceneState.CornerUpperRight[i] = right[i] + up[i];
    }
}

void DrawGalaxyStars(const Galaxy& galaxy)
{
    if (galaxy.Stars == nullptr || galaxy.StarCount <= 0) {
        return;
    }
    BeginStarSprites();
    for (int j = 0; j < galaxy.StarCount; ++j) {
        DrawStarSprite(galaxy.Stars[j]);
    }
    EndStarSprites();
}

void RenderFrame(FrameSurface* surface)
{
    const float s = FrameTimeScale();
    // A cycle longer than an int can count (CycleLength of 107374183 or
    // more) holds the counter at its top instead of overflowing it.
    if (GalaxySet.FrameCounter < INT_MAX) {
        ++GalaxySet.FrameCounter;
    }

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (SaverSettings.Background) {
        DrawBackgroundPlate();
    }
    if (SaverSettings.TextOn) {
        DrawTextStep(s);
    }

    // Phases and spins move on even while the set is not built.
    const int galaxies = GalaxySet.GalaxyCount < PlacedGalaxies ? GalaxySet.GalaxyCount : PlacedGalaxies;
    for (int g = 0; g < galaxies; ++g) {
        PlaceGalaxy(g, s);
        if (GalaxySet.Galaxies != nullptr) {
            DrawGalaxyStars(GalaxySet.Galaxies[g]);
        }
        glLoadIdentity();
    }

    glFinish();
    PresentFrame(surface);

    if (GalaxySet.FrameCounter > GalaxySet.FramesPerCycle) {
        if (GalaxySet.Galaxies != nullptr) {
            RegenerateGalaxies();
        }
        GalaxySet.FrameCounter = 0;
        ++SceneState.BackgroundIndex;
        if (SceneState.BackgroundIndex > BackgroundCount - 1) {
            SceneState.BackgroundIndex = 0;
        }
    }
}
