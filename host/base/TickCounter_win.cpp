#include "host/base/TickCounter_win.h"

#include <windows.h>

namespace qv {

std::int32_t SystemTickCounter::TickCount()
{
    return static_cast<std::int32_t>(GetTickCount());
}

}  // namespace qv
