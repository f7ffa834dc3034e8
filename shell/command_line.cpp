#include "shell/command_line.h"

#include <charconv>
#include <cstring>

#include "shell/cp1252.h"

namespace {

constexpr const char* Usage =
    "usage: orinthal [MODE] [OPTIONS]\n"
    "modes (at most one; without one, a 1024x768 window of its own):\n"
    "  --fullscreen            fill the screen, cursor hidden\n"
    "  --root                  draw on $XSCREENSAVER_WINDOW, else on the root window\n"
    "  --window-id ID          draw inside an existing window (hex 0x... or decimal)\n"
    "  --snapshot FILE.png     render headless (no X server) and save the last frame\n"
    "  --configure             open the settings dialog\n"
    "  --help                  show this text\n"
    "options:\n"
    "  --size WxH              window or snapshot size (default 1024x768)\n"
    "  --frames N              frames to render for --snapshot (default 1)\n"
    "  --seed N                fixed random seed in place of the time\n"
    "settings for this run only (the stored ones stay as they are):\n"
    "  --number N              stars per galaxy, 1000 to 5000\n"
    "  --background, --no-background\n"
    "  --text, --no-text       show the flying text\n"
    "  --message TEXT          the flying text (cut after 69 characters)\n"
    "  --rotate-x, --no-rotate-x, --rotate-y, --no-rotate-y, --rotate-z, --no-rotate-z\n"
    "  --rotate-speed N        1 to 4\n"
    "  --travel-speed N        10 to 30\n"
    "  --cycle-length N        seconds between galaxy rebuilds, 10 to 120\n"
    "Every option may also be spelt with a single dash (-root).\n";

const char* ModeName(SaverMode mode)
{
    switch (mode) {
    case SaverMode::Fullscreen: return "--fullscreen";
    case SaverMode::Root: return "--root";
    case SaverMode::WindowId: return "--window-id";
    case SaverMode::Snapshot: return "--snapshot";
    case SaverMode::Configure: return "--configure";
    default: return "";
    }
}

// The error is one line on a terminal: control characters from the
// arguments it quotes (a newline, an escape sequence) are shown as \xNN.
std::string PrintableLine(std::string_view text)
{
    static const char digits[] = "0123456789abcdef";
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            line += "\\x";
            line += digits[byte >> 4];
            line += digits[byte & 15];
        } else {
            line += c;
        }
    }
    return line;
}

