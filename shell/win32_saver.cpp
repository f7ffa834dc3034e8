// The saver's side of the screen saver library: the saver window's procedure
// and the hook before the configuration dialog.
#include <windows.h>

#include "render/frame_surface.h"
#include "render/scene.h"
#include "shell/settings_store.h"
#include "shell/win32_gl_context.h"
#include "shell/win32_saver_library.h"

namespace {

constexpr UINT_PTR FrameTimer = 1;
constexpr UINT FrameMilliseconds = 50;

// The one saver window's size and GL context, from creation to destruction.
struct SaverWindowRecord {
    int ClientWidth;
    int ClientHeight;
    HDC DeviceContext;
    HGLRC RenderingContext;
};

SaverWindowRecord SaverWindow = {};

FrameSurface* WindowSurface()
{
    return reinterpret_cast<FrameSurface*>(SaverWindow.DeviceContext);
}

}  // namespace

LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        RECT client = {};
        GetClientRect(window, &client);
        SaverWindow.ClientWidth = client.right;
        SaverWindow.ClientHeight = client.bottom;
        LoadSettings();
        CreateGLContext(window, SaverWindow.DeviceContext, SaverWindow.RenderingContext);
        InitScene(SaverWindow.ClientWidth, SaverWindow.ClientHeight);
        SetTimer(window, FrameTimer, FrameMilliseconds, nullptr);
        return 0;
    }
    case WM_TIMER:
        // Any timer draws: the saver runs only the one.
        RenderFrame(WindowSurface());
        return 0;
    case WM_DESTROY:
        KillTimer(window, FrameTimer);
        ShutdownScene();
        DestroyGLContext(window, SaverWindow.DeviceContext, SaverWindow.RenderingContext);
        return 0;
    default:
        return DefScreenSaverProc(window, message, wParam, lParam);
    }
}

BOOL WINAPI RegisterDialogClasses(HANDLE)
{
    // The dialog uses only system classes; the trackbar class is registered
    // by the dialog procedure itself.
    return TRUE;
}
