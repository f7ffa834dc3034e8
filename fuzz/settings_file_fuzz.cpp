// Fuzzes the settings file parser. The file is the user's to edit (or to
// damage), so any bytes at all must parse without a crash, keep every value
// within its length limit, and what was kept must come back unchanged after
// being written out and read again: a save never loses or alters a value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/keyfile_settings.h"

namespace {

bool SameValues(const StoredSettingsValues& a, const StoredSettingsValues& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].type != b[i].type || a[i].data != b[i].data) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxSettingsFileBytes) {
        return 0;  // the store never reads a file this large
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const StoredSettingsValues values = ParseSettingsFile(text);
    for (const StoredSettingsValue& value : values) {
        if (value.name.empty() || value.data.size() > MaxStoredValueBytes) {
            std::abort();
        }
    }
    const StoredSettingsValues again = ParseSettingsFile(FormatSettingsFile(values));
    if (!SameValues(values, again)) {
        std::abort();
    }
    return 0;
}
