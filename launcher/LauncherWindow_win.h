#pragma once
// The launcher window on Win32: a frameless window with its title, hint and
// status labels, the logo and a light frame, laid out for the display's
// density; it hosts the sequence with the platform's services and turns
// window messages into its load and activation handlers.

#include "ScaleSmooth.h"
#include "StaticLabel_win.h"
#include "VersionText.h"
#include "win_Main.h"
#include "WindowLayout.h"

#include "host/base/TickCounter_win.h"
#include "host/files/FileOutput_win.h"
#include "host/files/FileQueries_win.h"
#include "host/files/SignatureCheck_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/read/UrlMonikerReadService_win.h"
#include "host/shell/LauncherServices_win.h"
#include "host/window/BoundWindow_win.h"
#include "host/window/MessagePump_win.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

namespace qv {

class LauncherWindow final : private BoundWindow {
public:
    // Label ids, which other programs see on the labels' windows.
    enum LabelId { TitleId = 101, HintId = 102, StatusId = 103 };

    // The logo and the icon come from `resources`, normally the program's own
    // module. With `signerPins`, a downloaded client must be signed with one
    // of those keys to replace the local one.
    // Each step of the sequence goes to `log`, which must outlive the window.
    LauncherWindow(const Text& server, std::vector<KeyHash> signerPins, HMODULE resources, RunLog& log);
    ~LauncherWindow();
    LauncherWindow(const LauncherWindow&) = delete;
    LauncherWindow& operator=(const LauncherWindow&) = delete;

    // Loads the window (its load handler runs), then shows it centred on the screen.
    void LoadAndShow();
    // Runs until the sequence, the window's closing or an error report ends the process.
    [[noreturn]] void RunMessageLoop();

    using BoundWindow::Handle;
    // The status line as the sequence writes it; tests write long texts to it
    // to see it wrap, which a WM_SETTEXT from outside would not make it do.
    StaticLabel& StatusLabel() { return *lbl_Status; }

private:
    static ReadLimits VersionTextLimits()
    {
        ReadLimits limits;
        limits.maxBytes = MostVersionTextBytes;
        return limits;
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ApplyLayout(int dpi);
    void Paint(HDC dc) const;

    WindowsLauncherServices m_platform;
    WindowsMessagePump m_pump;
    SystemTickCounter m_ticks;
    WindowsFileOutput m_files;
    UrlMonikerReadService m_readsOfNetGrab1;
    // The version text is short: a longer answer is no version text, and the
    // read fails before it fills memory or the log.
    UrlMonikerReadService m_readsOfNetGrab2{UrlMonikerReadService::DefaultStallLimit, VersionTextLimits()};
    AuthenticodeCheck m_signatures;
    WindowsFileQueries m_savedClients;
    RunLog& m_log;

    WindowLayout m_layout;
    OwnedFont m_labelFont;
    // The logo at its natural size, and as drawn at the current density.
    PixelImage m_logoPicture;
    PixelImage img_Logo;
    OwnedIcon m_bigIcon;
    OwnedIcon m_smallIcon;
    // The title line, "Die Quorvelinde wird gestartet."
    std::optional<StaticLabel> lbl_Titel2;
    // The hint line below it.
    std::optional<StaticLabel> Label1;
    std::optional<StaticLabel> lbl_Status;
    std::unique_ptr<win_Main> m_main;
};

}  // namespace qv
