#pragma once
// What the configuration dialog's controls hold, and the conversions
// between that and the settings record. Free of any toolkit so that the
// clamping, flag and text rules can be checked without a display.
#include <string>

#include "shell/settings_store.h"

struct SliderRange {
    int Minimum;
    int Maximum;
    int TickFrequency;  // 0: no tick marks
};

inline constexpr SliderRange NumberRange = {1000, 5000, 500};
inline constexpr SliderRange RotateSpeedRange = {1, 4, 0};
inline constexpr SliderRange TravelSpeedRange = {10, 30, 0};
inline constexpr SliderRange CycleLengthRange = {10, 120, 0};

// The edit box accepts this many characters; the record keeps one fewer
// because its field also holds the terminating zero.
inline constexpr int TextEditLimit = TextFieldBytes;

struct DialogControlsRecord {
    int Number;
    int RotateSpeed;
    int TravelSpeed;
    int CycleLength;
    std::string Text;  // UTF-8, as the edit box holds it
    bool Background;
    bool TextOn;
    bool RotateX;
    bool RotateY;
    bool RotateZ;
};

// A slider keeps its position within its range: a value outside shows at
// the nearer end.
int ClampToSlider(int value, SliderRange range);

// The controls as the dialog opens on the given settings: slider values
// brought into range, any nonzero flag checked, the Windows-1252 text
// (read up to its zero or the end of the field) as UTF-8.
DialogControlsRecord ControlsFromSettings(const SaverSettingsRecord& settings);

// Reads the controls back into the record, in the dialog's order: the four
// sliders, the text, then the five flags as 0 or 1. The text is stored as
// Windows-1252, "?" for a character it cannot hold, cut to at most 69 whole
// characters and zero-filled to the end of the field.
void SettingsFromControls(const DialogControlsRecord& controls, SaverSettingsRecord& settings);
