#pragma once
// The windowed surface a control is built on: it owns the window and its
// settings, which the control exposes under its own names. Everything runs on
// the UI thread.

#include "host/base/Text.h"
#include "host/base/WindowHandle.h"
#include "host/gdi/Colour.h"
#include "host/gdi/FontObject.h"
#include "host/gdi/Picture.h"

#include <cstdint>

namespace qv {

// The unit a surface measures its inside in: only pixels.
enum class ScaleMode : std::int16_t {
    Pixels = 3,
};

class ControlSurface {
public:
    // Pointer shapes: 0 the window's default, 1 to 15 the system's shapes, 99
    // the custom mouse icon.
    static constexpr std::int16_t PointerDefault = 0;
    static constexpr std::int16_t PointerLast = 15;
    static constexpr std::int16_t PointerCustom = 99;

    virtual ~ControlSurface() = default;

    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;

    virtual std::int16_t MousePointer() const = 0;
    // Any other shape number fails with error 380 and changes nothing.
    virtual void SetMousePointer(std::int16_t shape) = 0;

    virtual PictureRef MouseIcon() const = 0;
    // Nothing, the empty picture, an icon or a cursor, kept by reference;
    // any other picture fails with error 481.
    virtual void SetMouseIcon(const PictureRef& icon) = 0;

    virtual WindowHandle Handle() const = 0;
    // The window's own text, which screen readers and other programs read.
    virtual void SetText(const Text& text) = 0;

    virtual void SetBackColor(OleColor colour) = 0;
    virtual void SetForeColor(OleColor colour) = 0;

    // A new font object with the attributes of the surface's font.
    virtual FontRef Font() const = 0;
    // Takes the font's attributes; later changes of `font` do not reach the surface.
    virtual void SetFont(const FontObject& font) = 0;

    virtual void SetScaleMode(ScaleMode mode) = 0;
    // How pictures shrink when drawn smaller: 3 drops whole rows and columns,
    // the others combine them (the platform's stretch modes 1 to 4).
    virtual void SetStretchMode(std::int32_t mode) = 0;

    // The tag the control was designed with.
    virtual Text Tag() const = 0;

    // A picture's size in pixels of this surface's display, which has one
    // density for both directions.
    virtual std::int32_t HimetricToPixels(std::int32_t himetric) const = 0;

    // Inner size in pixels.
    virtual std::int32_t ScaleWidth() const = 0;
    virtual std::int32_t ScaleHeight() const = 0;
    // Outer size in twips; setting it resizes the window, which runs the
    // control's resize handling again.
    virtual void SetWidthTwips(std::int32_t twips) = 0;
    virtual void SetHeightTwips(std::int32_t twips) = 0;

    // Shows the surface's image anew, with the next paint.
    virtual void Invalidate() = 0;
    // Paints what waits to be shown now, without the message loop.
    virtual void ShowNow() = 0;
};

}  // namespace qv
