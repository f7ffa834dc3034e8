// Process entry of the screen saver module.
#include <windows.h>

#include "shell/win32_saver_library.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The whole line, module path included: the mode parser skips the path
    // itself, quoted or not.
    return RunScreenSaver(instance, GetCommandLineA());
}
