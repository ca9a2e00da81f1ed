#pragma once
// The launcher window on Win32: creates the window and its labels, hosts the
// sequence with the platform's services, and turns window messages into its
// load and activation handlers.

#include "StaticLabel_win.h"
#include "win_Main.h"

#include "host/FileOutput_win.h"
#include "host/LauncherServices_win.h"
#include "host/MessagePump_win.h"
#include "host/TickCounter_win.h"
#include "host/UrlMonikerReadService_win.h"

#include <windows.h>

#include <memory>
#include <optional>

namespace qv {

class MainWindow final {
public:
    explicit MainWindow(const Text& server);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Loads the window (its load handler runs), then shows it centred on the screen.
    void LoadAndShow();
    // Runs until the sequence ends the process.
    int RunMessageLoop();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateLabel(int id, const wchar_t* text, int top);

    WindowsLauncherServices m_platform;
    WindowsMessagePump m_pump;
    SystemTickCounter m_ticks;
    WindowsFileOutput m_files;
    UrlMonikerReadService m_readsOfNetGrab1;
    UrlMonikerReadService m_readsOfNetGrab2;

    HWND m_window = nullptr;
    std::optional<StaticLabel> m_status;
    std::unique_ptr<win_Main> m_main;
};

}  // namespace qv
