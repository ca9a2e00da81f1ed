#include "ButtonPainter_win.h"

#include "host/base/CheckedMath.h"
#include "host/base/WideText_win.h"
#include "host/gdi/Colour_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/OlePicture_win.h"

#include <string>

namespace qv {
namespace {

RECT AsRect(const Rect& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

DRAWTEXTPARAMS AsParams(const DrawTextParams& params)
{
    DRAWTEXTPARAMS platform{};
    platform.cbSize = params.cbSize;
    platform.iTabLength = params.iTabLength;
    platform.iLeftMargin = params.iLeftMargin;
    platform.iRightMargin = params.iRightMargin;
    platform.uiLengthDrawn = params.uiLengthDrawn;
    return platform;
}

// DrawTextExW wants a text it may change; the caption stays as it is.
int DrawTextOnce(HDC dc, const Text& text, RECT& rect, std::uint32_t format, DrawTextParams& params)
{
    std::wstring buffer(reinterpret_cast<const wchar_t*>(text.data()), text.size());
    DRAWTEXTPARAMS platform = AsParams(params);
    const int height = DrawTextExW(dc, buffer.data(), static_cast<int>(buffer.size()), &rect, format, &platform);
    params.uiLengthDrawn = platform.uiLengthDrawn;
    return height;
}

// Draws the picture at (0, 0) in `width` x `height` of `dc`: a bitmap at its
// own size as the platform's bitmap drawing call does; icons and metafiles
// through the picture object itself, over the face, so that they show too,
// their soft edges blend into the face and their transparent parts show it.
void DrawNatural(HDC dc, const PictureObject& picture, std::int32_t width, std::int32_t height, COLORREF face)
{
    const OlePicture* ole = AsOlePicture(picture);
    if (!ole || ole->IsEmpty()) {
        return;
    }
    if (ole->Type() == PICTYPE_BITMAP) {
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(ole->DrawingBitmap()), 0, 0, 0, 0, 0, DST_BITMAP);
        return;
    }
    const OwnedBrush background(CreateSolidBrush(face));
    const RECT all{0, 0, width, height};
    ::FillRect(dc, &all, background.Get());
    const LONG himetricWidth = picture.Width();
    const LONG himetricHeight = picture.Height();
    ole->Get()->Render(dc, 0, 0, width, height, 0, himetricHeight, himetricWidth, -himetricHeight, nullptr);
}

}  // namespace

OleColor ButtonPainter::SysColor(std::uint32_t index)
{
    return GetSysColor(static_cast<int>(index));
}

void ButtonPainter::FrameRect(const Rect& rect, OleColor rgb)
{
    const OwnedBrush brush(CreateSolidBrush(rgb));
    const RECT area = AsRect(rect);
    ::FrameRect(m_surface.ImageDC(), &area, brush.Get());
}

Rect ButtonPainter::MeasureText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params)
{
    RECT area = AsRect(rect);
    DrawTextOnce(m_surface.ImageDC(), text, area, format, params);
    return {area.left, area.top, area.right, area.bottom};
}

void ButtonPainter::PaintText(const Text& text, const Rect& rect, std::uint32_t format, DrawTextParams& params)
{
    RECT area = AsRect(rect);
    DrawTextOnce(m_surface.ImageDC(), text, area, format, params);
}

void ButtonPainter::SetTextColor(OleColor rgb)
{
    ::SetTextColor(m_surface.ImageDC(), rgb);
}

void ButtonPainter::DrawFocusRect(const Rect& rect)
{
    const RECT area = AsRect(rect);
    ::DrawFocusRect(m_surface.ImageDC(), &area);
}

void ButtonPainter::DrawPicture(const PictureObject& picture, std::int32_t naturalWidth, std::int32_t naturalHeight,
                                std::int32_t drawnWidth, std::int32_t drawnHeight, std::int32_t x, std::int32_t y,
                                OleColor keyColour)
{
    const HDC surface = m_surface.ImageDC();
    const OwnedMemoryDC a(CreateCompatibleDC(surface));
    const OwnedMemoryDC b(CreateCompatibleDC(surface));
    const OwnedBitmap natural(CreateCompatibleBitmap(surface, naturalWidth, naturalHeight));
    const OwnedBitmap drawn(CreateCompatibleBitmap(surface, drawnWidth, drawnHeight));
    const Selection intoA(a.Get(), natural.Get());
    const Selection intoB(b.Get(), drawn.Get());
    // Shrinking follows the surface's stretch mode.
    SetStretchBltMode(b.Get(), GetStretchBltMode(surface));

    DrawNatural(a.Get(), picture, naturalWidth, naturalHeight, RgbOf(m_surface.BackColor()));
    StretchBlt(b.Get(), 0, 0, drawnWidth, drawnHeight, a.Get(), 0, 0, naturalWidth, naturalHeight, SRCCOPY);
    // A system colour keys on the colour it stands for now.
    TransparentBlit(surface, surface, b.Get(), 0, 0, drawnWidth, drawnHeight, x, y, RgbOf(keyColour));
}

void TransparentBlit(HDC destination, HDC reference, HDC source, std::int32_t sourceX, std::int32_t sourceY,
                     std::int32_t sourceRight, std::int32_t sourceBottom, std::int32_t x, std::int32_t y,
                     COLORREF keyColour)
{
    const int w = CheckedInt16(CheckedSub(sourceRight, sourceX));
    const int h = CheckedInt16(CheckedSub(sourceBottom, sourceY));

    const OwnedMemoryDC m(CreateCompatibleDC(reference));
    const OwnedMemoryDC n(CreateCompatibleDC(reference));
    const OwnedMemoryDC r(CreateCompatibleDC(reference));
    const OwnedMemoryDC s(CreateCompatibleDC(reference));
    const OwnedBitmap keyMask(CreateBitmap(w, h, 1, 1, nullptr));
    const OwnedBitmap pictureMask(CreateBitmap(w, h, 1, 1, nullptr));
    const OwnedBitmap background(CreateCompatibleBitmap(reference, w, h));
    const OwnedBitmap foreground(CreateCompatibleBitmap(reference, w, h));
    const Selection intoM(m.Get(), keyMask.Get());
    const Selection intoN(n.Get(), pictureMask.Get());
    const Selection intoR(r.Get(), background.Get());
    const Selection intoS(s.Get(), foreground.Get());

    // In the 1-bit copy, pixels of the key colour become 1 and all others 0.
    const COLORREF previous = SetBkColor(source, keyColour);
    BitBlt(m.Get(), 0, 0, w, h, source, sourceX, sourceY, SRCCOPY);
    SetBkColor(source, previous);
    BitBlt(n.Get(), 0, 0, w, h, m.Get(), 0, 0, NOTSRCCOPY);
    // Masks on colour surfaces: 1 acts as all colour bits set, 0 as none,
    // because these surfaces keep their black text and white background.
    BitBlt(r.Get(), 0, 0, w, h, destination, x, y, SRCCOPY);
    BitBlt(r.Get(), 0, 0, w, h, m.Get(), 0, 0, SRCAND);
    BitBlt(s.Get(), 0, 0, w, h, source, sourceX, sourceY, SRCCOPY);
    BitBlt(s.Get(), 0, 0, w, h, n.Get(), 0, 0, SRCAND);
    BitBlt(r.Get(), 0, 0, w, h, s.Get(), 0, 0, SRCINVERT);
    BitBlt(destination, x, y, w, h, r.Get(), 0, 0, SRCCOPY);
}

}  // namespace qv
