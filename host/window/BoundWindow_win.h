#pragma once
// One way for every window of the program to reach its C++ object: the window
// class's procedure binds the object in WM_NCCREATE, dispatches each message
// to it and unbinds it in WM_NCDESTROY. No exception leaves the procedure: it
// is handed to the program's top-level error handling.

#include <windows.h>

#include <memory>

namespace qv {

class BoundWindow {
public:
    HWND Handle() const noexcept { return m_window; }
    // Virtual: a window that owns its object deletes it through this class.
    virtual ~BoundWindow() = default;

protected:
    BoundWindow() = default;
    BoundWindow(const BoundWindow&) = delete;
    BoundWindow& operator=(const BoundWindow&) = delete;

    // Every message from WM_NCCREATE to WM_NCDESTROY, on the UI thread.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // After WM_NCDESTROY: the window is gone and Handle() is null.
    virtual void WindowDestroyed() noexcept {}

private:
    friend void BindWindow(HWND window, BoundWindow& target) noexcept;
    friend void BindOwnedWindow(HWND window, std::unique_ptr<BoundWindow> target) noexcept;
    friend LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    // Messages of the window being handled now, nested.
    int m_dispatchDepth = 0;
    // The object itself, when its window owns it.
    std::unique_ptr<BoundWindow> m_ownedByWindow;
};

// The window procedure of the program's classes. A window created with a
// BoundWindow* as its creation parameter is bound to that object; a class
// procedure that makes its own object binds it with BindWindow first.
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void BindWindow(HWND window, BoundWindow& target) noexcept;
// Binds an object that its window owns: it is deleted after WM_NCDESTROY, as
// soon as no message of the window is being handled any more, so that a
// handler may destroy its own window.
void BindOwnedWindow(HWND window, std::unique_ptr<BoundWindow> target) noexcept;
// The object bound to a window of the program, or null.
BoundWindow* BoundTo(HWND window) noexcept;

// Registers a window class (of this program's module unless it names
// another), reserving its first extra bytes for the binding; registering it
// again is no error. Throws HostError.
void RegisterWindowClass(WNDCLASSEXW windowClass);
// Registers a class of top-level windows bound to their objects through
// BoundWindowProc, with the arrow pointer on a white background.
void RegisterPlainWindowClass(const wchar_t* className);

}  // namespace qv
