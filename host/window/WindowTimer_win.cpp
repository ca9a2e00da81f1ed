#include "host/window/WindowTimer_win.h"

#include "host/base/Win32Error_win.h"

namespace qv {

WindowTimer::~WindowTimer()
{
    if (m_enabled) {
        KillTimer(m_window, m_id);
    }
}

void WindowTimer::SetInterval(std::int32_t milliseconds)
{
    m_interval = static_cast<UINT>(milliseconds < 0 ? 0 : milliseconds);
    if (m_enabled) {
        SetEnabled(true);
    }
}

void WindowTimer::SetEnabled(bool enabled)
{
    if (enabled) {
        if (!SetTimer(m_window, m_id, m_interval, nullptr)) {
            throw ErrorFromLastError(u"Der Zeitgeber kann nicht gestartet werden");
        }
    } else if (m_enabled) {
        KillTimer(m_window, m_id);
    }
    m_enabled = enabled;
}

}  // namespace qv
