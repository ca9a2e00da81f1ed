#pragma once
// The mouse pointer as the platform tracks it: where it is on the screen and
// which window is under it. The mouse capture is the window's business: it
// sees every press and release, and the messages that end a capture.

#include "host/base/WindowHandle.h"

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
};

}  // namespace qv
