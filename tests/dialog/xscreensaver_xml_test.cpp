// orinthal.xml: well-formed, in the vocabulary of the hack config files
// that the xscreensaver packages ship, and mapping its controls onto the
// saver's flags with the dialog's ranges and the stored defaults.
#include <gtest/gtest.h>

#include <glib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/dialog_controls.h"
#include "shell/settings_store.h"

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
};

struct ParsedConfig {
    bool ok = false;
    std::string error;
    std::vector<Element> elements;  // in document order
};

void OnStart(GMarkupParseContext*, const gchar* name, const gchar** names, const gchar** values, gpointer data,
             GError**)
{
    Element element{name, {}};
    for (int i = 0; names[i] != nullptr; ++i) element.attributes[names[i]] = values[i];
    static_cast<ParsedConfig*>(data)->elements.push_back(std::move(element));
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The packaged files declare ISO-8859-1; the parser reads UTF-8.
ParsedConfig ParseConfig(const std::filesystem::path& path)
{
    ParsedConfig parsed;
    std::string text = ReadFile(path);
    if (text.empty()) {
        parsed.error = "cannot read " + path.string();
        return parsed;
    }
    if (text.find("encoding=\"ISO-8859-1\"") != std::string::npos) {
        gsize written = 0;
        gchar* utf8 = g_convert(text.data(), text.size(), "UTF-8", "ISO-8859-1", nullptr, &written, nullptr);
        if (utf8 == nullptr) {
            parsed.error = "not ISO-8859-1";
            return parsed;
        }
        text.assign(utf8, written);
        g_free(utf8);
    }
    GMarkupParser parser{};
    parser.start_element = OnStart;
    GMarkupParseContext* context = g_markup_parse_context_new(&parser, G_MARKUP_PREFIX_ERROR_POSITION, &parsed, nullptr);
    GError* error = nullptr;
    parsed.ok = g_markup_parse_context_parse(context, text.data(), static_cast<gssize>(text.size()), &error) &&
                g_markup_parse_context_end_parse(context, &error);
    if (error != nullptr) {
        parsed.error = error->message;
        g_error_free(error);
    }
    g_markup_parse_context_free(context);
    return parsed;
}

const std::filesystem::path OurConfig = ORINTHAL_XML;
const std::filesystem::path PackagedConfigs = "/usr/share/xscreensaver/config";

TEST(XscreensaverConfig, IsWellFormed)
{
    const ParsedConfig parsed = ParseConfig(OurConfig);
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_FALSE(parsed.elements.empty());
    const Element& root = parsed.elements.front();
    EXPECT_EQ(root.name, "screensaver");
    EXPECT_EQ(root.attributes.at("name"), "orinthal");
    EXPECT_EQ(root.attributes.at("_label"), "Orinthal");
    EXPECT_EQ(root.attributes.at("gl"), "yes");
}

TEST(XscreensaverConfig, UsesOnlyTheVocabularyOfThePackagedConfigs)
{
    ASSERT_TRUE(std::filesystem::is_directory(PackagedConfigs))
        << PackagedConfigs << " is missing: install xscreensaver-data and xscreensaver-gl";
    std::map<std::string, std::set<std::string>> vocabulary;  // element -> its attributes
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PackagedConfigs)) {
        if (entry.path().extension() != ".xml") continue;
        const ParsedConfig parsed = ParseConfig(entry.path());
        if (!parsed.ok) continue;  // judge only by files that themselves parse
        ++files;
        for (const Element& element : parsed.elements) {
            auto& attributes = vocabulary[element.name];
            for (const auto& [name, value] : element.attributes) attributes.insert(name);
        }
    }
    ASSERT_GT(files, 0) << "no packaged config file could be read";

    const ParsedConfig ours = ParseConfig(OurConfig);
    ASSERT_TRUE(ours.ok) << ours.error;
    for (const Element& element : ours.elements) {
        const auto known = vocabulary.find(element.name);
        ASSERT_NE(known, vocabulary.end()) << "element <" << element.name << "> is not used by any packaged config";
        for (const auto& [name, value] : element.attributes) {
            EXPECT_EQ(known->second.count(name), 1u)
                << "attribute " << name << " of <" << element.name << "> is not used by any packaged config";
        }
    }
}

// One control of the file, with what xscreensaver's settings panel adds to
// the command line for it.
struct Control {
    std::string kind;  // number, boolean, string
    std::map<std::string, std::string> attributes;
};

std::map<std::string, Control> Controls()
{
    std::map<std::string, Control> controls;
    for (const Element& element : ParseConfig(OurConfig).elements) {
        if (element.name == "number" || element.name == "boolean" || element.name == "string") {
            controls[element.attributes.at("id")] = {element.name, element.attributes};
        }
    }
    return controls;
}

