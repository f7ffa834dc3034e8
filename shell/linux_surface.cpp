#include "shell/linux_surface.h"

void PresentFrame(FrameSurface* surface)
{
    if (surface != nullptr && surface->Present != nullptr) {
        surface->Present(surface);
    }
}
