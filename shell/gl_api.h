#pragma once
// OpenGL 1.1 and GLU, the only graphics interfaces the portable code uses.
#if defined(_WIN32)
#include "shell/win32_gl_prelude.h"
#endif
#include <GL/gl.h>
#include <GL/glu.h>
