#pragma once

#include "host/window/Timer.h"

#include <windows.h>

namespace qv {

// A timer on a window: its ticks are the window's WM_TIMER with this id.
class WindowTimer final : public Timer {
public:
    WindowTimer(HWND window, UINT_PTR id) : m_window(window), m_id(id) {}
    ~WindowTimer() override;
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void SetInterval(std::int32_t milliseconds) override;
    bool Enabled() const override { return m_enabled; }
    void SetEnabled(bool enabled) override;
    UINT_PTR Id() const noexcept { return m_id; }

private:
    HWND m_window;
    UINT_PTR m_id;
    UINT m_interval = 0;
    bool m_enabled = false;
};

}  // namespace qv
