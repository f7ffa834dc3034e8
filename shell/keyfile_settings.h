#pragma once
// The Linux settings file. One group per stored value, named like the value,
// with its type, its data length in bytes and its data:
//
//   [Number]            [Text]
//   Type=REG_DWORD      Type=REG_SZ
//   Length=4            Length=70
//   Data=2000           Data=Starry Starry Night
//
// A DWORD of 4 bytes is written as a signed decimal, one of 1 byte as 0 to
// 255. A string's Data is the text before its first zero byte, in UTF-8;
// the bytes after that zero, up to Length, follow as Tail (hex, trailing
// zero bytes left out). Anything else that could not be shown readably
// (other lengths, control characters in the text) is written as Hex, the
// whole data in hex. Reading gives back every byte exactly.
//
// The parser and the formatter are pure functions over strings; the file's
// place and the atomic replacement live in keyfile_settings.cpp.
#include <string>
#include <string_view>
#include <vector>

#include "shell/settings_backend.h"

// The largest data length a value may have; longer ones count as unreadable.
inline constexpr std::size_t MaxStoredValueBytes = 4096;
// A settings file larger than this is not read at all.
inline constexpr std::size_t MaxSettingsFileBytes = 256 * 1024;

struct StoredSettingsValue {
    std::string name;
    SettingsValueType type;
    std::string data;  // the raw bytes; its size is the stored data length
};

using StoredSettingsValues = std::vector<StoredSettingsValue>;

// The values a settings file holds, in file order. A line or a value that
// cannot be parsed is left out; it never stops the others from being read.
StoredSettingsValues ParseSettingsFile(std::string_view text);

// The file text for the values, in their order.
std::string FormatSettingsFile(const StoredSettingsValues& values);

// $XDG_CONFIG_HOME/orinthal/settings, else $HOME/.config/orinthal/settings;
// empty when neither variable gives an absolute folder.
std::string SettingsFilePath();
