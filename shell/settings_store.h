#pragma once
// The ten user settings and their per-user store.
#include <cstdint>

inline constexpr int TextFieldBytes = 70;

// Field names match the stored value names exactly.
struct SaverSettingsRecord {
    int32_t Number;        // star budget per galaxy
    uint8_t Background;    // flags: nonzero means on
    uint8_t TextOn;
    char Text[TextFieldBytes];  // Windows-1252 bytes, zero-terminated within the field
    uint8_t RotateX;
    uint8_t RotateY;
    uint8_t RotateZ;
    int32_t RotateSpeed;   // degrees per frame of the text's spin
    int32_t TravelSpeed;   // x 0.001 = time scale of the flight paths
    int32_t CycleLength;   // seconds (x 20 frames) between galaxy rebuilds
};

// The process-wide record, statically initialised with the defaults.
extern SaverSettingsRecord SaverSettings;

// The defaults, as a record (for tests and for resetting).
SaverSettingsRecord DefaultSettings();

// Fills SaverSettings from the store; with no store, sets the defaults.
void LoadSettings();
// Writes all ten values; a failed save is silent.
void SaveSettings();
