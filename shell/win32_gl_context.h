#pragma once
// The saver window's OpenGL context on WGL.
#include <windows.h>

// Sets a double-buffered RGBA pixel format (24 colour, 24 depth bits) on the
// window's device context, creates the context, makes it current and builds
// the outline font. Nothing is checked: without a context the saver simply
// draws nothing.
void CreateGLContext(HWND window, HDC& deviceContext, HGLRC& renderingContext);
// Unbinds and deletes the context and releases the device context.
void DestroyGLContext(HWND window, HDC deviceContext, HGLRC renderingContext);
