#include "shell/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "shell/linux_surface.h"

struct HeadlessContext {
    FrameSurface surface;  // first: HeadlessSurface hands out its address
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface pbuffer = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

namespace {

void PresentPbuffer(FrameSurface* self)
{
    auto* headless = reinterpret_cast<HeadlessContext*>(self);
    eglSwapBuffers(headless->display, headless->pbuffer);
}

EGLDisplay OpenSurfacelessDisplay()
{
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

HeadlessContext* CreateHeadlessContext(int width, int height, std::string* error)
{
    auto fail = [&](const char* reason, HeadlessContext* partial) -> HeadlessContext* {
        if (error != nullptr) {
            *error = reason;
        }
        DestroyHeadlessContext(partial);
        return nullptr;
    };
    if (width <= 0 || height <= 0) {
        return fail("the headless surface needs a positive width and height", nullptr);
    }

    auto* headless = new HeadlessContext;
    headless->surface.Present = PresentPbuffer;
    headless->display = OpenSurfacelessDisplay();
    if (headless->display == EGL_NO_DISPLAY || !eglInitialize(headless->display, nullptr, nullptr)) {
        headless->display = EGL_NO_DISPLAY;
        return fail("cannot open a headless EGL display (Mesa's surfaceless platform)", headless);
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        return fail("EGL offers no desktop OpenGL", headless);
    }

    const EGLint configAttributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_DEPTH_SIZE, 24,
        EGL_NONE,
    };
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (!eglChooseConfig(headless->display, configAttributes, &config, 1, &configCount) || configCount < 1) {
        return fail("no EGL configuration with RGBA8 and a 24-bit depth buffer", headless);
    }

    const EGLint pbufferAttributes[] = { EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE };
    headless->pbuffer = eglCreatePbufferSurface(headless->display, config, pbufferAttributes);
    if (headless->pbuffer == EGL_NO_SURFACE) {
        return fail("cannot create the headless pbuffer", headless);
    }
    // No profile requested: Mesa then gives a compatibility context, so the
    // fixed-function pipeline and immediate mode are there.
    headless->context = eglCreateContext(headless->display, config, EGL_NO_CONTEXT, nullptr);
    if (headless->context == EGL_NO_CONTEXT) {
        return fail("cannot create an OpenGL context", headless);
    }
    if (!eglMakeCurrent(headless->display, headless->pbuffer, headless->pbuffer, headless->context)) {
        return fail("cannot make the OpenGL context current", headless);
    }
    return headless;
}

void DestroyHeadlessContext(HeadlessContext* headless)
{
    if (headless == nullptr) {
        return;
    }
    if (headless->display != EGL_NO_DISPLAY) {
        eglMakeCurrent(headless->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (headless->context != EGL_NO_CONTEXT) {
            eglDestroyContext(headless->display, headless->context);
        }
        if (headless->pbuffer != EGL_NO_SURFACE) {
            eglDestroySurface(headless->display, headless->pbuffer);
        }
        eglTerminate(headless->display);
    }
    delete headless;
}

FrameSurface* HeadlessSurface(HeadlessContext* headless)
{
    return headless != nullptr ? &headless->surface : nullptr;
}
