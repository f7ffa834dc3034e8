// The settings store's backend on Windows: HKEY_CURRENT_USER\Software\Orinthal.
#include <windows.h>

#include <cstring>

#include "shell/settings_backend.h"

namespace {

constexpr char SettingsKeyPath[] = "Software\\Orinthal";
// Enough for any value the store reads (the 70-byte text is the longest).
constexpr DWORD LargestValue = 256;

HKEY AsRegistryKey(SettingsKey* key)
{
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

SettingsKey* OpenSettingsKeyForRead()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return nullptr;
    return reinterpret_cast<SettingsKey*>(key);
}

bool QuerySettingsValue(SettingsKey* key, const char* name, void* data, uint32_t size)
{
    if (key == nullptr || size > LargestValue)
        return false;
    // The registry leaves a buffer undefined when the stored data does not
    // fit; reading through a copy keeps the field as it was in that case.
    BYTE buffer[LargestValue];
    DWORD length = size;
    if (RegQueryValueExA(AsRegistryKey(key), name, nullptr, nullptr, buffer, &length) != ERROR_SUCCESS)
        return false;
    std::memcpy(data, buffer, length < size ? length : size);
    return true;
}

SettingsKey* CreateSettingsKeyForWrite()
{
    HKEY key = nullptr;
    char noClass[] = "";
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, noClass, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return reinterpret_cast<SettingsKey*>(key);
}

bool SetSettingsValue(SettingsKey* key, const char* name, SettingsValueType type, const void* data,
                      uint32_t size)
{
    if (key == nullptr)
        return false;
    return RegSetValueExA(AsRegistryKey(key), name, 0, static_cast<DWORD>(type),
                          static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool CloseSettingsKey(SettingsKey* key)
{
    if (key == nullptr)
        return false;
    // Every write is already in the registry; closing only ends the handle.
    return RegCloseKey(AsRegistryKey(key)) == ERROR_SUCCESS;
}
