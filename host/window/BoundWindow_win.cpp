#include "host/window/BoundWindow_win.h"

#include "host/base/TopLevelError.h"
#include "host/base/Win32Error_win.h"

namespace qv {
namespace {

// The first extra bytes of the window, so that GWLP_USERDATA stays the
// caller's, as with the system's own controls.
constexpr int BindingSlot = 0;

}  // namespace

void BindWindow(HWND window, BoundWindow& target) noexcept
{
    target.m_window = window;
    SetWindowLongPtrW(window, BindingSlot, reinterpret_cast<LONG_PTR>(&target));
}

void BindOwnedWindow(HWND window, std::unique_ptr<BoundWindow> target) noexcept
{
    BoundWindow& bound = *target;
    bound.m_ownedByWindow = std::move(target);
    BindWindow(window, bound);
}

BoundWindow* BoundTo(HWND window) noexcept
{
    return reinterpret_cast<BoundWindow*>(GetWindowLongPtrW(window, BindingSlot));
}

LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE && !BoundTo(window)) {
        if (auto target = static_cast<BoundWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams)) {
            BindWindow(window, *target);
        }
    }
    BoundWindow* const target = BoundTo(window);
    if (!target) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    ++target->m_dispatchDepth;
    try {
        result = target->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportCurrentErrorToTopLevel();
    }
    --target->m_dispatchDepth;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, BindingSlot, 0);
        target->m_window = nullptr;
        target->WindowDestroyed();
    }
    if (!target->m_window && target->m_dispatchDepth == 0) {
        // The object its window owned goes with the last of the window's messages.
        const std::unique_ptr<BoundWindow> owned = std::move(target->m_ownedByWindow);
    }
    return result;
}

void RegisterWindowClass(WNDCLASSEXW windowClass)
{
    windowClass.cbSize = sizeof windowClass;
    windowClass.cbWndExtra += static_cast<int>(sizeof(LONG_PTR));
    if (!windowClass.hInstance) {
        windowClass.hInstance = GetModuleHandleW(nullptr);
    }
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw ErrorFromLastError(u"Die Fensterklasse kann nicht angelegt werden");
    }
}

void RegisterPlainWindowClass(const wchar_t* className)
{
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = &BoundWindowProc;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterWindowClass(windowClass);
}

}  // namespace qv
