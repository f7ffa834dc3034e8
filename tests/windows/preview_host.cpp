// A stand-in for the control panel's preview: a top-level window that starts
// the saver with "/p <its handle>" and checks that the saver lives inside it.
//
//   preview_host <saver> <stop file>
//
// Prints "client <x> <y> <width> <height>" (screen coordinates of its client
// area) once the preview child exists, then waits until the stop file
// appears. Input sent meanwhile must not close the preview; on stop the host
// also posts input messages straight to the preview. Then it checks the
// preview is still there, closes its own window (which takes the child with
// it) and waits for the saver to end.
// Exit code 0 when all of that held.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

constexpr int ClientWidth = 320;
constexpr int ClientHeight = 240;

PROCESS_INFORMATION Saver = {};

// Reports a failure and ends a saver that is still running, so that no
// process outlives the test.
int Fail(const char* what)
{
    if (Saver.hProcess != nullptr && WaitForSingleObject(Saver.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(Saver.hProcess, 3);
    std::printf("FAIL %s\n", what);
    std::fflush(stdout);
    return 1;
}

void PumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return Fail("usage: preview_host <saver> <stop file>");
    const std::string saver = argv[1];
    const std::string stopFile = argv[2];

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "OrinthalPreviewHost";
    RegisterClassA(&windowClass);
    RECT frame = {0, 0, ClientWidth, ClientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND host = CreateWindowA("OrinthalPreviewHost", "Preview Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (host == nullptr)
        return Fail("no host window");
    PumpFor(300);

    std::string commandLine = "\"" + saver + "\" /p " + std::to_string(reinterpret_cast<uintptr_t>(host));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION& process = Saver;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return Fail("saver did not start");

    // The saver's child window, of the library's class, filling the client area.
    HWND preview = nullptr;
    for (int i = 0; i < 300 && preview == nullptr; ++i) {
        PumpFor(50);
        preview = FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview");
    }
    if (preview == nullptr)
        return Fail("no preview window inside the host");
    RECT client = {};
    GetClientRect(preview, &client);
    if (client.right != ClientWidth || client.bottom != ClientHeight)
        return Fail("preview does not fill the host's client area");

    POINT origin = {0, 0};
    ClientToScreen(host, &origin);
    std::printf("client %ld %ld %d %d\n", origin.x, origin.y, ClientWidth, ClientHeight);
    std::fflush(stdout);

    for (int i = 0; i < 1200 && GetFileAttributesA(stopFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
        PumpFor(100);

    // What closes a full-screen saver, delivered to the preview itself.
    PostMessageA(preview, WM_KEYDOWN, 'A', 0);
    PostMessageA(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(preview, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
    PostMessageA(preview, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    PostMessageA(preview, WM_ACTIVATEAPP, FALSE, 0);
    PumpFor(1500);

    if (WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT)
        return Fail("the saver ended while previewing");
    if (!IsWindow(preview) || FindWindowExA(host, nullptr, "WindowsScreenSaverClass", "Preview") != preview)
        return Fail("the preview window was closed");

    // Closing the host destroys the child: the saver's loop ends with 0.
    DestroyWindow(host);
    PumpFor(200);
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        return Fail("the saver did not end with its parent");
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    if (code != 0)
        return Fail("the saver ended with a nonzero code");
    std::printf("OK\n");
    std::fflush(stdout);
    return 0;
}
