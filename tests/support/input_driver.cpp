// Drives a window of another program as a user would: moves the pointer and
// presses mouse buttons and keys through SendInput, and reads list boxes.
//
//   input_driver.exe TITLE COMMAND...
//
//   point ID X Y   move the pointer to (X, Y) of control ID's client area
//   down, up       press or release the left mouse button
//   key VK         press and release a key (a virtual-key code, decimal)
//   wait MS        let MS milliseconds pass
//   log ID         print the items of list box ID, one a line (UTF-8)
//   quit           post WM_QUIT to the thread of the window, as a program's
//                  own PostQuitMessage would leave it in the queue
//
// TITLE is the top-level window's title. Exits 1 when the window or a
// control is missing, 2 on a command it does not know.

#include "UserInput_win.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND g_window = nullptr;

HWND Control(const wchar_t* id)
{
    const HWND control = GetDlgItem(g_window, _wtoi(id));
    if (!control) {
        std::fprintf(stderr, "no control %ls\n", id);
        std::exit(1);
    }
    return control;
}

void PrintListBox(HWND list)
{
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        item.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
        char utf8[1024];
        const int length = WideCharToMultiByte(CP_UTF8, 0, item.c_str(), static_cast<int>(item.size()), utf8,
                                               sizeof utf8 - 1, nullptr, nullptr);
        utf8[length] = '\0';
        std::printf("%s\n", utf8);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: input_driver.exe TITLE COMMAND...\n");
        return 2;
    }
    g_window = FindWindowW(nullptr, argv[1]);
    if (!g_window) {
        std::fprintf(stderr, "no window titled %ls\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const std::wstring command = argv[i];
        if (command == L"point" && i + 3 < argc) {
            qv::PointerToClient(Control(argv[i + 1]), _wtoi(argv[i + 2]), _wtoi(argv[i + 3]));
            i += 3;
        } else if (command == L"down") {
            qv::SendMouseButton(MOUSEEVENTF_LEFTDOWN);
        } else if (command == L"up") {
            qv::SendMouseButton(MOUSEEVENTF_LEFTUP);
        } else if (command == L"key" && i + 1 < argc) {
            const auto key = static_cast<WORD>(_wtoi(argv[++i]));
            qv::KeyStroke(key, false);
            qv::KeyStroke(key, true);
        } else if (command == L"wait" && i + 1 < argc) {
            Sleep(static_cast<DWORD>(_wtoi(argv[++i])));
        } else if (command == L"log" && i + 1 < argc) {
            PrintListBox(Control(argv[++i]));
        } else if (command == L"quit") {
            PostThreadMessageW(GetWindowThreadProcessId(g_window, nullptr), WM_QUIT, 0, 0);
        } else {
            std::fprintf(stderr, "unknown command %ls\n", argv[i]);
            return 2;
        }
    }
    return 0;
}
