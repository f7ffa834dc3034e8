// What the dialog shows for a stored record, and what OK stores for what
// the controls hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/dialog_controls.h"
#include "shell/settings_store.h"

namespace {

SaverSettingsRecord WithText(const char* bytes, size_t length)
{
    SaverSettingsRecord settings = DefaultSettings();
    std::memset(settings.Text, 0, sizeof settings.Text);
    std::memcpy(settings.Text, bytes, length);
    return settings;
}

std::string StoredText(const SaverSettingsRecord& settings)
{
    return std::string(settings.Text, strnlen(settings.Text, sizeof settings.Text));
}

DialogControlsRecord DefaultControls()
{
    return ControlsFromSettings(DefaultSettings());
}

TEST(DialogControls, DefaultsShowAsStoredAndSaveUnchanged)
{
    const DialogControlsRecord controls = DefaultControls();
    EXPECT_EQ(controls.Number, 2000);
    EXPECT_EQ(controls.RotateSpeed, 1);
    EXPECT_EQ(controls.TravelSpeed, 13);
    EXPECT_EQ(controls.CycleLength, 30);
    EXPECT_EQ(controls.Text, "Starry Starry Night");
    EXPECT_TRUE(controls.Background);
    EXPECT_FALSE(controls.TextOn);
    EXPECT_TRUE(controls.RotateX && controls.RotateY && controls.RotateZ);

    SaverSettingsRecord saved{};
    std::memset(saved.Text, 0x5A, sizeof saved.Text);
    SettingsFromControls(controls, saved);
    const SaverSettingsRecord defaults = DefaultSettings();
    EXPECT_EQ(saved.Number, defaults.Number);
    EXPECT_EQ(saved.Background, defaults.Background);
    EXPECT_EQ(saved.TextOn, defaults.TextOn);
    EXPECT_EQ(std::memcmp(saved.Text, defaults.Text, sizeof saved.Text), 0) << "the text and its zero fill";
    EXPECT_EQ(saved.RotateX, defaults.RotateX);
    EXPECT_EQ(saved.RotateY, defaults.RotateY);
    EXPECT_EQ(saved.RotateZ, defaults.RotateZ);
    EXPECT_EQ(saved.RotateSpeed, defaults.RotateSpeed);
    EXPECT_EQ(saved.TravelSpeed, defaults.TravelSpeed);
    EXPECT_EQ(saved.CycleLength, defaults.CycleLength);
}

struct SliderCase {
    const char* name;
    int32_t SaverSettingsRecord::*field;
    int DialogControlsRecord::*control;
    int stored;
    int shown;
};

TEST(DialogControls, StoredSliderValuesShowWithinRangeAndSaveAsShown)
{
    const SliderCase cases[] = {
        {"Number below", &SaverSettingsRecord::Number, &DialogControlsRecord::Number, 500, 1000},
        {"Number above", &SaverSettingsRecord::Number, &DialogControlsRecord::Number, 5001, 5000},
        {"Number negative", &SaverSettingsRecord::Number, &DialogControlsRecord::Number, INT32_MIN, 1000},
        {"Number at low end", &SaverSettingsRecord::Number, &DialogControlsRecord::Number, 1000, 1000},
        {"Number inside", &SaverSettingsRecord::Number, &DialogControlsRecord::Number, 3333, 3333},
        {"RotateSpeed zero", &SaverSettingsRecord::RotateSpeed, &DialogControlsRecord::RotateSpeed, 0, 1},
        {"RotateSpeed above", &SaverSettingsRecord::RotateSpeed, &DialogControlsRecord::RotateSpeed, 9, 4},
        {"RotateSpeed at high end", &SaverSettingsRecord::RotateSpeed, &DialogControlsRecord::RotateSpeed, 4, 4},
        {"TravelSpeed below", &SaverSettingsRecord::TravelSpeed, &DialogControlsRecord::TravelSpeed, 9, 10},
        {"TravelSpeed above", &SaverSettingsRecord::TravelSpeed, &DialogControlsRecord::TravelSpeed, INT32_MAX, 30},
        {"CycleLength zero", &SaverSettingsRecord::CycleLength, &DialogControlsRecord::CycleLength, 0, 10},
        {"CycleLength above", &SaverSettingsRecord::CycleLength, &DialogControlsRecord::CycleLength, 121, 120},
    };
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(c.name);
        SaverSettingsRecord settings = DefaultSettings();
        settings.*c.field = c.stored;
        const DialogControlsRecord controls = ControlsFromSettings(settings);
        EXPECT_EQ(controls.*c.control, c.shown);
        SettingsFromControls(controls, settings);
        EXPECT_EQ(settings.*c.field, c.shown);
    }
}

TEST(DialogControls, SlidersReadBackWithinRange)
{
    DialogControlsRecord controls = DefaultControls();
    controls.Number = 999;
    controls.RotateSpeed = 5;
    controls.TravelSpeed = 31;
    controls.CycleLength = 9;
    SaverSettingsRecord settings = DefaultSettings();
    SettingsFromControls(controls, settings);
    EXPECT_EQ(settings.Number, 1000);
    EXPECT_EQ(settings.RotateSpeed, 4);
    EXPECT_EQ(settings.TravelSpeed, 30);
    EXPECT_EQ(settings.CycleLength, 10);
}

