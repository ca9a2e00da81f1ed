#pragma once
// The button gallery: one window with buttons in every arrangement and look,
// placed as a plain Win32 parent places them.

#include "host/BoundWindow_win.h"
#include "host/GdiObject_win.h"

#include <windows.h>

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

    Font m_font;
    Font m_titleFont;
};

}  // namespace qv
