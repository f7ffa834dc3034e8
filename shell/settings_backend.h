#pragma once
// The seam between the settings store and where a platform keeps it:
// the registry on Windows, a per-user file on Linux.
#include <cstdint>

enum class SettingsValueType : uint32_t { Dword = 4, String = 1 };  // REG_DWORD, REG_SZ

struct SettingsKey;  // opaque, one open key

// Opens the key for reading; nullptr when it is absent or unreadable.
SettingsKey* OpenSettingsKeyForRead();
// Copies at most size bytes of the named value into data; false when absent.
// The stored type is not checked.
bool QuerySettingsValue(SettingsKey* key, const char* name, void* data, uint32_t size);
// Opens or creates the key for writing; nullptr on failure.
SettingsKey* CreateSettingsKeyForWrite();
bool SetSettingsValue(SettingsKey* key, const char* name, SettingsValueType type, const void* data, uint32_t size);
// Closes the key; a key opened for writing commits here. False when the commit failed.
bool CloseSettingsKey(SettingsKey* key);
