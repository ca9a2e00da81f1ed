#include "MessagePump_win.h"

#include <windows.h>

namespace qv {

void WindowsMessagePump::PumpStep()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    WindowsMessagePump pump;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(limit.count());
    while (!done()) {
        const ULONGLONG now = GetTickCount64();
        if (now >= end) {
            return false;
        }
        const DWORD wait = static_cast<DWORD>(end - now < 50 ? end - now : 50);
        MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        pump.PumpStep();
    }
    return true;
}

}  // namespace qv
