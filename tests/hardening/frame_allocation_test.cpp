// A running saver allocates nothing from frame to frame: after the first
// frames (GL compiles its state on first use), a frame with the stars, the
// text and the background allocates no C++ heap at all, and a rebuild
// allocates exactly its three new star arrays. Counted with the replaced
// operator new of allocation_counter.cpp.
#include <gtest/gtest.h>

#include "tests/hardening/allocation_counter.h"
#include "tests/hardening/scene_fixture.h"

namespace {

constexpr int WarmUpFrames = 20;
constexpr int CountedFrames = 200;

class FrameAllocationTest : public SceneTest {};

TEST_F(FrameAllocationTest, SteadyStateFramesAllocateNothing)
{
    for (const bool textOn : {false, true}) {
        SCOPED_TRACE(textOn ? "text on" : "text off");
        SaverSettings.TextOn = textOn;
        SaverSettings.CycleLength = 1000;  // no rebuild in the counted frames
        RestartScene();
        for (int frame = 0; frame < WarmUpFrames; ++frame) {
            RenderFrame(Surface());
        }
        const long before = allocation_counter::Calls();
        for (int frame = 0; frame < CountedFrames; ++frame) {
            RenderFrame(Surface());
        }
        EXPECT_EQ(allocation_counter::Calls() - before, 0) << "allocations in " << CountedFrames << " frames";
    }
}

TEST_F(FrameAllocationTest, RebuildAllocatesOnlyTheNewStarArrays)
{
    SaverSettings.TextOn = 1;
    SaverSettings.CycleLength = 0;  // a rebuild and a picture change after every frame
    RestartScene();
    for (int frame = 0; frame < WarmUpFrames; ++frame) {
        RenderFrame(Surface());
    }
    const long before = allocation_counter::Calls();
    const std::size_t liveBefore = allocation_counter::LiveBytes();
    for (int frame = 0; frame < CountedFrames; ++frame) {
        RenderFrame(Surface());
    }
    EXPECT_EQ(allocation_counter::Calls() - before, static_cast<long>(CountedFrames) * GalaxySet.GalaxyCount);
    // The old arrays are gone: what lives is one generation of stars.
    long stars = 0;
    for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
        stars += GalaxySet.Galaxies[g].StarCount;
    }
    const long starBytes = stars * static_cast<long>(sizeof(StarRecord));
    EXPECT_LE(static_cast<long>(allocation_counter::LiveBytes()) - static_cast<long>(liveBefore),
              starBytes);
}

}  // namespace
