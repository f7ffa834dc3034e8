// The saver window's GL context on WGL, and presenting a frame.
#include <windows.h>

#include "render/frame_surface.h"
#include "render/outline_font.h"
#include "shell/win32_gl_context.h"

void CreateGLContext(HWND window, HDC& deviceContext, HGLRC& renderingContext)
{
    PIXELFORMATDESCRIPTOR request = {};
    request.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    request.nVersion = 1;
    request.dwFlags = PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    request.iPixelType = PFD_TYPE_RGBA;
    request.cColorBits = 24;
    // The flying text is drawn with depth testing; ask for a real depth buffer.
    request.cDepthBits = 24;
    request.iLayerType = PFD_MAIN_PLANE;

    deviceContext = GetDC(window);
    const int format = ChoosePixelFormat(deviceContext, &request);
    SetPixelFormat(deviceContext, format, &request);
    renderingContext = wglCreateContext(deviceContext);
    wglMakeCurrent(deviceContext, renderingContext);
    BuildOutlineFont(reinterpret_cast<FrameSurface*>(deviceContext));
}

void DestroyGLContext(HWND window, HDC deviceContext, HGLRC renderingContext)
{
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(renderingContext);
    ReleaseDC(window, deviceContext);
}

// On Windows a frame surface is the window's device context.
void PresentFrame(FrameSurface* surface)
{
    SwapBuffers(reinterpret_cast<HDC>(surface));
}
