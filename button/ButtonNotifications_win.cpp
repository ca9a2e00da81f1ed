// What the button tells its parent: WM_COMMAND notifications as a stock
// push button sends them, and each of its events as a WM_NOTIFY.

#include "ButtonWindow_win.h"

#include <utility>

namespace qv {

void ButtonWindow::SetEvents(ButtonEvents events)
{
    // Each program handler runs first; then the parent hears of the event,
    // unless the handler destroyed the button.
    ButtonEvents told;
    told.Click = [this, handler = std::move(events.Click)] {
        if (handler) {
            handler();
        }
        Tell(QVBN_CLICK, {});
        NotifyParentOfClick();
    };
    const auto key = [this](UINT code, auto handler) {
        return [this, code, handler = std::move(handler)](std::int16_t KeyCode, std::int16_t Shift) {
            if (handler) {
                handler(KeyCode, Shift);
            }
            NMQVBUTTON event{};
            event.keyCode = KeyCode;
            event.shift = Shift;
            Tell(code, event);
        };
    };
    told.KeyDown = key(QVBN_KEYDOWN, std::move(events.KeyDown));
    told.KeyUp = key(QVBN_KEYUP, std::move(events.KeyUp));
    told.KeyPress = [this, handler = std::move(events.KeyPress)](std::int16_t KeyAscii) {
        if (handler) {
            handler(KeyAscii);
        }
        NMQVBUTTON event{};
        event.character = KeyAscii;
        Tell(QVBN_KEYPRESS, event);
    };
    const auto mouse = [this](UINT code, auto handler) {
        return [this, code, handler = std::move(handler)](std::int16_t button, std::int16_t Shift, float X, float Y) {
            if (handler) {
                handler(button, Shift, X, Y);
            }
            if (code != QVBN_MOUSEMOVE || m_notifyMoves) {
                NMQVBUTTON event{};
                event.button = button;
                event.shift = Shift;
                event.x = X;
                event.y = Y;
                Tell(code, event);
            }
        };
    };
    told.MouseDown = mouse(QVBN_MOUSEDOWN, std::move(events.MouseDown));
    told.MouseMove = mouse(QVBN_MOUSEMOVE, std::move(events.MouseMove));
    told.MouseUp = mouse(QVBN_MOUSEUP, std::move(events.MouseUp));
    const auto crossing = [this](UINT code, auto handler) {
        return [this, code, handler = std::move(handler)](std::int16_t Shift) {
            if (handler) {
                handler(Shift);
            }
            NMQVBUTTON event{};
            event.shift = Shift;
            Tell(code, event);
        };
    };
    told.MouseIn = crossing(QVBN_MOUSEIN, std::move(events.MouseIn));
    told.MouseOut = crossing(QVBN_MOUSEOUT, std::move(events.MouseOut));
    m_button.SetEvents(std::move(told));
}

void ButtonWindow::Tell(UINT code, const NMQVBUTTON& event)
{
    const HWND window = Handle();
    const HWND parent = window ? GetParent(window) : nullptr;
    if (!parent) {
        return;
    }
    NMQVBUTTON told = event;
    told.hdr.hwndFrom = window;
    told.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
    told.hdr.code = code;
    SendMessageW(parent, WM_NOTIFY, told.hdr.idFrom, reinterpret_cast<LPARAM>(&told));
}

void ButtonWindow::NotifyParentOfClick()
{
    // A stock button with BS_NOTIFY tells of the second click of a double-click only as BN_DOUBLECLICKED.
    if (!std::exchange(m_doubleClickNotified, false)) {
        NotifyParent(BN_CLICKED);
    }
}

void ButtonWindow::NotifyParent(WORD code)
{
    const HWND window = Handle();
    if (window) {
        if (const HWND parent = GetParent(window)) {
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code), reinterpret_cast<LPARAM>(window));
        }
    }
}

void ButtonWindow::NotifyParentIfAsked(WORD code)
{
    if (GetWindowLongPtrW(Handle(), GWL_STYLE) & BS_NOTIFY) {
        NotifyParent(code);
    }
}

}  // namespace qv
