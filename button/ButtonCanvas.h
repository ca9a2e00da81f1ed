#pragma once
// The drawing the button's redraw asks for, on the surface's off-screen
// image. The Win32 implementation draws with GDI; every platform object it
// creates for a call is released before the call returns. Colours here are
// RGB values (red in the low byte) unless a call says otherwise.

#include "host/base/Rect.h"
#include "host/base/Text.h"
#include "host/gdi/Colour.h"
#include "host/gdi/Picture.h"

#include <cstdint>

namespace qv {

// The platform's DRAWTEXTPARAMS: tab length and margins in average character widths.
struct DrawTextParams {
    std::uint32_t cbSize = 0;
    std::int32_t iTabLength = 0;
    std::int32_t iLeftMargin = 0;
    std::int32_t iRightMargin = 0;
    std::uint32_t uiLengthDrawn = 0;
};

namespace TextFormat {
constexpr std::uint32_t Center = 0x1;
constexpr std::uint32_t VCenter = 0x4;
constexpr std::uint32_t WordBreak = 0x10;
constexpr std::uint32_t CalcRect = 0x400;
// The mnemonic's underline is left out; the '&' still marks it.
constexpr std::uint32_t HidePrefix = 0x100000;
}  // namespace TextFormat

class ButtonCanvas {
public:
    virtual ~ButtonCanvas() = default;

    // Clears the image with the surface's background colour.
    virtual void Cls() = 0;
    // The platform's system colour of that index, as RGB.
    virtual OleColor SysColor(std::uint32_t index) = 0;
    // A one-pixel frame in a solid colour: the rectangle's first and last rows and columns.
    virtual void FrameRect(const Rect& rect, OleColor rgb) = 0;
    // The extent of `text` wrapped at `rect`'s width with the surface font
    // (format DT_CALCRECT and the rest), as the platform measures it.
    virtual Rect MeasureText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params) = 0;
    virtual void PaintText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params) = 0;
    virtual void SetTextColor(OleColor rgb) = 0;
    // The dotted rectangle drawn by inverting pixels.
    virtual void DrawFocusRect(const Rect& rect) = 0;
    // Draws `picture` at its natural `natural` size, scales that to `drawn`
    // and copies it to (x, y), leaving the image as it was wherever the scaled
    // picture has the key colour (a colour value: RGB, or a system colour).
    // A drawn width or height above 32767 raises Overflow before the image changes.
    virtual void DrawPicture(const PictureObject& picture, std::int32_t naturalWidth, std::int32_t naturalHeight,
                             std::int32_t drawnWidth, std::int32_t drawnHeight, std::int32_t x, std::int32_t y,
                             OleColor keyColour) = 0;
};

}  // namespace qv
