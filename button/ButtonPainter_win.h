#pragma once
// The button's drawing with GDI, on the window surface's off-screen image.

#include "ButtonCanvas.h"

#include "host/window/WindowSurface_win.h"

namespace qv {

class ButtonPainter final : public ButtonCanvas {
public:
    explicit ButtonPainter(WindowSurface& surface) : m_surface(surface) {}

    void Cls() override { m_surface.Cls(); }
    OleColor SysColor(std::uint32_t index) override;
    void FrameRect(const Rect& rect, OleColor rgb) override;
    Rect MeasureText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params) override;
    void PaintText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params) override;
    void SetTextColor(OleColor rgb) override;
    void DrawFocusRect(const Rect& rect) override;
    void DrawPicture(const PictureObject& picture, std::int32_t naturalWidth, std::int32_t naturalHeight,
                     std::int32_t drawnWidth, std::int32_t drawnHeight, std::int32_t x, std::int32_t y,
                     OleColor keyColour) override;

private:
    WindowSurface& m_surface;
};

// Copies source's (sourceX, sourceY) to (sourceRight, sourceBottom) onto
// destination at (x, y), leaving the destination unchanged wherever the
// source pixel has the key colour (RGB). Four memory surfaces compatible with
// `reference` carry two 1-bit masks, the background and the picture. A width
// or height above 32767 raises Overflow before anything is drawn.
void TransparentBlit(HDC destination, HDC reference, HDC source, std::int32_t sourceX, std::int32_t sourceY,
                     std::int32_t sourceRight, std::int32_t sourceBottom, std::int32_t x, std::int32_t y,
                     COLORREF keyColour);

}  // namespace qv
