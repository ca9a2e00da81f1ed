#include "host/window/WindowSurface_win.h"

#include "host/base/HostError.h"
#include "host/base/Units.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/gdi/Colour_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/gdi/PixelImage_win.h"
#include "host/window/Dpi_win.h"

#include <algorithm>

namespace qv {
namespace {

// The system's cursors for the pointer shapes 1 to 15.
const wchar_t* const PointerCursors[] = {
    IDC_ARROW,  IDC_CROSS,   IDC_IBEAM, IDC_ICON, IDC_SIZEALL,     IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE,
    IDC_SIZEWE, IDC_UPARROW, IDC_WAIT,  IDC_NO,   IDC_APPSTARTING, IDC_HELP,     IDC_SIZEALL,
};

constexpr int BlackOnWhite = 1;
constexpr int Halftone = 4;

}  // namespace

// A DIB section: bitmaps made compatible with the image are then DIB sections
// too, which the platform selects and copies without a trip to the display (a
// display bitmap costs Wine some 180 us a selection).
WindowSurface::Image::Image(HDC windowDC, int width, int height, HFONT font, int stretchMode)
    : dc(CreateCompatibleDC(windowDC)), bitmap([&] {
          const BITMAPINFO format = DibFormat(width, height);
          void* bits = nullptr;
          return CreateDIBSection(windowDC, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
      }()),
      bitmapSelected(dc.Get(), bitmap.Get()), fontSelected(dc.Get(), font), width(width), height(height)
{
    if (!dc || !bitmap) {
        throw ErrorFromGdiFailure(u"Das Bild des Steuerelements kann nicht angelegt werden");
    }
    SetBkMode(dc.Get(), TRANSPARENT);
    if (stretchMode) {
        SetStretchBltMode(dc.Get(), stretchMode);
    }
}

WindowSurface::WindowSurface(HWND window, Text tag) : m_window(window), m_tag(std::move(tag))
{
    m_fontHandle = CreateFontFor(*m_font, Dpi());
    m_image = MakeImage(1, 1);
    m_image->Fill(m_backColor);
}

WindowSurface::~WindowSurface() = default;

int WindowSurface::Dpi() const
{
    return DpiOfWindow(m_window);
}

std::unique_ptr<WindowSurface::Image> WindowSurface::MakeImage(int width, int height) const
{
    const WindowDC window(m_window);
    return std::make_unique<Image>(window.Get(), width, height, m_fontHandle.Get(), m_stretchMode);
}

void WindowSurface::Image::Fill(OleColor colour) const
{
    const OwnedBrush brush(CreateSolidBrush(RgbOf(colour)));
    const RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, brush.Get());
}

SIZE WindowSurface::ClientSize() const
{
    RECT client{};
    GetClientRect(m_window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

bool WindowSurface::Enabled() const
{
    return IsWindowEnabled(m_window) != FALSE;
}

void WindowSurface::SetEnabled(bool enabled)
{
    EnableWindow(m_window, enabled);
}

void WindowSurface::SetMousePointer(std::int16_t shape)
{
    if ((shape < PointerDefault || shape > PointerLast) && shape != PointerCustom) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"Ungültiger Eigenschaftswert: Mauszeiger " + DecimalText(shape) +
                            u" gibt es nicht (0 bis 15 oder 99)");
    }
    m_pointer = shape;
}

void WindowSurface::SetMouseIcon(const PictureRef& icon)
{
    if (icon && !icon->IsEmpty()) {
        const OlePicture* picture = AsOlePicture(icon);
        if (!picture || picture->Type() != PICTYPE_ICON) {
            throw HostError(ErrorNumber::InvalidPicture,
                            u"Ungültiges Bild: als Mauszeiger taugen nur Symbole und Cursor (.ico, .cur)");
        }
    }
    m_mouseIcon = icon;
}

void WindowSurface::SetText(const Text& text)
{
    // A window's text ends at its first NUL; the control keeps the whole text.
    const Text shown = text.substr(0, text.find(u'\0'));
    if (WindowText(m_window) == shown) {
        return;
    }
    m_settingText = true;
    const BOOL set = SetWindowTextW(m_window, Wide(shown));
    m_settingText = false;
    if (!set) {
        throw ErrorFromLastError(u"Der Text der Schaltfläche kann nicht gesetzt werden");
    }
    // What screen readers call the control is its text.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
}

void WindowSurface::SetBackColor(OleColor colour)
{
    m_backColor = colour;
    m_image->Fill(colour);
}

void WindowSurface::SetForeColor(OleColor colour)
{
    m_foreColor = colour;
}

void WindowSurface::SetFont(const FontObject& font)
{
    OwnedFont handle = CreateFontFor(font, Dpi());
    SelectObject(m_image->dc.Get(), handle.Get());
    m_fontHandle = std::move(handle);
    m_font = font.Copy();
}

void WindowSurface::DensityChanged()
{
    SetFont(*m_font);
}

void WindowSurface::SetScaleMode(ScaleMode)
{
    // Pixels, the only unit there is, are what the window measures in anyway.
}

void WindowSurface::SetStretchMode(std::int32_t mode)
{
    if (mode < BlackOnWhite || mode > Halftone) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"Ungültiger Eigenschaftswert: Streckmodus " + DecimalText(mode) + u" (1 bis 4)");
    }
    m_stretchMode = mode;
    SetStretchBltMode(m_image->dc.Get(), mode);
}

