// Stand-in for the renderer's entry points while render/ does not build them
// yet: the program's lifecycle runs in full and each frame is a plain clear.
#include "render/outline_font.h"
#include "render/scene.h"
#include "shell/gl_api.h"

void BuildOutlineFont(FrameSurface*) {}

void InitScene(int width, int height)
{
    glViewport(0, 0, width, height);
}

void RenderFrame(FrameSurface* surface)
{
    glClearColor(0.05f, 0.05f, 0.15f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    PresentFrame(surface);
}

void ShutdownScene() {}

void FixSceneSeed(unsigned int) {}
