// Fuzzes the saver program's command line. The input is split at zero bytes
// into arguments, as argv arrives. Any arguments must parse without a crash;
// an accepted line must hold only values in their documented ranges, and a
// refused one must say why in one line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shell/command_line.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

template <typename T>
void CheckRange(const std::optional<T>& value, T minimum, T maximum)
{
    Check(!value || (*value >= minimum && *value <= maximum));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> arguments;
    const char* text = reinterpret_cast<const char*>(data);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || text[i] == '\0') {
            if (i > start || i < size) {
                arguments.emplace_back(text + start, i - start);
            }
            start = i + 1;
        }
    }

    const CommandLineResult result = ParseCommandLine(arguments);
    if (!result.ok) {
        Check(!result.error.empty() && result.error.find('\n') == std::string::npos);
        return 0;
    }
    const SaverOptions& options = result.options;
    Check(options.width >= 1 && options.width <= MaxSurfaceSide);
    Check(options.height >= 1 && options.height <= MaxSurfaceSide);
    Check(options.frames >= 1);
    Check(options.mode != SaverMode::Snapshot || !options.snapshotPath.empty());
    Check(options.mode != SaverMode::WindowId || options.windowId != 0);
    const SettingsOverrides& o = options.overrides;
    CheckRange(o.Number, 1000, 5000);
    CheckRange(o.RotateSpeed, 1, 4);
    CheckRange(o.TravelSpeed, 10, 30);
    CheckRange(o.CycleLength, 10, 120);
    Check(!o.Text || o.Text->size() < static_cast<std::size_t>(TextFieldBytes));

    // The overrides land in a record whose text stays terminated.
    SaverSettingsRecord settings;
    std::memset(&settings, 0x7F, sizeof settings);
    ApplySettingsOverrides(o, &settings);
    Check(!o.Text || std::memchr(settings.Text, 0, TextFieldBytes) != nullptr);
    return 0;
}
