#pragma once
// What a control asks of its container, answered for a plain Win32 parent
// window that knows nothing of controls: the control's window text or
// "button<id>" as its name, and the parent's font.

#include "host/window/ContainerServices.h"

#include <windows.h>

#include <functional>

namespace qv {

class WindowContainer final : public ContainerServices {
public:
    explicit WindowContainer(HWND control) : m_control(control) {}

    // The control's window text; "button" and its id when it has none.
    Text DisplayName() override;
    // The parent's font (WM_GETFONT), else the system's message font.
    FontRef AmbientFont() override;
    void PropertyChanged(const Text& propertyName) override;

    // Called for every property change, on the UI thread inside the setter.
    std::function<void(const Text& propertyName)> propertyChanged;

private:
    HWND m_control;
};

}  // namespace qv
