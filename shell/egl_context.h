#pragma once
// A headless GL context (EGL on Mesa's surfaceless platform, compatibility
// profile) with an RGBA8 + depth 24 pbuffer: for --snapshot and the tests.
#include <string>

struct FrameSurface;
struct HeadlessContext;

// Creates the context, makes it current and returns it; nullptr with a reason on failure.
HeadlessContext* CreateHeadlessContext(int width, int height, std::string* error);
// Unbinds and destroys it.
void DestroyHeadlessContext(HeadlessContext* context);
// The surface RenderFrame presents on (presenting a pbuffer changes nothing).
FrameSurface* HeadlessSurface(HeadlessContext* context);
