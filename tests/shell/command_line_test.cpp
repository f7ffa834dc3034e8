#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "shell/command_line.h"

namespace {

using Args = std::vector<std::string>;

struct Accepted {
    const char* name;
    Args args;
    std::function<void(const SaverOptions&)> check;
};

TEST(CommandLine, Accepted)
{
    const Accepted cases[] = {
        {"nothing: own window", {},
         [](const SaverOptions& o) {
             EXPECT_EQ(o.mode, SaverMode::OwnWindow);
             EXPECT_EQ(o.width, 1024);
             EXPECT_EQ(o.height, 768);
             EXPECT_FALSE(o.seed);
         }},
        {"--root", {"--root"}, [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Root); }},
        {"-root", {"-root"}, [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Root); }},
        {"root twice", {"-root", "--root"}, [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Root); }},
        {"--fullscreen", {"--fullscreen"}, [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Fullscreen); }},
        {"--configure", {"--configure"}, [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Configure); }},
        {"hex window id", {"--window-id", "0x1a00003"},
         [](const SaverOptions& o) {
             EXPECT_EQ(o.mode, SaverMode::WindowId);
             EXPECT_EQ(o.windowId, 0x1a00003ul);
         }},
        {"decimal window id, single dash", {"-window-id", "123"},
         [](const SaverOptions& o) { EXPECT_EQ(o.windowId, 123ul); }},
        {"window id with =", {"--window-id=0X20"}, [](const SaverOptions& o) { EXPECT_EQ(o.windowId, 0x20ul); }},
        {"--help wins over what follows", {"--help", "--bogus"},
         [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Help); }},
        {"-h", {"-h"}, [](const SaverOptions& o) { EXPECT_EQ(o.mode, SaverMode::Help); }},
        {"snapshot with size, frames and seed",
         {"--snapshot", "out.png", "--size", "640x480", "--frames", "30", "-seed", "4294967295"},
         [](const SaverOptions& o) {
             EXPECT_EQ(o.mode, SaverMode::Snapshot);
             EXPECT_EQ(o.snapshotPath, "out.png");
             EXPECT_EQ(o.width, 640);
             EXPECT_EQ(o.height, 480);
             EXPECT_EQ(o.frames, 30);
             EXPECT_EQ(o.seed, 4294967295u);
         }},
        {"size limits", {"--size", "1x8192"},
         [](const SaverOptions& o) {
             EXPECT_EQ(o.width, 1);
             EXPECT_EQ(o.height, 8192);
         }},
        {"seed in any mode", {"--root", "--seed", "0"}, [](const SaverOptions& o) { EXPECT_EQ(o.seed, 0u); }},
        {"no overrides by default", {"--fullscreen"},
         [](const SaverOptions& o) {
             const SettingsOverrides& v = o.overrides;
             EXPECT_FALSE(v.Number || v.Background || v.TextOn || v.Text || v.RotateX || v.RotateY || v.RotateZ ||
                          v.RotateSpeed || v.TravelSpeed || v.CycleLength);
         }},
        {"every setting at its low end",
         {"--number", "1000", "--no-background", "--no-text", "--message", "", "--no-rotate-x", "--no-rotate-y",
          "--no-rotate-z", "--rotate-speed", "1", "--travel-speed", "10", "--cycle-length", "10"},
         [](const SaverOptions& o) {
             const SettingsOverrides& v = o.overrides;
             EXPECT_EQ(v.Number, 1000);
             EXPECT_EQ(v.Background, 0);
             EXPECT_EQ(v.TextOn, 0);
             EXPECT_EQ(v.Text, "");
             EXPECT_EQ(v.RotateX, 0);
             EXPECT_EQ(v.RotateY, 0);
             EXPECT_EQ(v.RotateZ, 0);
             EXPECT_EQ(v.RotateSpeed, 1);
             EXPECT_EQ(v.TravelSpeed, 10);
             EXPECT_EQ(v.CycleLength, 10);
         }},
        {"every setting at its high end, xscreensaver spelling",
         {"-number", "5000", "-background", "-text", "-message", "Hi", "-rotate-x", "-rotate-y", "-rotate-z",
          "-rotate-speed", "4", "-travel-speed=30", "-cycle-length", "120"},
         [](const SaverOptions& o) {
             const SettingsOverrides& v = o.overrides;
             EXPECT_EQ(v.Number, 5000);
             EXPECT_EQ(v.Background, 1);
             EXPECT_EQ(v.TextOn, 1);
             EXPECT_EQ(v.Text, "Hi");
             EXPECT_EQ(v.RotateX, 1);
             EXPECT_EQ(v.RotateY, 1);
             EXPECT_EQ(v.RotateZ, 1);
             EXPECT_EQ(v.RotateSpeed, 4);
             EXPECT_EQ(v.TravelSpeed, 30);
             EXPECT_EQ(v.CycleLength, 120);
         }},
        {"the last of two flags wins", {"--text", "--no-text"},
         [](const SaverOptions& o) { EXPECT_EQ(o.overrides.TextOn, 0); }},
        {"message in the code page", {"--message", "Caf\xc3\xa9 \xe2\x82\xac \xe6\x97\xa5"},
         [](const SaverOptions& o) { EXPECT_EQ(o.overrides.Text, "Caf\xe9 \x80 ?"); }},
        {"message of 69 characters", {"--message", std::string(69, 'm')},
         [](const SaverOptions& o) { EXPECT_EQ(o.overrides.Text, std::string(69, 'm')); }},
        {"message of 69 characters, one of them two bytes long",
         {"--message", std::string(68, 'm') + "\xc3\xa9"},
         [](const SaverOptions& o) { EXPECT_EQ(o.overrides.Text, std::string(68, 'm') + "\xe9"); }},
        {"a longer message is cut after 69 characters", {"--message", std::string(70, 'm')},
         [](const SaverOptions& o) { EXPECT_EQ(o.overrides.Text, std::string(69, 'm')); }},
        {"a message is never cut inside a character", {"--message", std::string(68, 'm') + "\xc3\xa9\xc3\xa9"},
         [](const SaverOptions& o) { EXPECT_EQ(o.overrides.Text, std::string(68, 'm') + "\xe9"); }},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(c.name);
        const CommandLineResult result = ParseCommandLine(c.args);
        ASSERT_TRUE(result.ok) << result.error;
        c.check(result.options);
    }
}

