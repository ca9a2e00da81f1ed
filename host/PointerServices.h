#pragma once
// The mouse pointer as the platform tracks it: where it is on the screen,
// which window is under it, and which window captures the mouse.

#include "WindowHandle.h"

#include <cstdint>

namespace qv {

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

class PointerServices {
public:
    virtual ~PointerServices() = default;
    // (0, 0) when the platform cannot tell.
    virtual ScreenPoint CursorPos() = 0;
    virtual WindowHandle WindowFromPoint(ScreenPoint point) = 0;
    // Mouse input goes to `window` wherever the pointer is, until the
    // buttons are released or another window takes the capture.
    virtual void SetCapture(WindowHandle window) = 0;
};

}  // namespace qv
