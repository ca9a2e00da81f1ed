#include "PumpUntil_win.h"

#include "host/window/MessagePump_win.h"

#include <windows.h>

namespace qv {

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
