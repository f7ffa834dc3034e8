#pragma once
// The fixture of the renderer's tests: a fresh headless context and every
// piece of process-wide state the renderer touches back at its start value.
#include <cstring>
#include <vector>

#include "galaxy/galaxy_set.h"
#include "galaxy/random_source.h"
#include "render/frame_steps.h"
#include "render/outline_font.h"
#include "render/scene.h"
#include "shell/gl_api.h"
#include "shell/settings_store.h"
#include "tests/support/gl_test.h"
#include "texture/texture_loader.h"

inline void ResetRendererState()
{
    FreeGalaxies(GalaxySet);
    GalaxySet = GalaxySetRecord{};
    SceneState = StartSceneState();
    ColourPhase = 0;
    TextColour[0] = TextColour[1] = TextColour[2] = 0;
    TextColour[3] = 1;
    // The lists of an earlier test died with its context.
    FontListBase = 0;
    std::memset(GlyphMetrics, 0, sizeof GlyphMetrics);
    SaverSettings = DefaultSettings();
    GlobalTextureLoader = TextureLoader();
    FixSceneSeed(20240611);
}

class RenderTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ResetRendererState();
    }
    void TearDown() override
    {
        FreeGalaxies(GalaxySet);
        DeleteOutlineFont();
        GlTest::TearDown();
    }

    // The RGBA pixels of the frame, bottom row first.
    std::vector<unsigned char> ReadFrame() const
    {
        std::vector<unsigned char> pixels(static_cast<size_t>(SurfaceWidth()) * SurfaceHeight() * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, SurfaceWidth(), SurfaceHeight(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }

    static void SetText(const char* text)
    {
        std::memset(SaverSettings.Text, 0, sizeof SaverSettings.Text);
        std::strncpy(SaverSettings.Text, text, sizeof SaverSettings.Text - 1);
    }

    // No rebuild while a test runs its frames.
    static void HoldCycle() { GalaxySet.FramesPerCycle = 1 << 30; }
};

// A 1 x 1 texture of one colour, for plates and sprites whose exact share of
// the frame a test measures.
inline GLuint SolidTexture(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const unsigned char texel[4] = { r, g, b, a };
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}
