#include "host/window/MessagePump_win.h"

#include <windows.h>

namespace qv {

void WindowsMessagePump::PumpStep()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The quit belongs to the program's own loop, which must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void WindowsMessagePump::WaitForMessages(std::int32_t milliseconds)
{
    // Wakes for anything in the queue, also what arrived before the wait began.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
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
        pump.WaitForMessages(static_cast<std::int32_t>(end - now < 50 ? end - now : 50));
        pump.PumpStep();
    }
    return true;
}

}  // namespace qv
