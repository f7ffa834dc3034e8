#include "shell/win32_saver_library.h"

#include <windowsx.h>

#include <cstdint>

#include "shell/win32_command_line.h"
#include "shell/win32_resource_ids.h"

namespace {

constexpr char FullScreenTitle[] = "Screen Saver";
constexpr char PreviewTitle[] = "Preview";

// The library's state for the one saver window of this process.
struct SaverLibraryRecord {
    bool Preview;
    HWND Parent;          // preview only
    POINT CursorAtStart;  // screen position the mouse rule measures from
    HANDLE SavedImeContext;
    bool ImeDetached;
};

SaverLibraryRecord SaverLibrary = {};

using AssociateImeContext = HANDLE(WINAPI*)(HWND, HANDLE);

// The input-method context is detached only when the input-method library is
// already in the process; the module does not load it (nor import it).
AssociateImeContext ImeAssociateFunction()
{
    HMODULE imm = GetModuleHandleA("imm32.dll");
    if (imm == nullptr)
        return nullptr;
    FARPROC proc = GetProcAddress(imm, "ImmAssociateContext");
    return reinterpret_cast<AssociateImeContext>(reinterpret_cast<void*>(proc));
}

void DetachImeContext(HWND window)
{
    if (AssociateImeContext associate = ImeAssociateFunction()) {
        SaverLibrary.SavedImeContext = associate(window, nullptr);
        SaverLibrary.ImeDetached = true;
    }
}

void RestoreImeContext(HWND window)
{
    if (!SaverLibrary.ImeDetached)
        return;
    if (AssociateImeContext associate = ImeAssociateFunction())
        associate(window, SaverLibrary.SavedImeContext);
    SaverLibrary.ImeDetached = false;
}

void HideCursor()
{
    SetCursor(nullptr);
}

void RecordCursor()
{
    if (!GetCursorPos(&SaverLibrary.CursorAtStart))
        SaverLibrary.CursorAtStart = POINT{0, 0};
}

void PostClose(HWND window)
{
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// The library's window procedure: what it does before (or instead of)
// passing a message on to the saver's ScreenSaverProc.
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        DetachImeContext(window);
        RecordCursor();
        if (!SaverLibrary.Preview)
            HideCursor();
        break;
    case WM_DESTROY:
        RestoreImeContext(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (!SaverLibrary.Preview)
            HideCursor();
        break;
    case WM_TIMER:
        // Lets other programs run between frames.
        Sleep(0);
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (SaverLibrary.Preview) {
            PostMessageA(SaverLibrary.Parent, message, wParam, lParam);
            return 1;
        }
        break;
    case WM_SYSCOMMAND:
        if (!SaverLibrary.Preview) {
            // The low four bits of the command are the system's own.
            switch (wParam & 0xFFF0) {
            case SC_NEXTWINDOW:
            case SC_PREVWINDOW:
            case SC_SCREENSAVE:
                return 0;
            default:
                break;
            }
        }
        break;
    default:
        break;
    }
    return ScreenSaverProc(window, message, wParam, lParam);
}

bool RegisterSaverClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_SAVER_ICON));
    windowClass.hCursor = nullptr;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = SaverWindowClass;
    return RegisterClassA(&windowClass) != 0;
}

// Runs the saver window's message loop; the quit message's code is the result.
int RunMessageLoop()
{
    MSG message = {};
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got == -1)
            return -1;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// A decimal handle from the command line, or nullptr when it cannot name a
// window: window handles fit in 32 bits, and a wider number must not be
// truncated into someone else's window.
HWND WindowFromDecimal(uint64_t value)
{
    if (value == 0 || value > 0xFFFFFFFFull)
        return nullptr;
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
    return IsWindow(window) ? window : nullptr;
}

int RunFullScreen(HINSTANCE instance)
{
    // One full-screen saver at a time: a second start brings the first forward.
    if (HWND running = FindWindowA(SaverWindowClass, FullScreenTitle)) {
        SetForegroundWindow(running);
        return 0;
    }
    SaverLibrary.Preview = false;
    SaverLibrary.Parent = nullptr;
    RegisterSaverClass(instance);

    RECT screen = {};
    HDC screenDc = GetDC(nullptr);
    GetClipBox(screenDc, &screen);
    ReleaseDC(nullptr, screenDc);

    HWND window = CreateWindowExA(WS_EX_TOPMOST, SaverWindowClass, FullScreenTitle,
                                  WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  screen.left, screen.top, screen.right - screen.left,
                                  screen.bottom - screen.top, nullptr, nullptr, instance, nullptr);
    // Without a window no quit message would ever come: end at once.
    if (window == nullptr)
        return -1;
    SetForegroundWindow(window);
    return RunMessageLoop();
}

int RunPreview(HINSTANCE instance, uint64_t parentValue)
{
    HWND parent = WindowFromDecimal(parentValue);
    if (parent == nullptr)
        return -1;
    SaverLibrary.Preview = true;
    SaverLibrary.Parent = parent;
    RegisterSaverClass(instance);

    RECT client = {};
    GetClientRect(parent, &client);
    HWND window = CreateWindowExA(0, SaverWindowClass, PreviewTitle,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                                  client.bottom, parent, nullptr, instance, nullptr);
    if (window == nullptr)
        return -1;
    return RunMessageLoop();
}

int RunConfiguration(HINSTANCE instance, HWND owner)
{
    if (!RegisterDialogClasses(instance))
        return 0;
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIGURE), owner,
                                            ScreenSaverConfigureDialog, 0));
}

}  // namespace

LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Nothing the user does closes the preview: it belongs to its parent.
    if (SaverLibrary.Preview)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_POWERBROADCAST:
        PostClose(window);
        break;
    case WM_MOUSEMOVE: {
        POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(window, &at);
        const POINT& start = SaverLibrary.CursorAtStart;
        if (IsClosingMouseMove(start.x, start.y, at.x, at.y)) {
            PostClose(window);
            SaverLibrary.CursorAtStart = at;
        }
        break;
    }
    case WM_ACTIVATEAPP:
        if (wParam == FALSE)
            PostClose(window);
        break;
    case WM_POWER:
        if (wParam == PWR_CRITICALRESUME)
            PostClose(window);
        break;
    case WM_SETCURSOR:
        HideCursor();
        return TRUE;
    case WM_SHOWWINDOW:
        if (wParam != FALSE)
            HideCursor();
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunScreenSaver(HINSTANCE instance, const char* commandLine)
{
    const SaverCommand command = ParseSaverCommandLine(commandLine);
    switch (command.mode) {
    case SaverMode::ConfigureNoOwner:
        return RunConfiguration(instance, nullptr);
    case SaverMode::Configure: {
        HWND owner = WindowFromDecimal(command.window);
        return RunConfiguration(instance, owner != nullptr ? owner : GetForegroundWindow());
    }
    case SaverMode::FullScreen:
        return RunFullScreen(instance);
    case SaverMode::Preview:
        return RunPreview(instance, command.window);
    case SaverMode::ChangePassword:
        // Password changes belong to Windows 95/98; NT systems manage the
        // password themselves.
        return -1;
    case SaverMode::Invalid:
        break;
    }
    return -1;
}
