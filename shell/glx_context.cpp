#include "shell/glx_context.h"

#include <GL/glx.h>

#include "render/outline_font.h"
#include "shell/gl_api.h"
#include "shell/linux_surface.h"

struct GlxWindowContext {
    FrameSurface surface;  // first: GlxSurface hands out its address
    Display* display = nullptr;
    Window window = 0;
    GLXContext context = nullptr;
    bool doubleBuffered = false;
};

namespace {

void PresentWindow(FrameSurface* self)
{
    auto* glx = reinterpret_cast<GlxWindowContext*>(self);
    if (glx->context == nullptr) {
        return;
    }
    if (glx->doubleBuffered) {
        glXSwapBuffers(glx->display, glx->window);
    } else {
        // A foreign window's visual may be single-buffered: the frame is
        // already in the front buffer and only has to reach the server.
        glFlush();
    }
}

}  // namespace

XVisualInfo* ChooseSaverVisual(Display* display, int screen)
{
    for (int depthBits : {24, 16, 0}) {
        int attributes[] = {
            GLX_RGBA, GLX_DOUBLEBUFFER,
            GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
            GLX_DEPTH_SIZE, depthBits,
            None,
        };
        if (XVisualInfo* visual = glXChooseVisual(display, screen, attributes)) {
            return visual;
        }
    }
    return nullptr;
}

XVisualInfo* WindowVisual(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return nullptr;
    }
    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    return XGetVisualInfo(display, VisualIDMask, &wanted, &count);
}

GlxWindowContext* CreateGLContext(Display* display, Window window, XVisualInfo* visual, std::string* warning)
{
    auto* glx = new GlxWindowContext;
    glx->surface.Present = PresentWindow;
    glx->display = display;
    glx->window = window;

    int usesGl = 0;
    int rgba = 0;
    int doubleBuffered = 0;
    if (visual != nullptr && glXGetConfig(display, visual, GLX_USE_GL, &usesGl) == 0 && usesGl &&
        glXGetConfig(display, visual, GLX_RGBA, &rgba) == 0 && rgba) {
        glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
        glx->context = glXCreateContext(display, visual, nullptr, True);
    }
    if (glx->context != nullptr && !glXMakeCurrent(display, window, glx->context)) {
        glXDestroyContext(display, glx->context);
        glx->context = nullptr;
    }
    if (glx->context == nullptr) {
        if (warning != nullptr) {
            *warning = "no OpenGL context for this window's visual; nothing will be drawn";
        }
    } else {
        glx->doubleBuffered = doubleBuffered != 0;
    }
    BuildOutlineFont(&glx->surface);
    return glx;
}

void DestroyGLContext(GlxWindowContext* glx)
{
    if (glx == nullptr) {
        return;
    }
    glXMakeCurrent(glx->display, None, nullptr);
    if (glx->context != nullptr) {
        glXDestroyContext(glx->display, glx->context);
    }
    delete glx;
}

FrameSurface* GlxSurface(GlxWindowContext* glx)
{
    return glx != nullptr ? &glx->surface : nullptr;
}
