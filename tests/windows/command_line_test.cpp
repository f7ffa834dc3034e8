// The screen saver modes as the command line gives them, and the mouse rule.
#include <gtest/gtest.h>

#include <cstdint>

#include "shell/win32_command_line.h"

namespace {

struct ModeCase {
    const char* line;
    SaverMode mode;
    uint64_t window;
};

const ModeCase ModeCases[] = {
    // Nothing after the path: the dialog without an owner.
    {"orinthal.scr", SaverMode::ConfigureNoOwner, 0},
    {"orinthal.scr   ", SaverMode::ConfigureNoOwner, 0},
    {"orinthal.scr - / -", SaverMode::ConfigureNoOwner, 0},
    {"\"C:\\Program Files\\Orinthal\\orinthal.scr\"", SaverMode::ConfigureNoOwner, 0},
    // The path is skipped whole, even when it holds mode letters and blanks.
    {"\"C:\\saver s\\p.scr\" /s", SaverMode::FullScreen, 0},
    {"C:\\savers\\c.scr /s", SaverMode::FullScreen, 0},
    {"orinthal.scr /s", SaverMode::FullScreen, 0},
    {"orinthal.scr -S", SaverMode::FullScreen, 0},
    {"orinthal.scr s", SaverMode::FullScreen, 0},
    {"orinthal.scr\t/save", SaverMode::FullScreen, 0},
    {"orinthal.scr //--s", SaverMode::FullScreen, 0},
    // Configuration: ":" directly after the letter carries the owner.
    {"orinthal.scr /c", SaverMode::Configure, 0},
    {"orinthal.scr /C:1234", SaverMode::Configure, 1234},
    {"orinthal.scr /c:", SaverMode::Configure, 0},
    {"orinthal.scr /c 1234", SaverMode::Configure, 0},
    {"orinthal.scr /c:12ab", SaverMode::Configure, 12},
    // Preview: optional blanks, then the parent's decimal handle.
    {"orinthal.scr /p 65814", SaverMode::Preview, 65814},
    {"orinthal.scr /P65814", SaverMode::Preview, 65814},
    {"orinthal.scr /l \t 42", SaverMode::Preview, 42},
    {"orinthal.scr /p", SaverMode::Preview, 0},
    {"orinthal.scr /p 0", SaverMode::Preview, 0},
    {"orinthal.scr /p x12", SaverMode::Preview, 0},
    {"orinthal.scr /p 123x456", SaverMode::Preview, 123},
    // A digit run too long for any handle saturates instead of wrapping.
    {"orinthal.scr /p 99999999999999999999999999", SaverMode::Preview, UINT64_MAX},
    {"orinthal.scr /p 18446744073709551616", SaverMode::Preview, UINT64_MAX},
    {"orinthal.scr /p 18446744073709551615", SaverMode::Preview, UINT64_MAX},
    // Password change (answered -1 on NT systems) and everything else.
    {"orinthal.scr /a 77", SaverMode::ChangePassword, 77},
    {"orinthal.scr /A", SaverMode::ChangePassword, 0},
    {"orinthal.scr /x", SaverMode::Invalid, 0},
    {"orinthal.scr /?", SaverMode::Invalid, 0},
    {"orinthal.scr 1234", SaverMode::Invalid, 0},
    {"orinthal.scr :c", SaverMode::Invalid, 0},
    {"\"unterminated quote /s", SaverMode::ConfigureNoOwner, 0},
};

TEST(CommandLine, ModesAndHandles)
{
    for (const ModeCase& c : ModeCases) {
        SCOPED_TRACE(c.line);
        const SaverCommand command = ParseSaverCommandLine(c.line);
        EXPECT_EQ(command.mode, c.mode);
        EXPECT_EQ(command.window, c.window);
    }
}

TEST(CommandLine, NoCommandLineOpensTheDialog)
{
    EXPECT_EQ(ParseSaverCommandLine(nullptr).mode, SaverMode::ConfigureNoOwner);
    EXPECT_EQ(ParseSaverCommandLine("").mode, SaverMode::ConfigureNoOwner);
}

struct MoveCase {
    int fromX, fromY, toX, toY;
    bool closes;
};

TEST(MouseRule, MoreThanFourPixelsCloses)
{
    const MoveCase cases[] = {
        {100, 100, 100, 100, false},
        {100, 100, 104, 100, false},
        {100, 100, 102, 98, false},
        {100, 100, 96, 100, false},
        {100, 100, 105, 100, true},
        {100, 100, 103, 102, true},
        {100, 100, 97, 98, true},
        {-5, -5, -1, -5, false},
        {-5, -5, 0, -5, true},
        // Far-apart coordinates must not overflow into "no move".
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, true},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fromX << "," << c.fromY << " -> " << c.toX << "," << c.toY);
        EXPECT_EQ(IsClosingMouseMove(c.fromX, c.fromY, c.toX, c.toY), c.closes);
    }
}

}  // namespace
