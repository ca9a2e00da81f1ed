#include "drive.h"

#include "dialog_ids.h"

#include <stdio.h>

int g_clicked[256];

INT_PTR CALLBACK CountingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)dialog;
    (void)lParam;
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) < 256) {
        ++g_clicked[LOWORD(wParam)];
        return TRUE;
    }
    return FALSE;
}

/* Runs the dialog's messages as its loop would, for a while. */
static void Pump(HWND dialog, DWORD milliseconds)
{
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MSG msg;
        MsgWaitForMultipleObjectsEx(0, NULL, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }
}

static void Key(WORD key, BOOL up)
{
    INPUT input;
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

static void ClickAt(HWND control)
{
    RECT box;
    INPUT input[2];
    GetWindowRect(control, &box);
    SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    ZeroMemory(input, sizeof input);
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
}

static int Check(int holds, const char* what)
{
    printf("%s %s\n", holds ? "ok  " : "FAIL", what);
    return holds ? 0 : 1;
}

int DriveButtons(HWND dialog)
{
    const HWND save = GetDlgItem(dialog, IDC_SAVE);
    const HWND load = GetDlgItem(dialog, IDC_LOAD);
    int failed = 0;
    ShowWindow(dialog, SW_SHOWNORMAL);
    SetForegroundWindow(dialog);
    Pump(dialog, 300);

    SetFocus(save);
    Key(VK_TAB, FALSE);
    Key(VK_TAB, TRUE);
    Pump(dialog, 300);
    failed += Check(GetFocus() == load, "Tab moves from the first button to the second");
    Key(VK_TAB, FALSE);
    Key(VK_TAB, TRUE);
    Pump(dialog, 300);
    failed += Check(GetFocus() == GetDlgItem(dialog, IDC_NAME), "and from there to the edit box");

    ClickAt(load);
    Pump(dialog, 500);
    failed += Check(g_clicked[IDC_LOAD] == 1, "a click on \"Laden\" tells the dialog BN_CLICKED");

    Key(VK_MENU, FALSE);
    Key('S', FALSE);
    Key('S', TRUE);
    Key(VK_MENU, TRUE);
    Pump(dialog, 500);
    failed += Check(g_clicked[IDC_SAVE] == 1, "Alt+S clicks \"&Speichern\"");

    SendMessageW(load, BM_CLICK, 0, 0);
    Pump(dialog, 100);
    failed += Check(g_clicked[IDC_LOAD] == 2, "BM_CLICK clicks \"Laden\"");
    return failed;
}
