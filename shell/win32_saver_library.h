#pragma once
// Our screen saver library: process entry, the modes of the command line, the
// saver window with its class and message loop, and closing on user input.
// The saver itself supplies the three hooks declared first.
#include <windows.h>

// The saver window's procedure; every message it does not handle goes to
// DefScreenSaverProc.
LRESULT WINAPI ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Called before the configuration dialog is shown; FALSE stops it.
BOOL WINAPI RegisterDialogClasses(HANDLE instance);
// The dialog procedure of the configuration dialog template.
INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The library's default handling of a saver window message: closes the saver
// on input (never the preview), hides the cursor, ends in DefWindowProc.
LRESULT WINAPI DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr char SaverWindowClass[] = "WindowsScreenSaverClass";

// Runs the module for a whole command line (as GetCommandLineA gives it) and
// returns the process's exit code: the quit code of the saver's message loop,
// the dialog's result, or -1 for a command line it cannot act on.
int RunScreenSaver(HINSTANCE instance, const char* commandLine);
