// The messages a push button answers for the dialog manager, screen readers
// and test tools (BM_), and the button's own for programs in any language (QVBM_).

#include "ButtonWindow_win.h"

#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/gdi/OlePicture_win.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

// BST_HOT, which older headers declare only for newer common controls.
constexpr LRESULT HotState = 0x0200;

PictureRef PictureOfHandle(WPARAM type, LPARAM handle, bool& valid)
{
    valid = true;
    if (!handle) {
        return nullptr;
    }
    PictureRef picture;
    if (type == IMAGE_BITMAP) {
        picture = OlePicture::Borrow(reinterpret_cast<HBITMAP>(handle));
    } else if (type == IMAGE_ICON) {
        picture = OlePicture::Borrow(reinterpret_cast<HICON>(handle));
    }
    valid = picture != nullptr;
    return picture;
}

// The colours of QVBC_BACK to QVBC_MASK, in that order.
struct ColourProperty {
    OleColor (button::*get)() const noexcept;
    void (button::*set)(OleColor);
};
constexpr ColourProperty Colours[] = {
    {&button::BackColor, &button::SetBackColor},         {&button::ForeColor, &button::SetForeColor},
    {&button::Color_Hover, &button::SetColor_Hover},     {&button::Color_Pressed, &button::SetColor_Pressed},
    {&button::MaskColor, &button::SetMaskColor},
};

}  // namespace

bool ButtonWindow::PushButtonMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    switch (message) {
    case BM_CLICK:
        // As a stock button does: the press and the release a click makes, at its corner.
        if (IsWindowEnabled(Handle())) {
            SendMessageW(Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageW(Handle(), WM_LBUTTONUP, 0, 0);
        }
        result = 0;
        return true;
    case BM_GETSTATE:
        result = (m_button.IsPressed() ? BST_PUSHED : 0) | (m_button.HasFocus() ? BST_FOCUS : 0) |
                 (m_button.IsMouseOver() ? HotState : 0);
        return true;
    case BM_SETSTATE:
        m_button.PreviewState(m_button.IsMouseOver(), wParam != FALSE, m_button.HasFocus());
        result = 0;
        return true;
    default:
        return false;
    }
}

bool ButtonWindow::ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    button& b = m_button;
    result = TRUE;
    switch (message) {
    case QVBM_SETCAPTION:
        b.SetCaption(Text(reinterpret_cast<const char16_t*>(lParam), lParam ? wParam : 0));
        return true;
    case QVBM_GETCAPTION: {
        const Text& caption = b.Caption();
        if (lParam && wParam > 0) {
            const std::size_t copied = std::min<std::size_t>(caption.size(), wParam - 1);
            auto* buffer = reinterpret_cast<char16_t*>(lParam);
            std::memcpy(buffer, caption.data(), copied * sizeof(char16_t));
            buffer[copied] = u'\0';
        }
        result = static_cast<LRESULT>(caption.size());
        return true;
    }
    case QVBM_SETPICTURE:
    case QVBM_SETHOVERPICTURE: {
        bool valid = false;
        const PictureRef picture = PictureOfHandle(wParam, lParam, valid);
        if (!valid) {
            result = FALSE;
        } else if (message == QVBM_SETPICTURE) {
            b.SetPicture(picture);
        } else {
            b.SetPictureHover(picture);
        }
        return true;
    }
    case QVBM_SETPICTUREPOSITION:
        b.SetPicturePosition(static_cast<std::int32_t>(wParam));
        return true;
    case QVBM_GETPICTUREPOSITION:
        result = b.PicturePosition();
        return true;
    case QVBM_SETPICTURESIZE:
        b.SetPictureWidth(static_cast<std::int32_t>(wParam));
        b.SetPictureHeight(static_cast<std::int32_t>(lParam));
        return true;
    case QVBM_GETPICTURESIZE:
        if (auto* size = reinterpret_cast<SIZE*>(lParam)) {
            *size = {b.PictureWidth(), b.PictureHeight()};
        }
        result = lParam != 0;
        return true;
    case QVBM_SETCOLOR:
        if (wParam < std::size(Colours)) {
            (b.*Colours[wParam].set)(static_cast<OleColor>(lParam));
        } else {
            result = FALSE;
        }
        return true;
    case QVBM_GETCOLOR:
        result = wParam < std::size(Colours) ? static_cast<LRESULT>((b.*Colours[wParam].get)()) : 0;
        return true;
    case QVBM_LOADPROPERTIES:
    case QVBM_SAVEPROPERTIES:
        // The number is the answer: a C program has no exception to catch.
        try {
            const Text fileName = FromWide(reinterpret_cast<const wchar_t*>(lParam));
            if (message == QVBM_LOADPROPERTIES) {
                LoadPropertiesFromFile(fileName);
            } else {
                SavePropertiesToFile(fileName);
            }
            result = 0;
        } catch (...) {
            result = CurrentErrorAsHostError().Number();
        }
        return true;
    default:
        return false;
    }
}

}  // namespace qv
