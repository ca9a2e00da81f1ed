#include "drive.h"

#include "dialog_ids.h"

#include <quorvelinde/button.h>

#include <oleacc.h>

#include <stdio.h>

int g_clicked[256];

/* What "Speichern" told of its hover and a key. */
static int g_mouseIns;
static int g_mouseOuts;
static int g_keyDown;
static int g_keyPress;

/* [button.md: c-notify] */
INT_PTR CALLBACK CountingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)dialog;
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) < 256) {
        ++g_clicked[LOWORD(wParam)];
        return TRUE;
    }
    if (message == WM_NOTIFY && wParam == IDC_SAVE) {
        const NMQVBUTTON* told = (const NMQVBUTTON*)lParam;
        switch (told->hdr.code) {
        case QVBN_MOUSEIN:
            ++g_mouseIns;
            break;
        case QVBN_MOUSEOUT:
            ++g_mouseOuts;
            break;
        case QVBN_KEYDOWN:
            g_keyDown = told->keyCode;
            break;
        case QVBN_KEYPRESS:
            g_keyPress = told->character;
            break;
        }
        return TRUE;
    }
    return FALSE;
}
/* [button.md: c-notify] */

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

static void PointAt(HWND control)
{
    RECT box;
    INPUT input;
    GetWindowRect(control, &box);
    ZeroMemory(&input, sizeof input);
    input.type = INPUT_MOUSE;
    input.mi.dx = (LONG)(((box.left + box.right) / 2 * 65535 + 32767) / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = (LONG)(((box.top + box.bottom) / 2 * 65535 + 32767) / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

/* IID_IAccessible, spelled out: a C program has no __uuidof, and linking a library that defines it is not needed. */
static const GUID AccessibleInterface = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

static BOOL IsDefault(HWND control)
{
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
}

static void Keys(WORD first, WORD second)
{
    Key(first, FALSE);
    if (second) {
        Key(second, FALSE);
        Key(second, TRUE);
    }
    Key(first, TRUE);
}

static int Check(int holds, const char* what)
{
    printf("%s %s\n", holds ? "ok  " : "FAIL", what);
    return holds ? 0 : 1;
}

/* The default push button moves with the focus among the buttons and the stock
   one, Enter clicks it, and DM_SETDEFID names it, as among stock buttons. */
static int DriveDefaultButton(HWND dialog)
{
    const HWND save = GetDlgItem(dialog, IDC_SAVE);
    const HWND load = GetDlgItem(dialog, IDC_LOAD);
    const HWND stock = GetDlgItem(dialog, IDC_STOCK);
    const int clicks = g_clicked[IDC_SAVE];
    int failed = 0;
    SetFocus(GetDlgItem(dialog, IDC_NAME));
    Keys(VK_TAB, 0);
    Pump(dialog, 300);
    failed += Check(GetFocus() == stock && IsDefault(stock) && !IsDefault(save), "Tab onto the stock button makes it the default");
    Keys(VK_TAB, 0);
    Pump(dialog, 300);
    failed += Check(GetFocus() == save && IsDefault(save) && !IsDefault(stock), "Tab onto \"Speichern\" makes it the default");
    Keys(VK_RETURN, 0);
    Pump(dialog, 300);
    failed += Check(g_clicked[IDC_SAVE] == clicks + 1, "and Enter clicks it");
    Keys(VK_SHIFT, VK_TAB);
    Pump(dialog, 300);
    failed += Check(GetFocus() == stock && IsDefault(stock) && !IsDefault(save),
                    "Shift+Tab onto the stock button makes that one the default again");
    SendMessageW(dialog, DM_SETDEFID, IDC_LOAD, 0);
    failed += Check(IsDefault(load) && !IsDefault(stock), "DM_SETDEFID makes \"Laden\" the default");
    SendMessageW(dialog, DM_SETDEFID, IDC_STOCK, 0);
    failed += Check(IsDefault(stock) && !IsDefault(load), "and gives it back to the stock button");
    return failed;
}

/* What a screen reader finds: a push button named by its caption, pressed the standard way. */
static int ReadAsScreenReadersDo(HWND save)
{
    IAccessible* accessible = NULL;
    VARIANT self;
    VARIANT role;
    BSTR name = NULL;
    const int clicks = g_clicked[IDC_SAVE];
    int failed = 0;
    CoInitialize(NULL);
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    if (FAILED(AccessibleObjectFromWindow(save, (DWORD)OBJID_CLIENT, &AccessibleInterface, (void**)&accessible))) {
        CoUninitialize();
        return Check(0, "screen readers find \"Speichern\"");
    }
    VariantInit(&role);
    accessible->lpVtbl->get_accRole(accessible, self, &role);
    accessible->lpVtbl->get_accName(accessible, self, &name);
    failed += Check(role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_PUSHBUTTON && name && lstrcmpW(name, L"Speichern") == 0,
                    "screen readers find a push button named \"Speichern\"");
    SysFreeString(name);
    accessible->lpVtbl->accDoDefaultAction(accessible, self);
    Pump(GetParent(save), 300);
    failed += Check(g_clicked[IDC_SAVE] == clicks + 1, "and its default action clicks it");
    accessible->lpVtbl->Release(accessible);
    CoUninitialize();
    return failed;
}

int DriveButtons(HWND dialog)
{
    const HWND save = GetDlgItem(dialog, IDC_SAVE);
    const HWND load = GetDlgItem(dialog, IDC_LOAD);
    int failed = 0;
    int ins;
    int outs;
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

    ins = g_mouseIns;
    outs = g_mouseOuts;
    PointAt(save);
    Pump(dialog, 400);
    failed += Check(g_mouseIns == ins + 1 && g_mouseOuts == outs, "the pointer over \"Speichern\" tells QVBN_MOUSEIN");
    PointAt(GetDlgItem(dialog, IDC_NAME));
    Pump(dialog, 400);
    failed += Check(g_mouseOuts == outs + 1, "and away from it QVBN_MOUSEOUT");
    SetFocus(save);
    Key('K', FALSE);
    Key('K', TRUE);
    Pump(dialog, 300);
    failed += Check(g_keyDown == 'K' && g_keyPress == 'k', "a key on \"Speichern\" tells QVBN_KEYDOWN and QVBN_KEYPRESS");
    failed += DriveDefaultButton(dialog);
    failed += ReadAsScreenReadersDo(save);
    return failed;
}
