#include "host/window/PointerServices_win.h"

#include <windows.h>

namespace qv {

ScreenPoint WindowsPointerServices::CursorPos()
{
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

WindowHandle WindowsPointerServices::WindowFromPoint(ScreenPoint point)
{
    return reinterpret_cast<WindowHandle>(::WindowFromPoint({point.x, point.y}));
}

}  // namespace qv
