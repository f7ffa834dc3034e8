// Sends one kind of message to the running full-screen saver window, as the
// system would, and reports what the window answered.
//
//   saver_poke settext      WM_SETTEXT: answered 0, the title stays
//   saver_poke syscommands  SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW: answered 0
//   saver_poke activateapp  WM_ACTIVATEAPP FALSE (closes the saver)
//   saver_poke power        WM_POWER PWR_CRITICALRESUME (closes the saver)
//   saver_poke powerbroadcast  WM_POWERBROADCAST (closes the saver)
//
// Exit code 0 when the window was found and answered as expected.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

int Fail(const char* what)
{
    std::printf("FAIL %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return Fail("usage: saver_poke <message kind>");
    HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    if (saver == nullptr)
        return Fail("no full-screen saver window");
    const char* kind = argv[1];

    if (std::strcmp(kind, "settext") == 0) {
        const LRESULT answer = SendMessageA(saver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Renamed"));
        char title[64] = {};
        GetWindowTextA(saver, title, sizeof title);
        if (answer != 0 || std::strcmp(title, "Screen Saver") != 0)
            return Fail("WM_SETTEXT changed the title");
        return 0;
    }
    if (std::strcmp(kind, "syscommands") == 0) {
        for (WPARAM command : {WPARAM(SC_SCREENSAVE), WPARAM(SC_NEXTWINDOW), WPARAM(SC_PREVWINDOW)}) {
            if (SendMessageA(saver, WM_SYSCOMMAND, command, 0) != 0)
                return Fail("a swallowed system command was answered nonzero");
        }
        return 0;
    }
    if (std::strcmp(kind, "activateapp") == 0) {
        SendMessageA(saver, WM_ACTIVATEAPP, FALSE, 0);
        return 0;
    }
    if (std::strcmp(kind, "power") == 0) {
        SendMessageA(saver, WM_POWER, PWR_CRITICALRESUME, 0);
        return 0;
    }
    if (std::strcmp(kind, "powerbroadcast") == 0) {
        SendMessageA(saver, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
        return 0;
    }
    return Fail("unknown message kind");
}
