#pragma once

#include "WindowLayout.h"

#include "host/window/TextLabel.h"

#include <windows.h>

namespace qv {

// A text label that is a real static control, so that screen readers and
// other programs read its text from the window itself. Its text is centred
// and wraps at word boundaries; when a text needs more lines than the label's
// box holds, the label grows by whole lines within the room it was given.
class StaticLabel final : public TextLabel {
public:
    StaticLabel(HWND parent, int id, const wchar_t* text);

    void SetCaption(const Text& caption) override;
    Text Caption() const override;
    void Refresh() override;

    // Places the label at `home`, free to grow inside `room`, and sets its
    // font (which stays the caller's).
    void Place(const PixelBox& home, const PixelBox& room, HFONT font);

    HWND Handle() const noexcept { return m_control; }

private:
    void FitToText();

    HWND m_control;
    PixelBox m_home;
    PixelBox m_room;
};

}  // namespace qv
