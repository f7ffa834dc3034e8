// The configuration dialog's procedure: shows the ten settings and saves them
// on OK.
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "shell/settings_store.h"
#include "shell/win32_resource_ids.h"
#include "shell/win32_saver_library.h"

namespace {

LRESULT SendItem(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

void SetupTrackbar(HWND dialog, int id, int minimum, int maximum, int position)
{
    SendItem(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(minimum, maximum));
    SendItem(dialog, id, TBM_SETPOS, TRUE, position);
}

int TrackbarPosition(HWND dialog, int id)
{
    return static_cast<int>(SendItem(dialog, id, TBM_GETPOS, 0, 0));
}

void SetCheck(HWND dialog, int id, uint8_t flag)
{
    SendItem(dialog, id, BM_SETCHECK, flag != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

uint8_t CheckedFlag(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

void ShowSettings(HWND dialog)
{
    LoadSettings();
    const SaverSettingsRecord& s = SaverSettings;

    SendItem(dialog, IDC_STAR_NUMBER, TBM_SETRANGE, TRUE, MAKELPARAM(1000, 5000));
    SendItem(dialog, IDC_STAR_NUMBER, TBM_SETTICFREQ, 500, 0);
    SendItem(dialog, IDC_STAR_NUMBER, TBM_SETPOS, TRUE, s.Number);
    SetupTrackbar(dialog, IDC_ROTATE_SPEED, 1, 4, s.RotateSpeed);
    SetupTrackbar(dialog, IDC_TRAVEL_SPEED, 10, 30, s.TravelSpeed);
    SetupTrackbar(dialog, IDC_CYCLE_LENGTH, 10, 120, s.CycleLength);

    SendItem(dialog, IDC_TEXT, EM_LIMITTEXT, TextFieldBytes, 0);
    // The stored text is terminated within its field by the store; a copy with
    // a zero of its own keeps the edit box safe whatever the record holds.
    char text[TextFieldBytes + 1] = {};
    std::memcpy(text, s.Text, TextFieldBytes);
    SendItem(dialog, IDC_TEXT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));

    SetCheck(dialog, IDC_BACKGROUND, s.Background);
    SetCheck(dialog, IDC_TEXT_ON, s.TextOn);
    SetCheck(dialog, IDC_ROTATE_X, s.RotateX);
    SetCheck(dialog, IDC_ROTATE_Y, s.RotateY);
    SetCheck(dialog, IDC_ROTATE_Z, s.RotateZ);
}

void ReadBackAndSave(HWND dialog)
{
    SaverSettingsRecord& s = SaverSettings;
    s.Number = TrackbarPosition(dialog, IDC_STAR_NUMBER);
    s.RotateSpeed = TrackbarPosition(dialog, IDC_ROTATE_SPEED);
    s.TravelSpeed = TrackbarPosition(dialog, IDC_TRAVEL_SPEED);
    s.CycleLength = TrackbarPosition(dialog, IDC_CYCLE_LENGTH);
    // A buffer of the field's size: at most 69 characters and the zero.
    SendItem(dialog, IDC_TEXT, WM_GETTEXT, TextFieldBytes, reinterpret_cast<LPARAM>(s.Text));
    s.Background = CheckedFlag(dialog, IDC_BACKGROUND);
    s.TextOn = CheckedFlag(dialog, IDC_TEXT_ON);
    s.RotateX = CheckedFlag(dialog, IDC_ROTATE_X);
    s.RotateY = CheckedFlag(dialog, IDC_ROTATE_Y);
    s.RotateZ = CheckedFlag(dialog, IDC_ROTATE_Z);
    SaveSettings();
}

}  // namespace

INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    // The trackbar class must exist before the dialog's controls are made, and
    // the first messages of a dialog with its own font arrive before that.
    InitCommonControls();

    switch (message) {
    case WM_INITDIALOG:
        ShowSettings(dialog);
        // Focus goes to the first tab stop, the OK button.
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            ReadBackAndSave(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
