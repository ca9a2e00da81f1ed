/* The button from C: three of them placed by a dialog template, given
   pictures and colours through their messages; the dialog tells which one
   was clicked. Run it with tools/button-dialog. */

#include "button_dialog_ids.h"

#include <quorvelinde/button.h>

#include <stdio.h>

static void ShowClick(HWND dialog, int id, WORD code)
{
    WCHAR caption[64] = L"";
    WCHAR line[160];
    GetDlgItemTextW(dialog, id, caption, 64);
    swprintf(line, 160, code == BN_DOUBLECLICKED ? L"Doppelt geklickt: %ls" : L"Geklickt: %ls", caption);
    SetDlgItemTextW(dialog, IDC_STATUS, line);
}

static void SetUpButtons(HWND dialog)
{
    const HWND save = GetDlgItem(dialog, IDC_SAVE);
    const HWND open = GetDlgItem(dialog, IDC_OPEN);
    const HWND help = GetDlgItem(dialog, IDC_HELP_BUTTON);
    /* Stock icons belong to the system: nothing to free when the dialog goes. */
    SendMessageW(save, QVBM_SETPICTURE, IMAGE_ICON, (LPARAM)LoadIcon(NULL, IDI_INFORMATION));
    SendMessageW(save, QVBM_SETPICTURESIZE, 16, 16);
    SendMessageW(save, QVBM_SETPICTUREPOSITION, 1, 0);
    SendMessageW(open, QVBM_SETPICTURE, IMAGE_ICON, (LPARAM)LoadIcon(NULL, IDI_QUESTION));
    SendMessageW(open, QVBM_SETPICTURESIZE, 16, 16);
    SendMessageW(open, QVBM_SETPICTUREPOSITION, 0, 0);
    SendMessageW(help, QVBM_SETCOLOR, QVBC_BACK, RGB(232, 240, 252));
    SendMessageW(help, QVBM_SETCOLOR, QVBC_HOVER, RGB(200, 220, 250));
    SendMessageW(help, QVBM_SETCOLOR, QVBC_PRESSED, RGB(150, 190, 240));
}

static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        SetUpButtons(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == BN_DOUBLECLICKED) {
            ShowClick(dialog, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)previous;
    (void)commandLine;
    (void)show;
    if (!QvButtonRegister(instance, FALSE)) {
        fprintf(stderr, "the button class cannot be registered (%lu)\n", GetLastError());
        return 1;
    }
    return (int)DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_EXAMPLE), NULL, DialogProc, 0);
}
