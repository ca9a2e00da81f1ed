// The button in a C++ program: the same dialog, through the C++ header that
// wraps the button's messages and notifications.

#include "dialog_ids.h"
#include "drive.h"

// [button.md: cpp]
#include <quorvelinde/button.hpp>
// [button.md: cpp]

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_events;
quorvelinde::Button g_save;
quorvelinde::ButtonEvents g_handlers;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    // [button.md: cpp-dispatch]
    g_handlers.Dispatch(g_save, message, lParam);
    // [button.md: cpp-dispatch]
    return CountingDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    quorvelinde::RegisterButtonClass(instance);
    const HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_BUTTONS), nullptr, DialogProc, 0);
    if (!dialog) {
        std::printf("FAIL the dialog cannot be created (%lu)\n", GetLastError());
        return 1;
    }
    // [button.md: cpp-events]
    g_save = quorvelinde::Button(dialog, IDC_SAVE);
    g_save.SetPicturePosition(0);
    g_handlers.Click = [] { g_events.push_back("Click"); };
    g_handlers.MouseIn = [](int) { g_events.push_back("MouseIn"); };
    // [button.md: cpp-events]
    int failed = DriveButtons(dialog);
    // Alt+S and the screen reader's default action click; Enter is the dialog's own WM_COMMAND.
    const bool clicked = std::count(g_events.begin(), g_events.end(), "Click") == 2;
    std::printf("%s the Click event came for Alt+S and for the default action\n", clicked ? "ok  " : "FAIL");
    failed += clicked ? 0 : 1;
    const bool hovered = std::count(g_events.begin(), g_events.end(), "MouseIn") >= 1;
    std::printf("%s MouseIn came as a callback\n", hovered ? "ok  " : "FAIL");
    failed += hovered ? 0 : 1;
    DestroyWindow(dialog);
    std::printf("%s: %d failed\n", failed ? "FAIL" : "PASS", failed);
    return failed ? 1 : 0;
}