TEST(CommandLine, Refused)
{
    struct Case {
        Args args;
        const char* errorContains;
    };
    const Case cases[] = {
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"-s"}, "unknown option"},
        {{"file.png"}, "unexpected argument"},
        {{"-"}, "unexpected argument"},
        {{"--"}, "unexpected argument"},
        {{"--window-id"}, "--window-id needs a value"},
        {{"--window-id", "0"}, "not a window id"},
        {{"--window-id", "0xzz"}, "not a window id"},
        {{"--window-id", "12abc"}, "not a window id"},
        {{"--window-id", "-5"}, "not a window id"},
        {{"--window-id", "0x20000000"}, "not a window id"},
        {{"--window-id", ""}, "not a window id"},
        {{"--root", "--fullscreen"}, "--root and --fullscreen cannot be combined"},
        {{"--window-id", "5", "--root"}, "cannot be combined"},
        {{"--snapshot", "a.png", "--configure"}, "cannot be combined"},
        {{"--snapshot"}, "needs a value"},
        {{"--snapshot="}, "needs a file name"},
        {{"--frames", "3"}, "--frames applies only to --snapshot"},
        {{"--snapshot", "a.png", "--frames", "0"}, "--frames"},
        {{"--root", "--size", "10x10"}, "--size applies only"},
        {{"--size", "0x10"}, "WIDTHxHEIGHT"},
        {{"--size", "8193x10"}, "WIDTHxHEIGHT"},
        {{"--size", "10x"}, "WIDTHxHEIGHT"},
        {{"--size", "x10"}, "WIDTHxHEIGHT"},
        {{"--size", "10*10"}, "WIDTHxHEIGHT"},
        {{"--seed", "-1"}, "--seed"},
        {{"--seed", "4294967296"}, "--seed"},
        {{"--number", "999"}, "--number: expected a whole number from 1000 to 5000, got \"999\""},
        {{"--number", "5001"}, "from 1000 to 5000"},
        {{"--number", "2e3"}, "from 1000 to 5000"},
        {{"--number", " 2000"}, "from 1000 to 5000"},
        {{"--number"}, "--number needs a value"},
        {{"--rotate-speed", "0"}, "from 1 to 4"},
        {{"--rotate-speed", "5"}, "from 1 to 4"},
        {{"--travel-speed", "9"}, "from 10 to 30"},
        {{"--travel-speed", "31"}, "from 10 to 30"},
        {{"--cycle-length", "9"}, "from 10 to 120"},
        {{"--cycle-length", "121"}, "from 10 to 120"},
        {{"--cycle-length", "99999999999"}, "from 10 to 120"},
        {{"--background=1"}, "--background takes no value"},
        {{"--no-text=0"}, "takes no value"},
        {{"--no-number"}, "unknown option"},
        {{"--message"}, "needs a value"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) {
            joined += " [" + a + "]";
        }
        SCOPED_TRACE(joined);
        const CommandLineResult result = ParseCommandLine(c.args);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.errorContains), std::string::npos) << result.error;
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << "one line";
    }
}

TEST(CommandLine, WindowIds)
{
    struct Case {
        const char* text;
        bool ok;
        unsigned long id;
    };
    const Case cases[] = {
        {"0x400007", true, 0x400007}, {"4194311", true, 4194311}, {"0X1fffffff", true, 0x1fffffff},
        {"0x", false, 0},        {"0", false, 0},           {"0x0", false, 0},
        {"+5", false, 0},        {"5 ", false, 0},          {"0x20000000", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        unsigned long id = 0;
        EXPECT_EQ(ParseWindowId(c.text, &id), c.ok);
        if (c.ok) {
            EXPECT_EQ(id, c.id);
        }
    }
}

TEST(CommandLine, OverridesReplaceOnlyWhatWasGiven)
{
    SaverSettingsRecord settings = DefaultSettings();
    std::memset(settings.Text, 'x', TextFieldBytes);  // garbage after the text goes too
    const CommandLineResult result =
        ParseCommandLine({"--number", "4500", "--no-rotate-y", "--message", "Hello", "--cycle-length", "60"});
    ASSERT_TRUE(result.ok);
    ApplySettingsOverrides(result.options.overrides, &settings);

    SaverSettingsRecord expected = DefaultSettings();
    EXPECT_EQ(settings.Number, 4500);
    EXPECT_EQ(settings.RotateY, 0);
    EXPECT_EQ(settings.CycleLength, 60);
    EXPECT_EQ(std::string(settings.Text, TextFieldBytes), "Hello" + std::string(TextFieldBytes - 5, '\0'));
    EXPECT_EQ(settings.Background, expected.Background);
    EXPECT_EQ(settings.TextOn, expected.TextOn);
    EXPECT_EQ(settings.RotateX, expected.RotateX);
    EXPECT_EQ(settings.RotateZ, expected.RotateZ);
    EXPECT_EQ(settings.RotateSpeed, expected.RotateSpeed);
    EXPECT_EQ(settings.TravelSpeed, expected.TravelSpeed);
}

}  // namespace
