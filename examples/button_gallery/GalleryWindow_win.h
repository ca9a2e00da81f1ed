#pragma once
// The button gallery: buttons in every arrangement and look, placed as a
// plain Win32 parent places them, with a log of their events and Save and
// Load of all their properties.

#include "host/base/Text.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/window/BoundWindow_win.h"

#include <windows.h>

#include <vector>

namespace qv {

class GalleryWindow final : private BoundWindow {
public:
    explicit GalleryWindow(HINSTANCE instance);
    ~GalleryWindow();

    using BoundWindow::Handle;
    int RunMessageLoop();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PlaceButtons(HINSTANCE instance);
    void PlacePanel(HINSTANCE instance);
    void Log(const Text& line);
    // One file per gallery button in the store folder beside the program.
    Text StoreFile(int id) const;
    void SaveAll();
    void LoadAll();

    OwnedFont m_font;
    OwnedFont m_titleFont;
    HWND m_log = nullptr;
    std::vector<HWND> m_samples;
};

}  // namespace qv
