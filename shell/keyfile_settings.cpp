// The Linux settings backend: one per-user key file, replaced atomically.
#include "shell/keyfile_settings.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "shell/cp1252.h"
#include "shell/settings_backend.h"

struct SettingsKey {
    StoredSettingsValues values;
    std::string path;  // set only on a key opened for writing
};

namespace {

constexpr const char* DwordName = "REG_DWORD";
constexpr const char* StringName = "REG_SZ";

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFilePtr = std::unique_ptr<GKeyFile, KeyFileDeleter>;

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
using GText = std::unique_ptr<char, GFreeDeleter>;

bool LoadsAsKeyFile(const std::string& text)
{
    KeyFilePtr file(g_key_file_new());
    return g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr);
}

// Drops every line the key file parser would refuse, so one bad line costs
// only itself. Keys after a refused group line are dropped too: they would
// otherwise land in the group before it.
std::string KeepParsableLines(std::string_view text)
{
    std::string kept;
    bool inGroup = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string line(text.substr(start, end - start));
        start = end + 1;

        const std::size_t first = line.find_first_not_of(" \t\r\f\v");
        if (line.find('\0') != std::string::npos) {
            continue;
        }
        if (first == std::string::npos || line[first] == '#') {
            kept += line + '\n';
        } else if (line[first] == '[') {
            inGroup = LoadsAsKeyFile(line + '\n');
            if (inGroup) {
                kept += line + '\n';
            }
        } else if (inGroup && LoadsAsKeyFile("[g]\n" + line + '\n')) {
            kept += line + '\n';
        }
    }
    return kept;
}

bool ParseInteger(const char* text, int64_t minimum, int64_t maximum, int64_t* value)
{
    const char* end = text + std::strlen(text);
    int64_t parsed = 0;
    const auto [ptr, ec] = std::from_chars(text, end, parsed);
    if (ec != std::errc() || ptr != end || ptr == text || parsed < minimum || parsed > maximum) {
        return false;
    }
    *value = parsed;
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseHex(std::string_view hex, std::string* bytes)
{
    if (hex.size() % 2 != 0) {
        return false;
    }
    bytes->clear();
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        *bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

std::string ToHex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

// The string of a key, or null when the key is missing or not UTF-8.
GText GetString(GKeyFile* file, const char* group, const char* key)
{
    return GText(g_key_file_get_string(file, group, key, nullptr));
}

bool DecodeValue(GKeyFile* file, const char* group, StoredSettingsValue* value)
{
    const GText type = GetString(file, group, "Type");
    const GText length = GetString(file, group, "Length");
    if (type == nullptr || length == nullptr) {
        return false;
    }
    if (std::strcmp(type.get(), DwordName) == 0) {
        value->type = SettingsValueType::Dword;
    } else if (std::strcmp(type.get(), StringName) == 0) {
        value->type = SettingsValueType::String;
    } else {
        return false;
    }
    int64_t size = 0;
    if (!ParseInteger(length.get(), 0, MaxStoredValueBytes, &size)) {
        return false;
    }
    value->name = group;

    if (const GText hex = GetString(file, group, "Hex")) {
        return ParseHex(hex.get(), &value->data) && value->data.size() == static_cast<std::size_t>(size);
    }
    const GText data = GetString(file, group, "Data");
    if (size == 0) {
        value->data.clear();
        return data == nullptr || data.get()[0] == '\0';
    }
    if (data == nullptr) {
        return false;
    }

    if (value->type == SettingsValueType::Dword) {
        int64_t number = 0;
        if (size == 4 && ParseInteger(data.get(), INT32_MIN, INT32_MAX, &number)) {
            const auto bits = static_cast<uint32_t>(static_cast<int32_t>(number));
            value->data.assign({static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                                static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)});
            return true;
        }
        if (size == 1 && ParseInteger(data.get(), 0, 255, &number)) {
            value->data.assign(1, static_cast<char>(number));
            return true;
        }
        return false;
    }

    // A string: the text, then (room permitting) its zero, then the tail.
    bool complete = false;
    value->data = Utf8ToCp1252(data.get(), static_cast<std::size_t>(size), &complete);
    if (!complete) {
        return false;
    }
    std::string tail;
    if (const GText tailHex = GetString(file, group, "Tail")) {
        if (!ParseHex(tailHex.get(), &tail)) {
            return false;
        }
    }
    if (value->data.size() < static_cast<std::size_t>(size)) {
        value->data += '\0';
    }
    if (value->data.size() + tail.size() > static_cast<std::size_t>(size)) {
        return false;
    }
    value->data += tail;
    value->data.resize(static_cast<std::size_t>(size), '\0');
    return true;
}

// Text that shows as itself in the file: printable and assigned in the code page.
bool IsReadableText(std::string_view bytes)
{
    for (char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
            return false;
        }
    }
    return true;
}

