#pragma once
// A GoogleTest fixture that gives each test its own headless GL context
// (EGL, Mesa llvmpipe), current for the whole test.
#include <gtest/gtest.h>

#include <string>

#include "shell/egl_context.h"

class GlTest : public ::testing::Test {
protected:
    // Override to choose the size of the pbuffer.
    virtual int SurfaceWidth() const { return 256; }
    virtual int SurfaceHeight() const { return 256; }

    void SetUp() override
    {
        std::string error;
        context_ = CreateHeadlessContext(SurfaceWidth(), SurfaceHeight(), &error);
        ASSERT_NE(context_, nullptr) << error;
    }
    void TearDown() override { DestroyHeadlessContext(context_); }

    FrameSurface* Surface() const { return HeadlessSurface(context_); }

private:
    HeadlessContext* context_ = nullptr;
};
