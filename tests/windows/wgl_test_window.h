#pragma once
// A GoogleTest fixture with the saver's own GL context on a hidden window:
// CreateGLContext sets the pixel format, makes the context current and builds
// the outline font, as on a saver window. Wine draws through the X server, so
// these tests need DISPLAY.
#include <windows.h>

#include <gtest/gtest.h>

#include "shell/win32_gl_context.h"

class WglTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const ATOM windowClass = [] {
            WNDCLASSA description = {};
            description.style = CS_OWNDC;
            description.lpfnWndProc = DefWindowProcA;
            description.hInstance = GetModuleHandleA(nullptr);
            description.lpszClassName = "OrinthalTestWindow";
            return RegisterClassA(&description);
        }();
        ASSERT_NE(windowClass, 0);
        window_ = CreateWindowA("OrinthalTestWindow", "GL test", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        CreateGLContext(window_, dc_, rc_);
        ASSERT_NE(rc_, nullptr) << "no GL context: is DISPLAY set?";
        ASSERT_EQ(wglGetCurrentContext(), rc_);
    }

    void TearDown() override
    {
        if (window_ != nullptr) {
            DestroyGLContext(window_, dc_, rc_);
            DestroyWindow(window_);
        }
    }

    HDC DeviceContext() const { return dc_; }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
    HGLRC rc_ = nullptr;
};