template <typename Integer>
bool ParseWhole(std::string_view text, Integer* value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    CommandLineResult Run()
    {
        CommandLineResult result;
        while (index_ < arguments_.size() && error_.empty()) {
            const std::string& argument = arguments_[index_++];
            if (argument.size() < 2 || argument[0] != '-' || argument == "--") {
                error_ = "unexpected argument \"" + argument + "\"";
                break;
            }
            std::string_view name = argument;
            name.remove_prefix(name.starts_with("--") ? 2 : 1);
            const std::size_t equals = name.find('=');
            inlineValue_.reset();
            if (equals != std::string_view::npos) {
                inlineValue_ = std::string(name.substr(equals + 1));
                name = name.substr(0, equals);
            }
            option_ = "--" + std::string(name);
            if (name == "help" || name == "h") {
                options_.mode = SaverMode::Help;
                result.ok = true;
                result.options = options_;
                return result;
            }
            Handle(name);
        }
        if (error_.empty()) {
            CheckCombinations();
        }
        result.ok = error_.empty();
        result.error = PrintableLine(error_);
        result.options = options_;
        return result;
    }

private:
    void Handle(std::string_view name)
    {
        auto& o = options_.overrides;
        if (name == "root") {
            Flag() && SetMode(SaverMode::Root);
        } else if (name == "fullscreen") {
            Flag() && SetMode(SaverMode::Fullscreen);
        } else if (name == "configure") {
            Flag() && SetMode(SaverMode::Configure);
        } else if (name == "window-id") {
            std::string value;
            if (Value(&value) && SetMode(SaverMode::WindowId) && !ParseWindowId(value, &options_.windowId)) {
                error_ = option_ + ": \"" + value + "\" is not a window id (hex 0x... or decimal)";
            }
        } else if (name == "snapshot") {
            std::string value;
            if (Value(&value) && SetMode(SaverMode::Snapshot)) {
                if (value.empty()) {
                    error_ = option_ + ": needs a file name";
                }
                options_.snapshotPath = value;
            }
        } else if (name == "size") {
            std::string value;
            if (Value(&value)) {
                ParseSize(value);
            }
        } else if (name == "frames") {
            int frames = 0;
            if (Integer(1, 100000, &frames)) {
                options_.frames = frames;
                framesGiven_ = true;
            }
        } else if (name == "seed") {
            std::string value;
            uint32_t seed = 0;
            if (Value(&value)) {
                if (ParseWhole(value, &seed)) {
                    options_.seed = seed;
                } else {
                    error_ = option_ + ": expected a whole number from 0 to 4294967295, got \"" + value + "\"";
                }
            }
        } else if (name == "number") {
            SetInteger(1000, 5000, &o.Number);
        } else if (name == "rotate-speed") {
            SetInteger(1, 4, &o.RotateSpeed);
        } else if (name == "travel-speed") {
            SetInteger(10, 30, &o.TravelSpeed);
        } else if (name == "cycle-length") {
            SetInteger(10, 120, &o.CycleLength);
        } else if (name == "message") {
            std::string value;
            if (Value(&value)) {
                // Like the dialog's edit box, a longer text is cut after its
                // last whole character that fits: a hack started with a long
                // message from a settings panel should still run.
                o.Text = Utf8ToCp1252(value, TextFieldBytes - 1);
            }
        } else if (!SwitchOption(name, "background", &o.Background) && !SwitchOption(name, "text", &o.TextOn) &&
                   !SwitchOption(name, "rotate-x", &o.RotateX) && !SwitchOption(name, "rotate-y", &o.RotateY) &&
                   !SwitchOption(name, "rotate-z", &o.RotateZ)) {
            error_ = "unknown option \"" + arguments_[index_ - 1] + "\"";
        }
    }

    // --NAME sets the flag, --no-NAME clears it; false when name is neither.
    bool SwitchOption(std::string_view name, std::string_view flag, std::optional<uint8_t>* field)
    {
        const bool off = name.starts_with("no-") && name.substr(3) == flag;
        if (name != flag && !off) {
            return false;
        }
        if (Flag()) {
            *field = off ? 0 : 1;
        }
        return true;
    }

    bool Flag()
    {
        if (inlineValue_) {
            error_ = option_ + " takes no value";
            return false;
        }
        return true;
    }

    bool Value(std::string* value)
    {
        if (inlineValue_) {
            *value = *inlineValue_;
            return true;
        }
        if (index_ >= arguments_.size()) {
            error_ = option_ + " needs a value";
            return false;
        }
        *value = arguments_[index_++];
        return true;
    }

    bool Integer(int minimum, int maximum, int* result)
    {
        std::string value;
        if (!Value(&value)) {
            return false;
        }
        int parsed = 0;
        if (!ParseWhole(value, &parsed) || parsed < minimum || parsed > maximum) {
            error_ = option_ + ": expected a whole number from " + std::to_string(minimum) + " to " +
                     std::to_string(maximum) + ", got \"" + value + "\"";
            return false;
        }
        *result = parsed;
        return true;
    }

    void SetInteger(int minimum, int maximum, std::optional<int32_t>* field)
    {
        int value = 0;
        if (Integer(minimum, maximum, &value)) {
            *field = value;
        }
    }

    bool SetMode(SaverMode mode)
    {
        if (options_.mode != SaverMode::OwnWindow && options_.mode != mode) {
            error_ = std::string(ModeName(options_.mode)) + " and " + option_ + " cannot be combined";
            return false;
        }
        options_.mode = mode;
        return true;
    }

    void ParseSize(const std::string& value)
    {
        const std::size_t x = value.find_first_of("xX");
        int width = 0;
        int height = 0;
        if (x == std::string::npos || !ParseWhole(std::string_view(value).substr(0, x), &width) ||
            !ParseWhole(std::string_view(value).substr(x + 1), &height) || width < 1 || height < 1 ||
            width > MaxSurfaceSide || height > MaxSurfaceSide) {
            error_ = option_ + ": expected WIDTHxHEIGHT, each from 1 to " + std::to_string(MaxSurfaceSide) +
                     ", got \"" + value + "\"";
            return;
        }
        options_.width = width;
        options_.height = height;
        sizeGiven_ = true;
    }

    void CheckCombinations()
    {
        const SaverMode mode = options_.mode;
        if (framesGiven_ && mode != SaverMode::Snapshot) {
            error_ = "--frames applies only to --snapshot";
        } else if (sizeGiven_ && mode != SaverMode::Snapshot && mode != SaverMode::OwnWindow) {
            error_ = "--size applies only to a window of its own or to --snapshot";
        }
    }

    const std::vector<std::string>& arguments_;
    std::size_t index_ = 0;
    std::string option_;
    std::optional<std::string> inlineValue_;
    std::string error_;
    SaverOptions options_;
    bool framesGiven_ = false;
    bool sizeGiven_ = false;
};

}  // namespace

CommandLineResult ParseCommandLine(const std::vector<std::string>& arguments)
{
    return Parser(arguments).Run();
}

bool ParseWindowId(std::string_view text, unsigned long* id)
{
    unsigned long value = 0;
    bool parsed;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        parsed = !text.empty() && ec == std::errc() && end == text.data() + text.size();
    } else {
        parsed = ParseWhole(text, &value);
    }
    // X resource ids have 29 bits.
    if (!parsed || value == 0 || value > 0x1FFFFFFFul) {
        return false;
    }
    *id = value;
    return true;
}

void ApplySettingsOverrides(const SettingsOverrides& overrides, SaverSettingsRecord* settings)
{
    if (overrides.Number) settings->Number = *overrides.Number;
    if (overrides.Background) settings->Background = *overrides.Background;
    if (overrides.TextOn) settings->TextOn = *overrides.TextOn;
    if (overrides.Text) {
        std::memset(settings->Text, 0, TextFieldBytes);
        std::memcpy(settings->Text, overrides.Text->data(), std::min<std::size_t>(overrides.Text->size(), TextFieldBytes - 1));
    }
    if (overrides.RotateX) settings->RotateX = *overrides.RotateX;
    if (overrides.RotateY) settings->RotateY = *overrides.RotateY;
    if (overrides.RotateZ) settings->RotateZ = *overrides.RotateZ;
    if (overrides.RotateSpeed) settings->RotateSpeed = *overrides.RotateSpeed;
    if (overrides.TravelSpeed) settings->TravelSpeed = *overrides.TravelSpeed;
    if (overrides.CycleLength) settings->CycleLength = *overrides.CycleLength;
}

const char* UsageText()
{
    return Usage;
}