std::string Attribute(const Control& control, const char* name)
{
    const auto found = control.attributes.find(name);
    return found == control.attributes.end() ? std::string() : found->second;
}

TEST(XscreensaverConfig, SlidersMatchTheDialogRangesAndDefaults)
{
    const SaverSettingsRecord defaults = DefaultSettings();
    struct {
        const char* id;
        const char* arg;
        SliderRange range;
        int defaultValue;
    } sliders[] = {
        {"number", "--number %", NumberRange, defaults.Number},
        {"rotatespeed", "--rotate-speed %", RotateSpeedRange, defaults.RotateSpeed},
        {"travelspeed", "--travel-speed %", TravelSpeedRange, defaults.TravelSpeed},
        {"cyclelength", "--cycle-length %", CycleLengthRange, defaults.CycleLength},
    };
    const auto controls = Controls();
    for (const auto& slider : sliders) {
        SCOPED_TRACE(slider.id);
        ASSERT_EQ(controls.count(slider.id), 1u);
        const Control& control = controls.at(slider.id);
        EXPECT_EQ(control.kind, "number");
        EXPECT_EQ(Attribute(control, "type"), "slider");
        EXPECT_EQ(Attribute(control, "arg"), slider.arg);
        // Whole numbers throughout, so the panel passes integers.
        EXPECT_EQ(Attribute(control, "low"), std::to_string(slider.range.Minimum));
        EXPECT_EQ(Attribute(control, "high"), std::to_string(slider.range.Maximum));
        EXPECT_EQ(Attribute(control, "default"), std::to_string(slider.defaultValue));
        EXPECT_EQ(Attribute(control, "convert"), "");
    }
}

TEST(XscreensaverConfig, CheckBoxesAndTextAddAFlagOnlyWhenChangedFromTheDefault)
{
    const SaverSettingsRecord defaults = DefaultSettings();
    // A box that is on by default adds its "off" flag when unchecked
    // (arg-unset); one that is off by default adds its "on" flag (arg-set).
    struct {
        const char* id;
        bool onByDefault;
        const char* flag;
    } boxes[] = {
        {"background", defaults.Background != 0, "--no-background"},
        {"text", defaults.TextOn != 0, "--text"},
        {"rotatex", defaults.RotateX != 0, "--no-rotate-x"},
        {"rotatey", defaults.RotateY != 0, "--no-rotate-y"},
        {"rotatez", defaults.RotateZ != 0, "--no-rotate-z"},
    };
    const auto controls = Controls();
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.id);
        ASSERT_EQ(controls.count(box.id), 1u);
        const Control& control = controls.at(box.id);
        EXPECT_EQ(control.kind, "boolean");
        EXPECT_EQ(Attribute(control, box.onByDefault ? "arg-unset" : "arg-set"), box.flag);
        EXPECT_EQ(Attribute(control, box.onByDefault ? "arg-set" : "arg-unset"), "");
    }
    // An empty text field adds nothing; a text replaces the stored one.
    ASSERT_EQ(controls.count("message"), 1u);
    EXPECT_EQ(controls.at("message").kind, "string");
    EXPECT_EQ(Attribute(controls.at("message"), "arg"), "--message %");
    EXPECT_EQ(controls.size(), 10u) << "one control for each of the ten settings";
}

TEST(XscreensaverConfig, CommandAddsOnlyRoot)
{
    std::vector<std::string> commands;
    for (const Element& element : ParseConfig(OurConfig).elements) {
        if (element.name == "command") commands.push_back(element.attributes.at("arg"));
    }
    EXPECT_EQ(commands, std::vector<std::string>{"--root"});
}

// The arguments xscreensaver's settings panel passes for a choice of
// control values: the command's own, then each control that differs from
// its default. Values are given by control id; absent ones stay at default.
std::vector<std::string> PanelArguments(const std::map<std::string, std::string>& values)
{
    std::vector<std::string> arguments;
    for (const Element& element : ParseConfig(OurConfig).elements) {
        if (element.name == "command") arguments.push_back(element.attributes.at("arg"));
    }
    auto substituted = [&](const std::string& pattern, const std::string& value) {
        const size_t percent = pattern.find('%');
        const size_t space = pattern.find(' ');
        arguments.push_back(pattern.substr(0, space));
        if (percent != std::string::npos) arguments.push_back(value);
    };
    for (const auto& [id, control] : Controls()) {
        const auto chosen = values.find(id);
        if (chosen == values.end()) continue;
        if (control.kind == "number") {
            if (chosen->second != Attribute(control, "default")) substituted(Attribute(control, "arg"), chosen->second);
        } else if (control.kind == "string") {
            if (!chosen->second.empty()) substituted(Attribute(control, "arg"), chosen->second);
        } else {
            const bool checked = chosen->second == "on";
            const std::string set = Attribute(control, "arg-set");
            const std::string unset = Attribute(control, "arg-unset");
            if (checked && !set.empty()) arguments.push_back(set);
            if (!checked && !unset.empty()) arguments.push_back(unset);
        }
    }
    return arguments;
}

