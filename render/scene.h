#pragma once
// The renderer's process-wide state and its entry points.
#include "render/frame_surface.h"
#include "texture/texture_loader.h"

inline constexpr int BackgroundCount = 11;

struct SceneStateRecord {
    double AspectRatio;
    int BackgroundIndex;          // 0 to 10
    int FlightPhase[3];           // start 1000, 3000, 7000 (+ a random 0 to 999)
    float GalaxySpin[3];          // degrees
    int TextPhase;
    float TextSpin;               // degrees
    float CornerUpperLeft[3];     // sprite corner offsets for the galaxy being drawn
    float CornerLowerLeft[3];
    float CornerLowerRight[3];
    float CornerUpperRight[3];
    TextureInfo StarTexture;
    TextureInfo BackgroundTextures[BackgroundCount];
};

extern SceneStateRecord SceneState;

// The record as it stands before the first set-up: all zero but the flight
// phases 1000, 3000 and 7000.
SceneStateRecord StartSceneState();

// Resource id of the picture shown in each background slot.
int BackgroundResourceId(int slot);

// Viewport, projection, GL state, seed, textures, galaxies, start phases.
void InitScene(int width, int height);
// Frees the galaxy set and the font's display lists.
void ShutdownScene();
// Draws one frame and presents it on surface.
void RenderFrame(FrameSurface* surface);

// The seed InitScene uses: the time in whole seconds, unless one was fixed.
void FixSceneSeed(unsigned int seed);
