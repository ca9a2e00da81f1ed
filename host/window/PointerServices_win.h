#pragma once

#include "host/window/PointerServices.h"

namespace qv {

class WindowsPointerServices final : public PointerServices {
public:
    ScreenPoint CursorPos() override;
    WindowHandle WindowFromPoint(ScreenPoint point) override;
};

}  // namespace qv
