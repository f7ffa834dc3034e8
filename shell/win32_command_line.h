#pragma once
// How a screen saver module is started: the mode and window handle that the
// system (or a user) puts on its command line. Pure parsing, no system calls.
#include <cstdint>

enum class SaverMode {
    ConfigureNoOwner,  // nothing after the module's path
    Configure,         // "c", owner from ":<handle>" or else the foreground window
    FullScreen,        // "s"
    Preview,           // "p" or "l" with the parent window's handle
    ChangePassword,    // "a": only meaningful on Windows 95/98
    Invalid,           // any other letter
};

struct SaverCommand {
    SaverMode mode;
    // The decimal window handle that followed the letter; 0 when none was
    // given. Saturates at UINT64_MAX on absurdly long digit runs.
    uint64_t window;
};

// Parses a whole command line as GetCommandLine gives it: the module's path
// (quoted or not), then blanks, '-' and '/' are skipped and the first other
// character picks the mode, in either case.
SaverCommand ParseSaverCommandLine(const char* commandLine);

// The close-on-mouse rule: true when the cursor has gone more than 4 pixels
// (horizontal plus vertical distance) from where it was recorded.
bool IsClosingMouseMove(int recordedX, int recordedY, int x, int y);
