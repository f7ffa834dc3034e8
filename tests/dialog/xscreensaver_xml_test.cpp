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

}  // namespace
