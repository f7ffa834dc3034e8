#include "shell/settings_store.h"

namespace {

constexpr SaverSettingsRecord Defaults = {
    2000,                   // Number
    1,                      // Background
    0,                      // TextOn
    "Starry Starry Night",  // Text, zero-filled to the end of the field
    1, 1, 1,                // RotateX, RotateY, RotateZ
    1,                      // RotateSpeed
    13,                     // TravelSpeed
    30,                     // CycleLength
};

}  // namespace

SaverSettingsRecord SaverSettings = Defaults;

SaverSettingsRecord DefaultSettings()
{
    return Defaults;
}
