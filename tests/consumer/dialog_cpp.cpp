// The button in a C++ program: the same dialog, and the button's C++
// interface beside its messages.

#include "dialog_ids.h"
#include "drive.h"

// [button.md: cpp]
#include "button/ButtonWindow_win.h"
// [button.md: cpp]

#include <cstdio>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    qv::ButtonWindow::Register(instance);
    const HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_BUTTONS), nullptr, CountingDialogProc, 0);
    if (!dialog) {
        std::printf("FAIL the dialog cannot be created (%lu)\n", GetLastError());
        return 1;
    }
    std::vector<std::string> events;
    // [button.md: cpp-events]
    qv::ButtonWindow* save = qv::ButtonWindow::FromHandle(GetDlgItem(dialog, IDC_SAVE));
    save->Control().SetPicturePosition(0);
    qv::ButtonEvents handlers;
    handlers.Click = [&events] { events.push_back("Click"); };
    save->SetEvents(handlers);
    // [button.md: cpp-events]
    int failed = DriveButtons(dialog);
    const bool clicked = events.size() == 1 && events[0] == "Click";
    std::printf("%s the Click event came once, with Alt+S\n", clicked ? "ok  " : "FAIL");
    failed += clicked ? 0 : 1;
    DestroyWindow(dialog);
    std::printf("%s: %d failed\n", failed ? "FAIL" : "PASS", failed);
    return failed ? 1 : 0;
}