std::int32_t WindowSurface::HimetricToPixels(std::int32_t himetric) const
{
    return qv::HimetricToPixels(himetric, Dpi());
}

std::int32_t WindowSurface::ScaleWidth() const
{
    return ClientSize().cx;
}

std::int32_t WindowSurface::ScaleHeight() const
{
    return ClientSize().cy;
}

void WindowSurface::SetWidthTwips(std::int32_t twips)
{
    RECT outer{};
    GetWindowRect(m_window, &outer);
    SetWindowPos(m_window, nullptr, 0, 0, TwipsToPixels(twips, Dpi()), outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowSurface::SetHeightTwips(std::int32_t twips)
{
    RECT outer{};
    GetWindowRect(m_window, &outer);
    SetWindowPos(m_window, nullptr, 0, 0, outer.right - outer.left, TwipsToPixels(twips, Dpi()),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowSurface::Invalidate()
{
    if (!m_paintPending && !m_showingHeld) {
        InvalidateRect(m_window, nullptr, FALSE);
        m_paintPending = true;
    }
}

void WindowSurface::ShowNow()
{
    UpdateWindow(m_window);
}

void WindowSurface::Resized()
{
    const SIZE client = ClientSize();
    const int width = std::max(1, static_cast<int>(client.cx));
    const int height = std::max(1, static_cast<int>(client.cy));
    if (width == m_image->width && height == m_image->height) {
        return;
    }
    std::unique_ptr<Image> image = MakeImage(width, height);
    image->Fill(m_backColor);
    BitBlt(image->dc.Get(), 0, 0, std::min(width, m_image->width), std::min(height, m_image->height), m_image->dc.Get(),
           0, 0, SRCCOPY);
    m_image = std::move(image);
}

void WindowSurface::PaintTo(HDC dc, const RECT& area) const
{
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, m_image->dc.Get(), area.left,
           area.top, SRCCOPY);
}

bool WindowSurface::ApplyCursor() const
{
    HCURSOR cursor = nullptr;
    if (m_pointer == PointerCustom) {
        if (const OlePicture* icon = AsOlePicture(m_mouseIcon); icon && !icon->IsEmpty()) {
            cursor = reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(icon->Handle()));
        }
    } else if (m_pointer > PointerDefault) {
        cursor = LoadCursorW(nullptr, PointerCursors[m_pointer - 1]);
        if (!cursor) {
            // Not every system still has the obsolete icon pointer.
            cursor = LoadCursorW(nullptr, IDC_ARROW);
        }
    }
    if (!cursor) {
        return false;
    }
    SetCursor(cursor);
    return true;
}

}  // namespace qv
