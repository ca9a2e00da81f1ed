#pragma once
// Owners for GDI and icon handles: a created object is deleted, a borrowed
// device context is released and a selection is undone when the owner goes.

#include "host/base/OwnedHandle_win.h"

#include <windows.h>

#include <utility>

namespace qv {

using OwnedFont = OwnedHandle<HFONT, &DeleteObject>;
using OwnedBrush = OwnedHandle<HBRUSH, &DeleteObject>;
using OwnedBitmap = OwnedHandle<HBITMAP, &DeleteObject>;
// An icon from LoadImage or CreateIcon.
using OwnedIcon = OwnedHandle<HICON, &DestroyIcon>;

// A window's device context, from GetDC to ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : m_window(window), m_dc(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (m_dc) {
            ReleaseDC(m_window, m_dc);
        }
    }
    HDC Get() const noexcept { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
using OwnedMemoryDC = OwnedHandle<HDC, &DeleteDC>;

// The device context of a WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept : m_window(window), m_dc(BeginPaint(window, &m_paint)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC()
    {
        if (m_dc) {
            EndPaint(m_window, &m_paint);
        }
    }
    HDC Get() const noexcept { return m_dc; }
    const RECT& Area() const noexcept { return m_paint.rcPaint; }

private:
    HWND m_window;
    PAINTSTRUCT m_paint{};
    HDC m_dc;
};

// Selects an object into a device context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection()
    {
        if (m_previous && m_previous != HGDI_ERROR) {
            SelectObject(m_dc, m_previous);
        }
    }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace qv
