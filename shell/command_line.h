#pragma once
// The saver program's command line: modes in the xscreensaver manner, a
// headless snapshot, and settings that replace the stored ones for one run.
// Parsing is a pure function of the arguments.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_store.h"

enum class SaverMode {
    OwnWindow,   // no mode option: a window of its own
    Fullscreen,  // --fullscreen
    Root,        // --root: $XSCREENSAVER_WINDOW or the root window
    WindowId,    // --window-id ID: inside another program's window
    Snapshot,    // --snapshot FILE: headless, to a PNG
    Configure,   // --configure: the settings dialog
    Help,        // --help
};

// Settings given on the command line; each replaces the stored value for
// this run only.
struct SettingsOverrides {
    std::optional<int32_t> Number;
    std::optional<uint8_t> Background;
    std::optional<uint8_t> TextOn;
    std::optional<std::string> Text;  // Windows-1252 bytes, at most TextFieldBytes - 1
    std::optional<uint8_t> RotateX;
    std::optional<uint8_t> RotateY;
    std::optional<uint8_t> RotateZ;
    std::optional<int32_t> RotateSpeed;
    std::optional<int32_t> TravelSpeed;
    std::optional<int32_t> CycleLength;
};

inline constexpr int DefaultWindowWidth = 1024;
inline constexpr int DefaultWindowHeight = 768;
inline constexpr int MaxSurfaceSide = 8192;

struct SaverOptions {
    SaverMode mode = SaverMode::OwnWindow;
    unsigned long windowId = 0;  // --window-id
    std::string snapshotPath;    // --snapshot
    int frames = 1;              // --frames, snapshot only
    int width = DefaultWindowWidth;    // --size, own window or snapshot
    int height = DefaultWindowHeight;
    std::optional<uint32_t> seed;  // --seed, in place of the time
    SettingsOverrides overrides;
};

struct CommandLineResult {
    bool ok = false;
    SaverOptions options;
    std::string error;  // one line, when !ok
};

// arguments: argv[1..], without the program name.
CommandLineResult ParseCommandLine(const std::vector<std::string>& arguments);

// An X window id, hexadecimal with 0x or decimal; false when malformed, zero
// or larger than an X id can be.
bool ParseWindowId(std::string_view text, unsigned long* id);

void ApplySettingsOverrides(const SettingsOverrides& overrides, SaverSettingsRecord* settings);

// The usage text, ending with a newline.
const char* UsageText();
