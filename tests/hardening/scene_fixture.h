#pragma once
// A whole saver scene on a small headless context, set up once per test:
// the font, the twelve textures and the galaxy set, as the program builds
// them. Tests change the settings and restart the scene's counters between
// runs without reloading the textures.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "galaxy/galaxy_set.h"
#include "render/outline_font.h"
#include "render/scene.h"
#include "shell/gl_api.h"
#include "shell/settings_store.h"
#include "tests/support/gl_test.h"
#include "texture/texture_loader.h"

class SceneTest : public GlTest {
protected:
    int SurfaceWidth() const override { return 128; }
    int SurfaceHeight() const override { return 96; }

    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        // The store works in a folder of the test's own.
        char folder[] = "/tmp/orinthal-hardening-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        configHome_ = folder;
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        hadConfigHome_ = previous != nullptr;
        previousConfigHome_ = previous ? previous : "";
        setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);

        FreeGalaxies(GalaxySet);
        GalaxySet = GalaxySetRecord{};
        SceneState = StartSceneState();
        ColourPhase = 0;
        FontListBase = 0;
        std::memset(GlyphMetrics, 0, sizeof GlyphMetrics);
        GlobalTextureLoader = TextureLoader();
        FixSceneSeed(20261211);

        SaverSettings = DefaultSettings();
        BuildOutlineFont(Surface());
        InitScene(SurfaceWidth(), SurfaceHeight());
        built_ = SceneState;
    }

    void TearDown() override
    {
        ShutdownScene();
        if (!configHome_.empty()) {
            std::string command = "rm -rf '" + configHome_ + "'";
            [[maybe_unused]] int status = std::system(command.c_str());
            if (hadConfigHome_) {
                setenv("XDG_CONFIG_HOME", previousConfigHome_.c_str(), 1);
            } else {
                unsetenv("XDG_CONFIG_HOME");
            }
        }
        GlTest::TearDown();
    }

    // Starts the scene afresh from the current settings, as InitScene would,
    // but keeps the textures already loaded.
    void RestartScene()
    {
        SceneState = built_;
        ColourPhase = 0;
        AllocateGalaxies();
    }

    const std::string& ConfigHome() const { return configHome_; }

private:
    SceneStateRecord built_{};
    std::string configHome_;
    std::string previousConfigHome_;
    bool hadConfigHome_ = false;
};
