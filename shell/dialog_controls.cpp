#include "shell/dialog_controls.h"

#include <cstring>

#include "shell/cp1252.h"

int ClampToSlider(int value, SliderRange range)
{
    if (value < range.Minimum) return range.Minimum;
    if (value > range.Maximum) return range.Maximum;
    return value;
}

DialogControlsRecord ControlsFromSettings(const SaverSettingsRecord& settings)
{
    DialogControlsRecord controls{};
    controls.Number = ClampToSlider(settings.Number, NumberRange);
    controls.RotateSpeed = ClampToSlider(settings.RotateSpeed, RotateSpeedRange);
    controls.TravelSpeed = ClampToSlider(settings.TravelSpeed, TravelSpeedRange);
    controls.CycleLength = ClampToSlider(settings.CycleLength, CycleLengthRange);
    // A stored text of the full 70 bytes may lack its zero: stop at the field's end.
    const size_t length = strnlen(settings.Text, sizeof settings.Text);
    controls.Text = Cp1252ToUtf8(std::string_view(settings.Text, length));
    controls.Background = settings.Background != 0;
    controls.TextOn = settings.TextOn != 0;
    controls.RotateX = settings.RotateX != 0;
    controls.RotateY = settings.RotateY != 0;
    controls.RotateZ = settings.RotateZ != 0;
    return controls;
}

void SettingsFromControls(const DialogControlsRecord& controls, SaverSettingsRecord& settings)
{
    settings.Number = ClampToSlider(controls.Number, NumberRange);
    settings.RotateSpeed = ClampToSlider(controls.RotateSpeed, RotateSpeedRange);
    settings.TravelSpeed = ClampToSlider(controls.TravelSpeed, TravelSpeedRange);
    settings.CycleLength = ClampToSlider(controls.CycleLength, CycleLengthRange);

    const std::string bytes = Utf8ToCp1252(controls.Text, sizeof settings.Text - 1);
    std::memset(settings.Text, 0, sizeof settings.Text);
    std::memcpy(settings.Text, bytes.data(), bytes.size());

    settings.Background = controls.Background ? 1 : 0;
    settings.TextOn = controls.TextOn ? 1 : 0;
    settings.RotateX = controls.RotateX ? 1 : 0;
    settings.RotateY = controls.RotateY ? 1 : 0;
    settings.RotateZ = controls.RotateZ ? 1 : 0;
}
