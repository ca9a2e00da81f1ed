// The messages a push button answers for the dialog manager, screen readers
// and test tools (BM_), and the button's own for programs in any language (QVBM_).

#include "ButtonWindow_win.h"

#include "ButtonLimits.h"

#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/gdi/PictureFormat.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qv {
namespace {

// BST_HOT, which older headers declare only for newer common controls.
constexpr LRESULT HotState = 0x0200;

// A handed picture is held to the limit a picture from a file is.
void CheckHandedPicture(WPARAM type, LPARAM handle)
{
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    if (type == IMAGE_BITMAP) {
        BITMAP bitmap{};
        if (GetObjectW(reinterpret_cast<HBITMAP>(handle), sizeof bitmap, &bitmap)) {
            width = static_cast<std::uint64_t>(bitmap.bmWidth);
            height = static_cast<std::uint64_t>(std::abs(bitmap.bmHeight));
        }
    } else if (ICONINFO info{}; handle && GetIconInfo(reinterpret_cast<HICON>(handle), &info)) {
        const OwnedBitmap mask(info.hbmMask);
        const OwnedBitmap colour(info.hbmColor);
        BITMAP bitmap{};
        if (GetObjectW(info.hbmMask, sizeof bitmap, &bitmap)) {
            width = static_cast<std::uint64_t>(bitmap.bmWidth);
            // A monochrome icon's mask holds the image above the mask.
            height = static_cast<std::uint64_t>(std::abs(bitmap.bmHeight)) / (colour ? 1 : 2);
        }
    }
    // Each side on its own first: a long thin picture has few pixels, yet no drawing can take it.
    CheckPictureSide(static_cast<std::int32_t>(std::min<std::uint64_t>(width, 0x7FFFFFFF)), u"Picture");
    CheckPictureSide(static_cast<std::int32_t>(std::min<std::uint64_t>(height, 0x7FFFFFFF)), u"Picture");
    if (width * height > MostPicturePixels) {
        throw HostError(ErrorNumber::InvalidPicture, u"Ungültiges Bild: " + DecimalText(static_cast<std::int64_t>(width)) +
                                                         u" \u00D7 " + DecimalText(static_cast<std::int64_t>(height)) +
                                                         u" Bildpunkte sind mehr als " +
                                                         DecimalText(static_cast<std::int64_t>(MostPicturePixels)));
    }
}

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
// The switches of QVBF_EDGE to QVBF_HANDPOINTER, in that order.
struct FlagProperty {
    bool (button::*get)() const noexcept;
    void (button::*set)(bool);
};
constexpr FlagProperty Flags[] = {
    {&button::XPShowBorderAlways, &button::SetXPShowBorderAlways},
    {&button::ShowFocusRect, &button::SetShowFocusRect},
    {&button::DefCurHand, &button::SetDefCurHand},
};

constexpr ColourProperty Colours[] = {
    {&button::BackColor, &button::SetBackColor},         {&button::ForeColor, &button::SetForeColor},
    {&button::Color_Hover, &button::SetColor_Hover},     {&button::Color_Pressed, &button::SetColor_Pressed},
    {&button::MaskColor, &button::SetMaskColor},
};

}  // namespace

bool ButtonWindow::PushButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
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
    case BM_SETSTYLE:
        SetDefaultStyle(wParam, LOWORD(lParam) != FALSE);
        result = 0;
        return true;
    case BM_SETSTATE:
        m_button.PreviewState(m_button.IsMouseOver(), wParam != FALSE, m_button.HasFocus());
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT ButtonWindow::ResultOf(const HostError& error)
{
    switch (error.Origin()) {
    case ErrorOrigin::SystemCode:
        return HRESULT_FROM_WIN32(static_cast<DWORD>(error.Number()));
    case ErrorOrigin::SystemResult:
        return static_cast<HRESULT>(error.Number());
    case ErrorOrigin::Program:
        break;
    }
    switch (error.Number()) {
    case ErrorNumber::InvalidCall:
        return QVB_E_INVALIDCALL;
    case ErrorNumber::Overflow:
        return QVB_E_OVERFLOW;
    case ErrorNumber::OutOfMemory:
        return QVB_E_OUTOFMEMORY;
    case ErrorNumber::TypeMismatch:
        return QVB_E_TYPEMISMATCH;
    case ErrorNumber::InvalidFileFormat:
        return QVB_E_FILEFORMAT;
    case ErrorNumber::InvalidPropertyValue:
        return QVB_E_INVALIDVALUE;
    case ErrorNumber::InvalidPicture:
        return QVB_E_INVALIDPICTURE;
    default:
        return QVB_E_INTERNAL;
    }
}

