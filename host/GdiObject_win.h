#pragma once
// Owners for GDI handles: a created object is deleted, a borrowed device
// context is released and a selection is undone when the owner goes.

#include <windows.h>

#include <utility>

namespace qv {

template <typename Handle>
class GdiObject {
public:
    GdiObject() noexcept = default;
    explicit GdiObject(Handle handle) noexcept : m_handle(handle) {}
    GdiObject(GdiObject&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, nullptr));
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }

    void Reset(Handle handle = nullptr) noexcept
    {
        if (m_handle) {
            DeleteObject(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Bitmap = GdiObject<HBITMAP>;

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

// An icon from LoadImage or CreateIcon, destroyed with its owner.
class Icon {
public:
    Icon() noexcept = default;
    explicit Icon(HICON icon) noexcept : m_icon(icon) {}
    Icon(Icon&& other) noexcept : m_icon(std::exchange(other.m_icon, nullptr)) {}
    Icon& operator=(Icon&& other) noexcept
    {
        if (this != &other) {
            if (m_icon) {
                DestroyIcon(m_icon);
            }
            m_icon = std::exchange(other.m_icon, nullptr);
        }
        return *this;
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    ~Icon()
    {
        if (m_icon) {
            DestroyIcon(m_icon);
        }
    }
    HICON Get() const noexcept { return m_icon; }

private:
    HICON m_icon = nullptr;
};

}  // namespace qv