TEST(DialogControls, AnyNonzeroFlagShowsCheckedAndSavesAsOne)
{
    for (uint8_t stored : {uint8_t{0}, uint8_t{1}, uint8_t{2}, uint8_t{0x80}, uint8_t{0xFF}}) {
        SCOPED_TRACE(static_cast<int>(stored));
        SaverSettingsRecord settings = DefaultSettings();
        settings.Background = settings.TextOn = settings.RotateX = settings.RotateY = settings.RotateZ = stored;
        const DialogControlsRecord controls = ControlsFromSettings(settings);
        const bool on = stored != 0;
        EXPECT_EQ(controls.Background, on);
        EXPECT_EQ(controls.TextOn, on);
        EXPECT_EQ(controls.RotateX, on);
        EXPECT_EQ(controls.RotateY, on);
        EXPECT_EQ(controls.RotateZ, on);
        SettingsFromControls(controls, settings);
        const uint8_t saved = on ? 1 : 0;
        EXPECT_EQ(settings.Background, saved);
        EXPECT_EQ(settings.TextOn, saved);
        EXPECT_EQ(settings.RotateX, saved);
        EXPECT_EQ(settings.RotateY, saved);
        EXPECT_EQ(settings.RotateZ, saved);
    }
}

TEST(DialogControls, EachFlagReadsBackFromItsOwnCheckBox)
{
    bool DialogControlsRecord::*boxes[] = {&DialogControlsRecord::Background, &DialogControlsRecord::TextOn,
                                           &DialogControlsRecord::RotateX, &DialogControlsRecord::RotateY,
                                           &DialogControlsRecord::RotateZ};
    uint8_t SaverSettingsRecord::*flags[] = {&SaverSettingsRecord::Background, &SaverSettingsRecord::TextOn,
                                             &SaverSettingsRecord::RotateX, &SaverSettingsRecord::RotateY,
                                             &SaverSettingsRecord::RotateZ};
    for (size_t checked = 0; checked < 5; ++checked) {
        DialogControlsRecord controls = DefaultControls();
        for (size_t i = 0; i < 5; ++i) controls.*boxes[i] = i == checked;
        SaverSettingsRecord settings = DefaultSettings();
        SettingsFromControls(controls, settings);
        for (size_t i = 0; i < 5; ++i) EXPECT_EQ(settings.*flags[i], i == checked ? 1 : 0) << checked << " " << i;
    }
}

TEST(DialogControls, StoredTextShowsAsUtf8)
{
    struct {
        const char* name;
        std::string stored;
        std::string shown;
    } cases[] = {
        {"ASCII", "Hello", "Hello"},
        {"Latin-1 letters", "Caf\xE9 \xDC", "Caf\xC3\xA9 \xC3\x9C"},
        {"code page's own 0x80 to 0x9F", "\x80\x99\x9C", "\xE2\x82\xAC\xE2\x84\xA2\xC5\x93"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ControlsFromSettings(WithText(c.stored.data(), c.stored.size())).Text, c.shown);
    }
}

TEST(DialogControls, StoredTextWithoutZeroEndsAtTheField)
{
    SaverSettingsRecord settings = DefaultSettings();
    std::memset(settings.Text, 'A', sizeof settings.Text);
    EXPECT_EQ(ControlsFromSettings(settings).Text, std::string(70, 'A'));
}

TEST(DialogControls, TextSavesAsCodePageBytes)
{
    struct {
        const char* name;
        std::string typed;
        std::string stored;
    } cases[] = {
        {"ASCII", "Starry", "Starry"},
        {"accented letters", "Caf\xC3\xA9", "Caf\xE9"},
        {"euro sign and trade mark", "\xE2\x82\xAC\xE2\x84\xA2", "\x80\x99"},
        {"outside the code page", "a\xE2\x98\x85" "b\xF0\x9F\x8C\x8C" "c", "a?b?c"},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogControlsRecord controls = DefaultControls();
        controls.Text = c.typed;
        SaverSettingsRecord settings = DefaultSettings();
        SettingsFromControls(controls, settings);
        EXPECT_EQ(StoredText(settings), c.stored);
        for (size_t i = c.stored.size(); i < sizeof settings.Text; ++i) ASSERT_EQ(settings.Text[i], 0) << "byte " << i;
    }
}

TEST(DialogControls, SeventyCharactersSaveTheFirstSixtyNine)
{
    struct {
        const char* name;
        std::string character;  // UTF-8 of one character
        std::string stored;     // its Windows-1252 byte
    } cases[] = {
        {"ASCII", "x", "x"},
        {"two-byte UTF-8", "\xC3\xA9", "\xE9"},
        {"three-byte UTF-8", "\xE2\x82\xAC", "\x80"},
        {"not in the code page", "\xE2\x98\x85", "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DialogControlsRecord controls = DefaultControls();
        controls.Text.clear();
        for (int i = 0; i < TextEditLimit; ++i) controls.Text += c.character;
        SaverSettingsRecord settings = DefaultSettings();
        SettingsFromControls(controls, settings);
        std::string expected;
        for (int i = 0; i < 69; ++i) expected += c.stored;
        EXPECT_EQ(StoredText(settings), expected);
        EXPECT_EQ(settings.Text[69], 0);
    }
}

TEST(DialogControls, TextRoundTripsThroughTheDialog)
{
    std::string bytes;
    for (int b = 0x20; b < 0x100 && bytes.size() < 69; b += 3) bytes += static_cast<char>(b);
    SaverSettingsRecord settings = WithText(bytes.data(), bytes.size());
    SaverSettingsRecord saved = DefaultSettings();
    SettingsFromControls(ControlsFromSettings(settings), saved);
    EXPECT_EQ(StoredText(saved), bytes);
}

}  // namespace
