#include "host/window/MessagePump_win.h"

#include <windows.h>

#include <optional>

namespace qv {

void WindowsMessagePump::PumpStep()
{
    MSG msg;
    std::optional<WPARAM> quit;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The quit comes before input, painting and timers, which still
            // wait behind it: they are handled here, the quit goes back for
            // the program's own loop once the step is done.
            quit = msg.wParam;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (quit) {
        PostQuitMessage(static_cast<int>(*quit));
    }
}

void WindowsMessagePump::WaitForMessages(std::int32_t milliseconds)
{
    // A quit left in the queue for the program's own loop would end every
    // wait at once: it is out of the queue while this waits, and back after.
    // Only posted messages are looked at, so that no sent message is handled here.
    MSG quit;
    const bool quitPending = PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE | PM_QS_POSTMESSAGE) != FALSE;
    // Wakes for anything in the queue, also what arrived before the wait began.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds < 0 ? 0 : milliseconds), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    if (quitPending) {
        PostQuitMessage(static_cast<int>(quit.wParam));
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
        pump.WaitForMessages(static_cast<std::int32_t>(end - now < 50 ? end - now : 50));
        pump.PumpStep();
    }
    return true;
}

}  // namespace qv
