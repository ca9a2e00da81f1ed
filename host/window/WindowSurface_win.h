#pragma once
// A control surface on a child window: the window's enabled flag, pointer
// shape and icon, colours and font, and an off-screen image of the window's
// size into which the control draws and which serves every repaint. The
// control's window procedure hands it the messages it answers.

#include "host/gdi/GdiFont_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/window/ControlSurface.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace qv {

class WindowSurface final : public ControlSurface {
public:
    WindowSurface(HWND window, Text tag);
    ~WindowSurface() override;
    WindowSurface(const WindowSurface&) = delete;
    WindowSurface& operator=(const WindowSurface&) = delete;

    bool Enabled() const override;
    void SetEnabled(bool enabled) override;
    std::int16_t MousePointer() const override { return m_pointer; }
    void SetMousePointer(std::int16_t shape) override;
    PictureRef MouseIcon() const override { return m_mouseIcon; }
    void SetMouseIcon(const PictureRef& icon) override;
    WindowHandle Handle() const override { return reinterpret_cast<WindowHandle>(m_window); }
    void SetText(const Text& text) override;
    void SetBackColor(OleColor colour) override;
    void SetForeColor(OleColor colour) override;
    FontRef Font() const override { return m_font->Copy(); }
    void SetFont(const FontObject& font) override;
    void SetScaleMode(ScaleMode mode) override;
    void SetStretchMode(std::int32_t mode) override;
    Text Tag() const override { return m_tag; }
    std::int32_t HimetricToPixels(std::int32_t himetric) const override;
    std::int32_t ScaleWidth() const override;
    std::int32_t ScaleHeight() const override;
    void SetWidthTwips(std::int32_t twips) override;
    void SetHeightTwips(std::int32_t twips) override;
    void Invalidate() override;
    void ShowNow() override;

    // The image's drawing context, with the surface's font selected and a
    // transparent text background.
    HDC ImageDC() const noexcept { return m_image->dc.Get(); }
    // Clears the image with the background colour.
    void Cls() { m_image->Fill(m_backColor); }
    OleColor BackColor() const noexcept { return m_backColor; }
    OleColor ForeColor() const noexcept { return m_foreColor; }
    // While held, a redraw changes the image but does not show it: the window
    // shows it with the next paint something else asks for (WM_SETFONT without redraw).
    void HoldShowing(bool held) noexcept { m_showingHeld = held; }
    // The window's text is being set from the surface's own text, not from outside.
    bool SettingText() const noexcept { return m_settingText; }
    // After WM_NCDESTROY: the surface has no window any more, and Handle() is 0.
    void WindowGone() noexcept { m_window = nullptr; }

    // WM_SIZE: the image takes the window's new size, keeping what it shows.
    void Resized();
    // WM_PAINT and WM_PRINTCLIENT: copies the image's `area` to `dc`.
    void PaintTo(HDC dc, const RECT& area) const;
    // WM_PAINT is done: the window shows the image.
    void Painted() noexcept { m_paintPending = false; }
    // WM_SETCURSOR over the client area: true when the surface set the cursor.
    bool ApplyCursor() const;
    // WM_DPICHANGED_AFTERPARENT: the font is made again at the new density.
    void DensityChanged();

private:
    // Members in this order: the selections are undone before the bitmap and
    // the context that hold them go.
    struct Image {
        // `windowDC`: the window's own context, which the image is made compatible with.
        Image(HDC windowDC, int width, int height, HFONT font, int stretchMode);
        Image(const Image&) = delete;
        Image& operator=(const Image&) = delete;

        void Fill(OleColor colour) const;

        OwnedMemoryDC dc;
        OwnedBitmap bitmap;
        Selection bitmapSelected;
        Selection fontSelected;
        int width;
        int height;
    };
    std::unique_ptr<Image> MakeImage(int width, int height) const;
    SIZE ClientSize() const;
    int Dpi() const;

    HWND m_window;
    Text m_tag;
    std::int16_t m_pointer = PointerDefault;
    PictureRef m_mouseIcon;
    OleColor m_backColor = 0x8000000F;
    OleColor m_foreColor = 0x80000012;
    FontRef m_font = std::make_shared<FontObject>();
    OwnedFont m_fontHandle;
    bool m_showingHeld = false;
    bool m_settingText = false;
    int m_stretchMode = 0;
    // The window is invalid until its next WM_PAINT; invalidating again adds nothing.
    bool m_paintPending = false;
    std::unique_ptr<Image> m_image;
};

}  // namespace qv