bool ButtonWindow::ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message < QVBM_FIRST || message > QVBM_PREVIEW) {
        return false;
    }
    // The result is the answer: a program in another language has no exception to catch.
    try {
        result = ApplyButtonMessage(message, wParam, lParam);
    } catch (...) {
        result = ResultOf(CurrentErrorAsHostError());
    }
    return true;
}

LRESULT ButtonWindow::ApplyButtonMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    button& b = m_button;
    const auto invalidCall = [] { return HostError(ErrorNumber::InvalidCall, u"Ungültiger Aufruf"); };
    switch (message) {
    case QVBM_SETCAPTION: {
        // The length is the caller's word: checked before a single character is read.
        CheckCaptionLength(wParam, u"Caption");
        const Text caption(reinterpret_cast<const char16_t*>(lParam), lParam ? wParam : 0);
        b.SetCaption(caption);
        return QVB_OK;
    }
    case QVBM_GETCAPTION: {
        const Text& caption = b.Caption();
        if (lParam && wParam > 0) {
            const std::size_t copied = std::min<std::size_t>(caption.size(), wParam - 1);
            auto* buffer = reinterpret_cast<char16_t*>(lParam);
            std::memcpy(buffer, caption.data(), copied * sizeof(char16_t));
            buffer[copied] = u'\0';
        }
        return static_cast<LRESULT>(caption.size());
    }
    case QVBM_SETPICTURE:
    case QVBM_SETHOVERPICTURE: {
        bool valid = false;
        const PictureRef picture = PictureOfHandle(wParam, lParam, valid);
        if (!valid) {
            throw invalidCall();
        }
        CheckHandedPicture(wParam, lParam);
        if (message == QVBM_SETPICTURE) {
            b.SetPicture(picture);
        } else {
            b.SetPictureHover(picture);
        }
        return QVB_OK;
    }
    case QVBM_SETPICTUREPOSITION:
        b.SetPicturePosition(static_cast<std::int32_t>(wParam));
        return QVB_OK;
    case QVBM_GETPICTUREPOSITION:
        return b.PicturePosition();
    case QVBM_SETPICTURESIZE: {
        const auto width = static_cast<std::int32_t>(static_cast<INT_PTR>(wParam));
        const auto height = static_cast<std::int32_t>(lParam);
        CheckPictureSize(width, height, u"PictureWidth", u"PictureHeight");
        b.SetPictureWidth(width);
        b.SetPictureHeight(height);
        return QVB_OK;
    }
    case QVBM_GETPICTURESIZE:
        if (auto* size = reinterpret_cast<SIZE*>(lParam)) {
            *size = {b.PictureWidth(), b.PictureHeight()};
            return QVB_OK;
        }
        throw invalidCall();
    case QVBM_SETCOLOR:
        if (wParam >= std::size(Colours)) {
            throw invalidCall();
        }
        (b.*Colours[wParam].set)(static_cast<OleColor>(lParam));
        return QVB_OK;
    case QVBM_GETCOLOR:
        // No colour for an index it does not take, as GetPixel answers outside its bitmap.
        return wParam < std::size(Colours) ? static_cast<LRESULT>((b.*Colours[wParam].get)()) : CLR_INVALID;
    case QVBM_LOADPROPERTIES:
    case QVBM_SAVEPROPERTIES: {
        if (!lParam) {
            throw invalidCall();
        }
        const Text fileName = FromWide(reinterpret_cast<const wchar_t*>(lParam));
        if (message == QVBM_LOADPROPERTIES) {
            LoadPropertiesFromFile(fileName);
        } else {
            SavePropertiesToFile(fileName);
        }
        return QVB_OK;
    }
    case QVBM_SETMOVENOTIFY:
        m_notifyMoves = wParam != FALSE;
        return QVB_OK;
    case QVBM_SETFLAG:
    case QVBM_GETFLAG:
        if (wParam >= std::size(Flags)) {
            throw invalidCall();
        }
        if (message == QVBM_GETFLAG) {
            return (b.*Flags[wParam].get)() ? TRUE : FALSE;
        }
        (b.*Flags[wParam].set)(lParam != FALSE);
        b.Refresh();
        return QVB_OK;
    case QVBM_PREVIEW:
        if (wParam & ~static_cast<WPARAM>(QVBP_HOVER | QVBP_PRESSED | QVBP_FOCUS)) {
            throw invalidCall();
        }
        b.PreviewState((wParam & QVBP_HOVER) != 0, (wParam & QVBP_PRESSED) != 0, (wParam & QVBP_FOCUS) != 0);
        return QVB_OK;
    default:
        throw invalidCall();
    }
}

}  // namespace qv
