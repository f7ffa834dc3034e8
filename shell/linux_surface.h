#pragma once
// On Linux a FrameSurface is the head of a context layer's own record (GLX
// window or EGL pbuffer); it says how that layer presents a frame.
#include "render/frame_surface.h"

struct FrameSurface {
    void (*Present)(FrameSurface* self);
};
