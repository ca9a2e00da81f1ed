#pragma once

#include "PointerServices.h"

namespace qv {

class WindowsPointerServices final : public PointerServices {
public:
    ScreenPoint CursorPos() override;
    WindowHandle WindowFromPoint(ScreenPoint point) override;
    void SetCapture(WindowHandle window) override;
};

}  // namespace qv
