// The Quorvelinde button for C++ programs: the messages and notifications of
// quorvelinde/button.h as a class and as callbacks. It only sends messages,
// so it needs nothing beyond that header and Quorvelinde::button (or the DLL).
// C++17 or later; works with or without UNICODE; everything on the thread
// that made the button.
#ifndef QUORVELINDE_BUTTON_HPP
#define QUORVELINDE_BUTTON_HPP

#include "quorvelinde/button.h"

#include <functional>
#include <string>
#include <string_view>

namespace quorvelinde {

// QvButtonRegister; false with GetLastError set when the class cannot be registered.
inline bool RegisterButtonClass(HINSTANCE instance, bool global = false)
{
    return QvButtonRegister(instance, global ? TRUE : FALSE) != FALSE;
}

// A button window, by its handle. It owns nothing: the window owns its
// button and goes with DestroyWindow or with its parent. The setters return
// the result of their message (QVB_OK or an error, see quorvelinde/button.h).
class Button {
public:
    Button() noexcept = default;
    explicit Button(HWND window) noexcept : m_window(window) {}
    // The button with control id `id` in `dialog`.
    Button(HWND dialog, int id) noexcept : m_window(GetDlgItem(dialog, id)) {}

    HWND Handle() const noexcept { return m_window; }

    HRESULT SetCaption(std::wstring_view caption) const
    {
        return Send(QVBM_SETCAPTION, caption.size(), reinterpret_cast<LPARAM>(caption.data()));
    }
    std::wstring Caption() const
    {
        std::wstring caption(static_cast<std::size_t>(SendMessageW(m_window, QVBM_GETCAPTION, 0, 0)), L'\0');
        SendMessageW(m_window, QVBM_GETCAPTION, caption.size() + 1, reinterpret_cast<LPARAM>(caption.data()));
        return caption;
    }

    // The handle stays the caller's, as with BM_SETIMAGE: keep it alive while the button shows it.
    HRESULT SetPicture(HBITMAP picture) const { return Send(QVBM_SETPICTURE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)); }
    HRESULT SetPicture(HICON picture) const { return Send(QVBM_SETPICTURE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture)); }
    HRESULT SetHoverPicture(HBITMAP picture) const
    {
        return Send(QVBM_SETHOVERPICTURE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
    HRESULT SetHoverPicture(HICON picture) const
    {
        return Send(QVBM_SETHOVERPICTURE, IMAGE_ICON, reinterpret_cast<LPARAM>(picture));
    }
    // 0 above the caption, 1 left of it, 2 right of it, 3 below it.
    HRESULT SetPicturePosition(int position) const { return Send(QVBM_SETPICTUREPOSITION, position, 0); }
    int PicturePosition() const { return static_cast<int>(SendMessageW(m_window, QVBM_GETPICTUREPOSITION, 0, 0)); }
    HRESULT SetPictureSize(int width, int height) const { return Send(QVBM_SETPICTURESIZE, width, height); }
    SIZE PictureSize() const
    {
        SIZE size{};
        SendMessageW(m_window, QVBM_GETPICTURESIZE, 0, reinterpret_cast<LPARAM>(&size));
        return size;
    }
    // `which` is one of QVBC_*; a colour is a COLORREF or QVB_SYSCOLOR(index).
    HRESULT SetColor(int which, COLORREF colour) const { return Send(QVBM_SETCOLOR, which, static_cast<LPARAM>(colour)); }
    COLORREF Color(int which) const { return static_cast<COLORREF>(SendMessageW(m_window, QVBM_GETCOLOR, which, 0)); }

    HRESULT LoadProperties(const wchar_t* fileName) const
    {
        return Send(QVBM_LOADPROPERTIES, 0, reinterpret_cast<LPARAM>(fileName));
    }
    HRESULT SaveProperties(const wchar_t* fileName) const
    {
        return Send(QVBM_SAVEPROPERTIES, 0, reinterpret_cast<LPARAM>(fileName));
    }
    // Whether MouseMove is told at all (off at first): it comes for every move.
    HRESULT NotifyMoves(bool notify) const { return Send(QVBM_SETMOVENOTIFY, notify ? TRUE : FALSE, 0); }
    // `flag` is one of QVBF_*.
    HRESULT SetFlag(int flag, bool on) const { return Send(QVBM_SETFLAG, flag, on ? TRUE : FALSE); }
    bool Flag(int flag) const { return SendMessageW(m_window, QVBM_GETFLAG, flag, 0) == TRUE; }
    // QVBP_HOVER | QVBP_PRESSED | QVBP_FOCUS, or 0: a look to show until the next input.
    HRESULT Preview(int looks) const { return Send(QVBM_PREVIEW, looks, 0); }

private:
    HRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        return static_cast<HRESULT>(SendMessageW(m_window, message, wParam, lParam));
    }

    HWND m_window = nullptr;
};

// The button's nine events as callbacks, from the notifications it sends its
// parent. Mouse buttons and keys are QVB_LEFT ... and QVB_SHIFT ... flags,
// x and y pixels of the button. A callback may change or destroy the button.
struct ButtonEvents {
    std::function<void()> Click;
    std::function<void(int keyCode, int shift)> KeyDown;
    std::function<void(int character)> KeyPress;
    std::function<void(int keyCode, int shift)> KeyUp;
    std::function<void(int button, int shift, float x, float y)> MouseDown;
    std::function<void(int button, int shift, float x, float y)> MouseMove;
    std::function<void(int button, int shift, float x, float y)> MouseUp;
    std::function<void(int shift)> MouseIn;
    std::function<void(int shift)> MouseOut;

    // Call from the parent's window or dialog procedure with each message it
    // receives: true when it was a notification of `from` and went to its callback.
    bool Dispatch(const Button& from, UINT message, LPARAM lParam) const
    {
        const auto* told = reinterpret_cast<const NMQVBUTTON*>(lParam);
        if (message != WM_NOTIFY || !told || told->hdr.hwndFrom != from.Handle()) {
            return false;
        }
        const auto call = [](const auto& callback, auto... arguments) {
            if (callback) {
                callback(arguments...);
            }
            return true;
        };
        switch (told->hdr.code) {
        case QVBN_CLICK:
            return call(Click);
        case QVBN_KEYDOWN:
            return call(KeyDown, told->keyCode, told->shift);
        case QVBN_KEYPRESS:
            return call(KeyPress, told->character);
        case QVBN_KEYUP:
            return call(KeyUp, told->keyCode, told->shift);
        case QVBN_MOUSEDOWN:
            return call(MouseDown, told->button, told->shift, told->x, told->y);
        case QVBN_MOUSEMOVE:
            return call(MouseMove, told->button, told->shift, told->x, told->y);
        case QVBN_MOUSEUP:
            return call(MouseUp, told->button, told->shift, told->x, told->y);
        case QVBN_MOUSEIN:
            return call(MouseIn, told->shift);
        case QVBN_MOUSEOUT:
            return call(MouseOut, told->shift);
        default:
            return false;
        }
    }
};

}  // namespace quorvelinde

#endif  // QUORVELINDE_BUTTON_HPP
