#include "render/scene.h"

#include <ctime>

#include "galaxy/galaxy_set.h"
#include "galaxy/random_source.h"
#include "render/outline_font.h"
#include "shell/gl_api.h"

SceneStateRecord StartSceneState()
{
    SceneStateRecord start{};
    start.FlightPhase[0] = 1000;
    start.FlightPhase[1] = 3000;
    start.FlightPhase[2] = 7000;
    return start;
}

SceneStateRecord SceneState = StartSceneState();

namespace {

constexpr const char* PictureType = "IMAGES";
constexpr int StarSpriteId = 119;
constexpr int FirstBackgroundId = 120;
constexpr int LastBackgroundId = 130;

bool seedFixed = false;
unsigned int fixedSeed = 0;

// The slot a background picture is shown in: 120..128 in order, then 130
// before 129.
int SlotForBackgroundId(int id)
{
    if (id == 129) {
        return 10;
    }
    if (id == 130) {
        return 9;
    }
    return id - FirstBackgroundId;
}

}  // namespace

int BackgroundResourceId(int slot)
{
    if (slot < 0 || slot >= BackgroundCount) {
        return 0;
    }
    if (slot == 9) {
        return 130;
    }
    if (slot == 10) {
        return 129;
    }
    return FirstBackgroundId + slot;
}

void FixSceneSeed(unsigned int seed)
{
    seedFixed = true;
    fixedSeed = seed;
}

void InitScene(int width, int height)
{
    // A window can be given an empty client area (a zero-sized preview
    // parent); a size below 1 counts as 1 for the aspect ratio so that the
    // projection stays finite.
    glViewport(0, 0, width > 0 ? width : 0, height > 0 ? height : 0);
    const int aspectWidth = width > 0 ? width : 1;
    const int aspectHeight = height > 0 ? height : 1;
    SceneState.AspectRatio = static_cast<double>(aspectWidth) / static_cast<double>(aspectHeight);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, SceneState.AspectRatio, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 0.5f);
    glClearDepth(1);
    glDisable(GL_DEPTH_TEST);
    // Additive blending for everything but the text, which turns it off for itself.
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glDisable(GL_TEXTURE_2D);

    SeedRandom(seedFixed ? fixedSeed : static_cast<uint32_t>(std::time(nullptr)));

    GlobalTextureLoader.SetMipmapping(1);
    GlobalTextureLoader.LoadTextureResource(StarSpriteId, PictureType, SceneState.StarTexture, KeyablePicture);
    for (int id = FirstBackgroundId; id <= LastBackgroundId; ++id) {
        GlobalTextureLoader.LoadTextureResource(
            id, PictureType, SceneState.BackgroundTextures[SlotForBackgroundId(id)], PlainPicture);
    }

    AllocateGalaxies();

    // The start phases draw after every draw the galaxies made.
    for (int g = 0; g < 3; ++g) {
        SceneState.FlightPhase[g] += NextRandom() % 1000;
    }
}

void ShutdownScene()
{
    FreeGalaxies(GalaxySet);
    DeleteOutlineFont();
}
