#include "shell/settings_store.h"

#include <cstddef>
#include <cstring>

#include "shell/settings_backend.h"

namespace {

// The stored values, in the order they are written and read, each with the
// type it is written with and the data length it is written and read with.
// The flags are DWORD values of a single byte, so they read back exactly.
struct StoredField {
    const char* name;
    SettingsValueType type;
    std::size_t offset;
    uint32_t length;
};

constexpr StoredField StoredFields[] = {
    {"Number", SettingsValueType::Dword, offsetof(SaverSettingsRecord, Number), 4},
    {"Background", SettingsValueType::Dword, offsetof(SaverSettingsRecord, Background), 1},
    {"TextOn", SettingsValueType::Dword, offsetof(SaverSettingsRecord, TextOn), 1},
    {"Text", SettingsValueType::String, offsetof(SaverSettingsRecord, Text), TextFieldBytes},
    {"RotateX", SettingsValueType::Dword, offsetof(SaverSettingsRecord, RotateX), 1},
    {"RotateY", SettingsValueType::Dword, offsetof(SaverSettingsRecord, RotateY), 1},
    {"RotateZ", SettingsValueType::Dword, offsetof(SaverSettingsRecord, RotateZ), 1},
    {"RotateSpeed", SettingsValueType::Dword, offsetof(SaverSettingsRecord, RotateSpeed), 4},
    {"TravelSpeed", SettingsValueType::Dword, offsetof(SaverSettingsRecord, TravelSpeed), 4},
    {"CycleLength", SettingsValueType::Dword, offsetof(SaverSettingsRecord, CycleLength), 4},
};

unsigned char* FieldBytes(const StoredField& field)
{
    return reinterpret_cast<unsigned char*>(&SaverSettings) + field.offset;
}

void SetDefaults()
{
    const SaverSettingsRecord defaults = DefaultSettings();
    SaverSettings.Number = defaults.Number;
    SaverSettings.Background = defaults.Background;
    SaverSettings.TextOn = defaults.TextOn;
    // Only the default text and its terminator; the rest of the field stays.
    std::memcpy(SaverSettings.Text, defaults.Text, std::strlen(defaults.Text) + 1);
    SaverSettings.RotateSpeed = defaults.RotateSpeed;
    SaverSettings.RotateX = defaults.RotateX;
    SaverSettings.RotateY = defaults.RotateY;
    SaverSettings.RotateZ = defaults.RotateZ;
    SaverSettings.TravelSpeed = defaults.TravelSpeed;
    SaverSettings.CycleLength = defaults.CycleLength;
}

}  // namespace

void LoadSettings()
{
    SettingsKey* key = OpenSettingsKeyForRead();
    if (key == nullptr) {
        SetDefaults();
        return;
    }
    // A value that is absent or unreadable leaves its field as it was; the
    // stored type is not looked at, and no range is checked: the values are
    // kept exactly as stored so that a later save writes them back unchanged.
    for (const StoredField& field : StoredFields) {
        QuerySettingsValue(key, field.name, FieldBytes(field), field.length);
    }
    CloseSettingsKey(key);

    // A stored text of the full field length may lack its terminator; every
    // reader of Text expects one within the field.
    if (std::memchr(SaverSettings.Text, 0, TextFieldBytes) == nullptr) {
        SaverSettings.Text[TextFieldBytes - 1] = '\0';
    }
}

void SaveSettings()
{
    SettingsKey* key = CreateSettingsKeyForWrite();
    if (key == nullptr) {
        return;
    }
    // A failed write does not stop the later ones; the backend commits all
    // of them at once on close, or none.
    for (const StoredField& field : StoredFields) {
        SetSettingsValue(key, field.name, field.type, FieldBytes(field), field.length);
    }
    CloseSettingsKey(key);
}
