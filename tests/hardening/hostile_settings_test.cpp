// Stored settings reach the saver unchecked (the store keeps whatever the
// file holds), so every field is put at hostile values and the scene is run
// for 50 frames: no crash, no hang, no NaN or infinity in any transform, no
// GL error, and no allocation beyond what the guarded star budget allows.
#include <climits>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/frame_steps.h"
#include "tests/hardening/allocation_counter.h"
#include "tests/hardening/scene_fixture.h"

namespace {

constexpr int FramesPerRow = 50;
// Three galaxies of at most 9999 stars each, plus what GL's C++ parts may
// take for a new state: far below this. A budget taken at face value
// (INT_MAX stars) would ask for gigabytes.
constexpr std::size_t AllocationBound = 16u << 20;

struct HostileRow {
    const char* name;
    std::function<void(SaverSettingsRecord&)> apply;
    bool throughStore;  // written to the settings file and read back by LoadSettings
};

void SetFlags(SaverSettingsRecord& s, uint8_t value)
{
    s.Background = s.TextOn = s.RotateX = s.RotateY = s.RotateZ = value;
}

std::vector<HostileRow> Rows()
{
    std::vector<HostileRow> rows;
    for (const int number : {-1, 0, 1, 2, INT_MAX, INT_MIN}) {
        rows.push_back({"Number", [number](SaverSettingsRecord& s) { s.Number = number; }, number == -1 || number == INT_MAX});
    }
    for (const int cycle : {-5, 0, INT_MAX, INT_MIN}) {
        rows.push_back({"CycleLength", [cycle](SaverSettingsRecord& s) { s.CycleLength = cycle; }, cycle == -5});
    }
    for (const int speed : {-1, -4000, 0, 100000, INT_MIN, INT_MAX}) {
        rows.push_back({"RotateSpeed", [speed](SaverSettingsRecord& s) { s.RotateSpeed = speed; }, speed == INT_MIN});
    }
    for (const int speed : {-13, 0, 1000000, INT_MIN, INT_MAX}) {
        rows.push_back({"TravelSpeed", [speed](SaverSettingsRecord& s) { s.TravelSpeed = speed; }, speed == INT_MAX});
    }
    for (const int flag : {0, 2, 255}) {
        rows.push_back({"flags", [flag](SaverSettingsRecord& s) { SetFlags(s, static_cast<uint8_t>(flag)); }, flag == 255});
    }
    const auto noZero = [](SaverSettingsRecord& s) { std::memset(s.Text, 'W', TextFieldBytes); };
    rows.push_back({"Text without a zero byte", noZero, false});
    rows.push_back({"Text without a zero byte", noZero, true});
    const auto highBytes = [](SaverSettingsRecord& s) {
        std::memset(s.Text, 0, TextFieldBytes);
        for (int i = 0; i < TextFieldBytes - 1; ++i) {
            s.Text[i] = static_cast<char>(0x7F + i * (0xFF - 0x7F) / (TextFieldBytes - 2));
        }
    };
    rows.push_back({"Text of bytes 0x7F to 0xFF", highBytes, false});
    rows.push_back({"Text of bytes 0x7F to 0xFF", highBytes, true});
    const auto empty = [](SaverSettingsRecord& s) { std::memset(s.Text, 0, TextFieldBytes); };
    rows.push_back({"Text empty", empty, false});
    rows.push_back({"Text empty", empty, true});
    rows.push_back({"everything hostile at once",
                    [](SaverSettingsRecord& s) {
                        s.Number = INT_MAX;
                        s.CycleLength = 0;
                        s.RotateSpeed = INT_MIN;
                        s.TravelSpeed = INT_MAX;
                        SetFlags(s, 255);
                        std::memset(s.Text, 0xFF, TextFieldBytes);
                    },
                    true});
    return rows;
}

std::string Describe(const HostileRow& row, const SaverSettingsRecord& s)
{
    return std::string(row.name) + (row.throughStore ? " (through the store)" : "") +
           ": Number " + std::to_string(s.Number) + ", CycleLength " + std::to_string(s.CycleLength) +
           ", RotateSpeed " + std::to_string(s.RotateSpeed) + ", TravelSpeed " + std::to_string(s.TravelSpeed) +
           ", flags " + std::to_string(s.Background) + "/" + std::to_string(s.TextOn) + "/" +
           std::to_string(s.RotateX);
}

bool AllFinite(const float* values, int count)
{
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) {
            return false;
        }
    }
    return true;
}