void EncodeValue(GKeyFile* file, const StoredSettingsValue& value)
{
    const char* group = value.name.c_str();
    const std::string_view data = value.data;
    g_key_file_set_string(file, group, "Type", value.type == SettingsValueType::Dword ? DwordName : StringName);
    g_key_file_set_string(file, group, "Length", std::to_string(data.size()).c_str());
    if (data.empty()) {
        return;
    }

    if (value.type == SettingsValueType::Dword && data.size() == 4) {
        uint32_t bits = 0;
        for (int i = 3; i >= 0; --i) {
            bits = (bits << 8) | static_cast<unsigned char>(data[i]);
        }
        g_key_file_set_string(file, group, "Data", std::to_string(static_cast<int32_t>(bits)).c_str());
        return;
    }
    if (value.type == SettingsValueType::Dword && data.size() == 1) {
        g_key_file_set_string(file, group, "Data", std::to_string(static_cast<unsigned char>(data[0])).c_str());
        return;
    }
    if (value.type == SettingsValueType::String) {
        const std::size_t zero = data.find('\0');
        const std::string_view text = data.substr(0, zero);
        if (IsReadableText(text)) {
            g_key_file_set_string(file, group, "Data", Cp1252ToUtf8(text).c_str());
            if (zero != std::string_view::npos) {
                std::string_view tail = data.substr(zero + 1);
                while (!tail.empty() && tail.back() == '\0') {
                    tail.remove_suffix(1);
                }
                if (!tail.empty()) {
                    g_key_file_set_string(file, group, "Tail", ToHex(tail).c_str());
                }
            }
            return;
        }
    }
    g_key_file_set_string(file, group, "Hex", ToHex(data).c_str());
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

bool MakeFolder(const std::string& folder)
{
    struct stat info {};
    if (stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (errno != ENOENT) {
        return false;
    }
    const std::size_t slash = folder.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolder(folder.substr(0, slash))) {
        return false;
    }
    // Per-user settings: only the user may look inside.
    return mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool ReadSmallFile(const std::string& path, std::string* text)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    text->clear();
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || text->size() + static_cast<std::size_t>(got) > MaxSettingsFileBytes) {
            ok = false;
            break;
        }
        if (got == 0) {
            break;
        }
        text->append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return ok;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t wrote = write(fd, bytes.data(), bytes.size());
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

// Writes a temporary file beside the target, flushes it to disk and renames
// it over the target, so a crash or a full disk leaves either the old file or
// the new one, never a mixture or a truncated file.
bool ReplaceFile(const std::string& path, std::string_view contents)
{
    const std::string folder = FolderOf(path);
    std::string temporary = folder + "/.settings.XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool ok = WriteAll(fd, contents) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

StoredSettingsValue* FindValue(SettingsKey* key, const char* name)
{
    for (StoredSettingsValue& value : key->values) {
        if (value.name == name) {
            return &value;
        }
    }
    return nullptr;
}

}  // namespace

StoredSettingsValues ParseSettingsFile(std::string_view text)
{
    KeyFilePtr file(g_key_file_new());
    if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, nullptr)) {
        const std::string kept = KeepParsableLines(text);
        file.reset(g_key_file_new());
        if (!g_key_file_load_from_data(file.get(), kept.data(), kept.size(), G_KEY_FILE_NONE, nullptr)) {
            return {};
        }
    }
    StoredSettingsValues values;
    gchar** groups = g_key_file_get_groups(file.get(), nullptr);
    for (gchar** group = groups; *group != nullptr; ++group) {
        StoredSettingsValue value;
        if (DecodeValue(file.get(), *group, &value)) {
            values.push_back(std::move(value));
        }
    }
    g_strfreev(groups);
    return values;
}

std::string FormatSettingsFile(const StoredSettingsValues& values)
{
    KeyFilePtr file(g_key_file_new());
    for (const StoredSettingsValue& value : values) {
        EncodeValue(file.get(), value);
    }
    if (!values.empty()) {
        g_key_file_set_comment(file.get(), nullptr, nullptr,
                               " Orinthal settings: one group per value, with its type, its data\n"
                               " length in bytes and its data (Tail and Hex are hexadecimal bytes).",
                               nullptr);
    }
    gsize length = 0;
    const GText text(g_key_file_to_data(file.get(), &length, nullptr));
    return std::string(text.get(), length);
}

std::string SettingsFilePath()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (configHome != nullptr && configHome[0] == '/') {
        return std::string(configHome) + "/orinthal/settings";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/orinthal/settings";
    }
    return {};
}

SettingsKey* OpenSettingsKeyForRead()
{
    const std::string path = SettingsFilePath();
    std::string text;
    if (path.empty() || !ReadSmallFile(path, &text)) {
        return nullptr;
    }
    return new SettingsKey{ParseSettingsFile(text), {}};
}

bool QuerySettingsValue(SettingsKey* key, const char* name, void* data, uint32_t size)
{
    const StoredSettingsValue* value = FindValue(key, name);
    if (value == nullptr) {
        return false;
    }
    // Stored data of another length than asked for: its leading bytes, as
    // many as both allow; the rest of the caller's buffer is left alone.
    std::memcpy(data, value->data.data(), std::min<std::size_t>(size, value->data.size()));
    return true;
}

SettingsKey* CreateSettingsKeyForWrite()
{
    const std::string path = SettingsFilePath();
    if (path.empty() || !MakeFolder(FolderOf(path))) {
        return nullptr;
    }
    // Values the file holds besides the ones written now are kept.
    auto* key = new SettingsKey{{}, path};
    std::string text;
    if (ReadSmallFile(path, &text)) {
        key->values = ParseSettingsFile(text);
    }
    return key;
}

bool SetSettingsValue(SettingsKey* key, const char* name, SettingsValueType type, const void* data, uint32_t size)
{
    if (key == nullptr || key->path.empty() || size > MaxStoredValueBytes) {
        return false;
    }
    StoredSettingsValue* value = FindValue(key, name);
    if (value == nullptr) {
        key->values.push_back({name, type, {}});
        value = &key->values.back();
    }
    value->type = type;
    value->data.assign(static_cast<const char*>(data), size);
    return true;
}

bool CloseSettingsKey(SettingsKey* key)
{
    if (key == nullptr) {
        return false;
    }
    bool ok = true;
    if (!key->path.empty()) {
        ok = ReplaceFile(key->path, FormatSettingsFile(key->values));
    }
    delete key;
    return ok;
}
