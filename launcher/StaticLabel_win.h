#pragma once

#include "host/TextLabel.h"

#include <windows.h>

namespace qv {

// A text label that is a real static control, so that screen readers and
// other programs read its text from the window itself.
class StaticLabel final : public TextLabel {
public:
    explicit StaticLabel(HWND control) : m_control(control) {}

    void SetCaption(const Text& caption) override;
    Text Caption() const override;
    void Refresh() override;

    HWND Handle() const noexcept { return m_control; }

private:
    HWND m_control;
};

}  // namespace qv