// Everything a frame hands to GL as a transform, and GL's resting state.
void ExpectSaneScene(int frame)
{
    SCOPED_TRACE("after frame " + std::to_string(frame));
    const SceneStateRecord& scene = SceneState;
    EXPECT_TRUE(AllFinite(scene.GalaxySpin, 3)) << scene.GalaxySpin[0] << " " << scene.GalaxySpin[1] << " "
                                                << scene.GalaxySpin[2];
    EXPECT_TRUE(std::isfinite(scene.TextSpin)) << scene.TextSpin;
    for (const float* corner : {scene.CornerUpperLeft, scene.CornerLowerLeft, scene.CornerLowerRight,
                                scene.CornerUpperRight}) {
        EXPECT_TRUE(AllFinite(corner, 3));
    }
    for (int g = 0; g < 3; ++g) {
        double offset[3];
        FlightOffset(g, scene.FlightPhase[g], FrameTimeScale(), offset);
        EXPECT_TRUE(std::isfinite(offset[0]) && std::isfinite(offset[1]) && std::isfinite(offset[2]))
            << "galaxy " << g << " at phase " << scene.FlightPhase[g];
        EXPECT_GE(scene.FlightPhase[g], 0);
        EXPECT_LE(scene.FlightPhase[g], 65536);
    }
    EXPECT_GE(scene.TextPhase, 0);
    EXPECT_LE(scene.TextPhase, 65536);
    EXPECT_GE(scene.BackgroundIndex, 0);
    EXPECT_LT(scene.BackgroundIndex, BackgroundCount);

    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "the frame left the modelview matrix changed";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    ASSERT_NE(GalaxySet.Galaxies, nullptr);
    for (int g = 0; g < GalaxySet.GalaxyCount; ++g) {
        EXPECT_GE(GalaxySet.Galaxies[g].StarCount, 1);
        EXPECT_LE(GalaxySet.Galaxies[g].StarCount, 9999);
    }
}

class HostileSettingsTest : public SceneTest {};

// One test per field (the text rows together), so each stays short under
// the sanitizers and a failure names its field.
class HostileFieldTest : public SceneTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HostileFieldTest, HostileValuesRunFiftySaneFrames)
{
    const std::string field = GetParam();
    int ran = 0;
    for (const HostileRow& row : Rows()) {
        if (std::string(row.name).rfind(field, 0) != 0) {
            continue;
        }
        ++ran;
        SaverSettingsRecord wanted = DefaultSettings();
        wanted.TextOn = 1;  // so the text rows reach the text
        row.apply(wanted);
        SCOPED_TRACE(Describe(row, wanted));

        if (row.throughStore) {
            SaverSettings = wanted;
            SaveSettings();
            SaverSettings = DefaultSettings();
            LoadSettings();
            // The store hands the values on exactly; only a text without its
            // terminator is cut to end within the field.
            EXPECT_EQ(SaverSettings.Number, wanted.Number);
            EXPECT_EQ(SaverSettings.CycleLength, wanted.CycleLength);
            EXPECT_EQ(SaverSettings.RotateSpeed, wanted.RotateSpeed);
            EXPECT_EQ(SaverSettings.TravelSpeed, wanted.TravelSpeed);
            EXPECT_EQ(SaverSettings.Background, wanted.Background);
            EXPECT_EQ(SaverSettings.RotateZ, wanted.RotateZ);
            EXPECT_EQ(0, std::memcmp(SaverSettings.Text, wanted.Text, TextFieldBytes - 1));
            EXPECT_NE(std::memchr(SaverSettings.Text, 0, TextFieldBytes), nullptr);
        } else {
            SaverSettings = wanted;
        }

        // The row's own peak: from an empty galaxy set to the most that
        // lived at once during its set-up and frames.
        FreeGalaxies(GalaxySet);
        allocation_counter::ResetPeak();
        const std::size_t before = allocation_counter::LiveBytes();
        RestartScene();
        for (int frame = 1; frame <= FramesPerRow; ++frame) {
            RenderFrame(Surface());
            ExpectSaneScene(frame);
            if (HasFailure()) {
                break;
            }
        }
        const std::size_t peak = allocation_counter::PeakBytes() - before;
        EXPECT_LE(peak, AllocationBound);
        std::printf("  %s: peak %zu bytes allocated through new\n", Describe(row, wanted).c_str(), peak);
        if (HasFailure()) {
            break;
        }
    }
    EXPECT_GT(ran, 0) << "no rows for " << field;
}

INSTANTIATE_TEST_SUITE_P(Fields, HostileFieldTest,
                         ::testing::Values("Number", "CycleLength", "RotateSpeed", "TravelSpeed", "flags", "Text",
                                           "everything"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

// An angle only wraps when it passes 360, so a negative speed drives it down
// for as long as the saver runs. Even from the far end of the float range it
// must stay a finite number.
TEST_F(HostileSettingsTest, SpinsAtTheFloatLimitStayFinite)
{
    SaverSettings.TextOn = 1;
    SaverSettings.RotateSpeed = INT_MIN;
    RestartScene();
    for (float& spin : SceneState.GalaxySpin) {
        spin = -FLT_MAX;
    }
    SceneState.TextSpin = -FLT_MAX;
    for (int frame = 1; frame <= 3; ++frame) {
        RenderFrame(Surface());
        ExpectSaneScene(frame);
    }
}

// CycleLength so large that the cycle is longer than an int can count: the
// frame counter reaches the top of its range and stays there instead of
// overflowing (UBSan stops the asan build at the overflow).
TEST_F(HostileSettingsTest, LongestCycleCounterDoesNotOverflow)
{
    SaverSettings.CycleLength = INT_MAX;
    RestartScene();
    ASSERT_EQ(GalaxySet.FramesPerCycle, INT_MAX);
    GalaxySet.FrameCounter = INT_MAX - 2;
    for (int frame = 1; frame <= 4; ++frame) {
        RenderFrame(Surface());
        EXPECT_GE(GalaxySet.FrameCounter, 0) << "after frame " << frame;
    }
    EXPECT_EQ(GalaxySet.FrameCounter, INT_MAX);
}

}  // namespace
