// The settings in HKEY_CURRENT_USER\Software\Orinthal: what is written, with
// which types and lengths, and what comes back.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/settings_backend.h"
#include "shell/settings_store.h"

namespace {

constexpr char KeyPath[] = "Software\\Orinthal";

bool KeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void DeleteKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath);
}

void StoreRaw(const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<unsigned char> data;
};

StoredValue ReadRaw(const char* name)
{
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        value.present =
            RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

class RegistrySettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteKey();
        SaverSettings = DefaultSettings();
    }
    void TearDown() override { DeleteKey(); }
};

void ExpectSame(const SaverSettingsRecord& a, const SaverSettingsRecord& b)
{
    EXPECT_EQ(a.Number, b.Number);
    EXPECT_EQ(a.Background, b.Background);
    EXPECT_EQ(a.TextOn, b.TextOn);
    EXPECT_STREQ(a.Text, b.Text);
    EXPECT_EQ(a.RotateX, b.RotateX);
    EXPECT_EQ(a.RotateY, b.RotateY);
    EXPECT_EQ(a.RotateZ, b.RotateZ);
    EXPECT_EQ(a.RotateSpeed, b.RotateSpeed);
    EXPECT_EQ(a.TravelSpeed, b.TravelSpeed);
    EXPECT_EQ(a.CycleLength, b.CycleLength);
}

TEST_F(RegistrySettings, NoKeyGivesTheDefaultsAndCreatesNothing)
{
    SaverSettings.Number = 4321;
    SaverSettings.Background = 0;
    std::strcpy(SaverSettings.Text, "left over");
    LoadSettings();
    ExpectSame(SaverSettings, DefaultSettings());
    EXPECT_FALSE(KeyExists());
}

TEST_F(RegistrySettings, SaveWritesTheTableTypesAndLengths)
{
    SaveSettings();
    ASSERT_TRUE(KeyExists());
    struct Expected {
        const char* name;
        DWORD type;
        size_t length;
    };
    const Expected table[] = {
        {"Number", REG_DWORD, 4},      {"Background", REG_DWORD, 1},  {"TextOn", REG_DWORD, 1},
        {"Text", REG_SZ, 70},          {"RotateX", REG_DWORD, 1},     {"RotateY", REG_DWORD, 1},
        {"RotateZ", REG_DWORD, 1},     {"RotateSpeed", REG_DWORD, 4}, {"TravelSpeed", REG_DWORD, 4},
        {"CycleLength", REG_DWORD, 4},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        const StoredValue value = ReadRaw(e.name);
        ASSERT_TRUE(value.present);
        EXPECT_EQ(value.type, e.type);
        EXPECT_EQ(value.data.size(), e.length);
    }
    EXPECT_EQ(ReadRaw("Number").data, (std::vector<unsigned char>{0xD0, 0x07, 0, 0}));  // 2000
    EXPECT_EQ(ReadRaw("Background").data, std::vector<unsigned char>{1});
    EXPECT_EQ(ReadRaw("TextOn").data, std::vector<unsigned char>{0});
    const StoredValue text = ReadRaw("Text");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(text.data.data())), "Starry Starry Night");
}

TEST_F(RegistrySettings, LoadAfterSaveGivesEveryFieldBack)
{
    SaverSettingsRecord chosen = {};
    chosen.Number = 4500;
    chosen.Background = 0;
    chosen.TextOn = 1;
    std::strcpy(chosen.Text, "Sixty-nine characters are the most the text field takes, so: 123456");
    chosen.RotateX = 0;
    chosen.RotateY = 1;
    chosen.RotateZ = 0;
    chosen.RotateSpeed = 4;
    chosen.TravelSpeed = 30;
    chosen.CycleLength = 120;
    SaverSettings = chosen;
    SaveSettings();

    SaverSettings = DefaultSettings();
    LoadSettings();
    ExpectSame(SaverSettings, chosen);
}

TEST_F(RegistrySettings, AbsentValuesKeepTheirDefaults)
{
    const DWORD number = 3000;
    StoreRaw("Number", REG_DWORD, &number, sizeof number);
    LoadSettings();
    SaverSettingsRecord expected = DefaultSettings();
    expected.Number = 3000;
    ExpectSame(SaverSettings, expected);
}

TEST_F(RegistrySettings, StoredValuesAreTakenAsTheyAre)
{
    // Out-of-range numbers and a flag of 2 come back unchanged; users of the
    // record guard them where they use them.
    const DWORD number = static_cast<DWORD>(-7);
    const DWORD cycle = 0;
    const BYTE flag = 2;
    StoreRaw("Number", REG_DWORD, &number, sizeof number);
    StoreRaw("CycleLength", REG_DWORD, &cycle, sizeof cycle);
    StoreRaw("TextOn", REG_DWORD, &flag, 1);
    // The stored type is not looked at.
    StoreRaw("RotateSpeed", REG_BINARY, "\x03\x00\x00\x00", 4);
    LoadSettings();
    EXPECT_EQ(SaverSettings.Number, -7);
    EXPECT_EQ(SaverSettings.CycleLength, 0);
    EXPECT_EQ(SaverSettings.TextOn, 2);
    EXPECT_EQ(SaverSettings.RotateSpeed, 3);
}

TEST_F(RegistrySettings, OversizedValuesLeaveATerminatedText)
{
    // A flag stored with four bytes and texts longer than the field, with and
    // without a zero: nothing overruns and Text ends within its 70 bytes.
    const DWORD wideFlag = 0x01010101;
    StoreRaw("RotateX", REG_DWORD, &wideFlag, sizeof wideFlag);
    const std::string longText(100, 'x');
    StoreRaw("Text", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));
    const SaverSettingsRecord before = SaverSettings;
    LoadSettings();
    EXPECT_NE(std::memchr(SaverSettings.Text, 0, TextFieldBytes), nullptr);
    EXPECT_TRUE(SaverSettings.RotateX == before.RotateX || SaverSettings.RotateX == 1);
    EXPECT_EQ(SaverSettings.Number, before.Number);

    const std::string exactText(70, 'y');  // 70 bytes, no zero among them
    StoreRaw("Text", REG_BINARY, exactText.data(), 70);
    LoadSettings();
    EXPECT_NE(std::memchr(SaverSettings.Text, 0, TextFieldBytes), nullptr);
    EXPECT_EQ(std::string(SaverSettings.Text), std::string(69, 'y'));
}

TEST_F(RegistrySettings, BackendReportsAbsentKeysAndValues)
{
    EXPECT_EQ(OpenSettingsKeyForRead(), nullptr);
    SettingsKey* written = CreateSettingsKeyForWrite();
    ASSERT_NE(written, nullptr);
    const uint8_t flag = 1;
    EXPECT_TRUE(SetSettingsValue(written, "TextOn", SettingsValueType::Dword, &flag, 1));
    EXPECT_TRUE(CloseSettingsKey(written));

    SettingsKey* read = OpenSettingsKeyForRead();
    ASSERT_NE(read, nullptr);
    uint32_t untouched = 0xA5A5A5A5;
    EXPECT_FALSE(QuerySettingsValue(read, "Number", &untouched, 4));
    EXPECT_EQ(untouched, 0xA5A5A5A5u);
    uint8_t got = 0;
    EXPECT_TRUE(QuerySettingsValue(read, "TextOn", &got, 1));
    EXPECT_EQ(got, 1);
    EXPECT_TRUE(CloseSettingsKey(read));
}

}  // namespace
