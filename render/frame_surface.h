#pragma once
// The seam between the renderer and the platform's GL context: the surface a
// frame is presented on. On Windows it is the window's device context (HDC);
// on Linux the context layer (GLX or EGL) defines it.
struct FrameSurface;

// Presents the finished frame (a buffer swap). Implemented by the context layer.
void PresentFrame(FrameSurface* surface);