const std::map<std::string, std::string> EverythingChanged = {
    {"number", "1000"},      {"rotatespeed", "4"},  {"travelspeed", "30"}, {"cyclelength", "120"},
    {"background", "off"},   {"text", "on"},        {"rotatex", "off"},    {"rotatey", "off"},
    {"rotatez", "off"},      {"message", "Caf\xC3\xA9 at night"},
};

TEST(XscreensaverConfig, DefaultsPassNoSettings)
{
    const SaverSettingsRecord defaults = DefaultSettings();
    const std::map<std::string, std::string> atDefaults = {
        {"number", std::to_string(defaults.Number)},
        {"rotatespeed", std::to_string(defaults.RotateSpeed)},
        {"travelspeed", std::to_string(defaults.TravelSpeed)},
        {"cyclelength", std::to_string(defaults.CycleLength)},
        {"background", "on"}, {"text", "off"}, {"rotatex", "on"}, {"rotatey", "on"}, {"rotatez", "on"},
        {"message", ""},
    };
    EXPECT_EQ(PanelArguments(atDefaults), std::vector<std::string>{"--root"});
}

TEST(XscreensaverConfig, EveryChangedControlBecomesTheMatchingOverride)
{
    const CommandLineResult parsed = ParseCommandLine(PanelArguments(EverythingChanged));
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.mode, SaverMode::Root);
    const SettingsOverrides& o = parsed.options.overrides;
    EXPECT_EQ(o.Number, 1000);
    EXPECT_EQ(o.RotateSpeed, 4);
    EXPECT_EQ(o.TravelSpeed, 30);
    EXPECT_EQ(o.CycleLength, 120);
    EXPECT_EQ(o.Background, 0);
    EXPECT_EQ(o.TextOn, 1);
    EXPECT_EQ(o.RotateX, 0);
    EXPECT_EQ(o.RotateY, 0);
    EXPECT_EQ(o.RotateZ, 0);
    EXPECT_EQ(o.Text, std::string("Caf\xE9 at night"));
}

TEST(XscreensaverConfig, EverySliderPositionIsAccepted)
{
    const auto controls = Controls();
    for (const char* id : {"number", "rotatespeed", "travelspeed", "cyclelength"}) {
        const Control& control = controls.at(id);
        for (const std::string& value : {Attribute(control, "low"), Attribute(control, "high")}) {
            SCOPED_TRACE(std::string(id) + " " + value);
            const CommandLineResult parsed = ParseCommandLine(PanelArguments({{id, value}}));
            EXPECT_TRUE(parsed.ok) << parsed.error;
        }
    }
}

// The installed program takes the panel's arguments: rendered headless here,
// since --root needs a window from xscreensaver.
TEST(XscreensaverConfig, TheProgramRunsWithEveryControlChanged)
{
    std::vector<std::string> arguments = PanelArguments(EverythingChanged);
    ASSERT_EQ(arguments.front(), "--root");
    arguments.erase(arguments.begin());
    const std::string home = testing::TempDir() + "xml-run-home";
    std::filesystem::create_directories(home);
    const std::string picture = home + "/frame.png";

    std::vector<std::string> command = {ORINTHAL_PROGRAM, "--snapshot", picture, "--size", "64x48", "--seed", "1"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command) argv.push_back(argument.data());
    argv.push_back(nullptr);
    // Only whether the program takes the flags is asked here. Its leak checks
    // under ASan belong to its own suite: Mesa's allocations, made in a driver
    // unloaded before the check runs, cannot be told apart by library there.
    std::vector<std::string> environment = {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/config",
                                            "ASAN_OPTIONS=detect_leaks=0"};
    for (const char* kept : {"PATH"}) {
        if (const char* value = std::getenv(kept)) environment.push_back(std::string(kept) + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);

    gchar* errors = nullptr;
    gint status = 0;
    GError* error = nullptr;
    ASSERT_TRUE(g_spawn_sync(nullptr, argv.data(), envp.data(), G_SPAWN_STDOUT_TO_DEV_NULL, nullptr, nullptr, nullptr,
                             &errors, &status, &error))
        << (error ? error->message : "");
    const std::string message = errors ? errors : "";
    g_free(errors);
    EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << message;
    EXPECT_TRUE(std::filesystem::exists(picture)) << message;
    std::filesystem::remove_all(home);
}

}  // namespace
