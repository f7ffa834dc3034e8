#pragma once
// The saver window's GL context on GLX. The context is made current at
// creation and stays current until it is destroyed; each frame is presented
// with a buffer swap on the window.
#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

struct FrameSurface;
struct GlxWindowContext;

// The visual for a window of our own: double-buffered RGBA with 24 colour
// bits and a 24-bit depth buffer (the flying text needs its depth test),
// settling for less depth if the server has none. Free it with XFree; null
// when the server has no double-buffered RGBA GL visual at all.
XVisualInfo* ChooseSaverVisual(Display* display, int screen);

// The visual of an existing window, to draw into it as it is. Free with XFree.
XVisualInfo* WindowVisual(Display* display, Window window);

// Creates a context on visual for window, makes it current and builds the
// outline font in it. Never null: when no context can be made the frames
// run and draw nothing, and *warning says why.
GlxWindowContext* CreateGLContext(Display* display, Window window, XVisualInfo* visual, std::string* warning);

// Unbinds and destroys the context, whatever happened at creation.
void DestroyGLContext(GlxWindowContext* context);

// The surface RenderFrame presents on.
FrameSurface* GlxSurface(GlxWindowContext* context);
