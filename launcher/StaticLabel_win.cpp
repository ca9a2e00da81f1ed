#include "StaticLabel_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/gdi/GdiOwners_win.h"


namespace qv {

StaticLabel::StaticLabel(HWND parent, int id, const wchar_t* text)
    : m_control(CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr))
{
    if (!m_control) {
        throw ErrorFromLastError(u"Ein Feld des Fensters kann nicht angelegt werden");
    }
}

void StaticLabel::SetCaption(const Text& caption)
{
    if (!SetWindowTextW(m_control, Wide(caption))) {
        throw ErrorFromLastError(u"Der Text kann nicht gesetzt werden");
    }
    FitToText();
}

Text StaticLabel::Caption() const
{
    return WindowText(m_control);
}

void StaticLabel::Refresh()
{
    UpdateWindow(m_control);
}

void StaticLabel::Place(const PixelBox& home, const PixelBox& room, HFONT font)
{
    m_home = home;
    m_room = room;
    SendMessageW(m_control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    FitToText();
    InvalidateRect(m_control, nullptr, TRUE);
}

void StaticLabel::FitToText()
{
    const Text text = WindowText(m_control);

    // Measured as the static control draws: its font, word breaks, its width.
    const WindowDC dc(m_control);
    const Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(m_control, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    RECT bounds{0, 0, m_home.width, 0};
    const int textHeight =
        text.empty() ? 0
                     : DrawTextW(dc.Get(), Wide(text), static_cast<int>(text.size()), &bounds,
                                 DT_CALCRECT | DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);

    const PixelBox box = GrowToFit(m_home, m_room, textHeight, metrics.tmHeight);
    RECT current{};
    GetWindowRect(m_control, &current);
    MapWindowPoints(nullptr, GetParent(m_control), reinterpret_cast<POINT*>(&current), 2);
    if (current.left != box.left || current.top != box.top || current.right != box.Right() ||
        current.bottom != box.Bottom()) {
        MoveWindow(m_control, box.left, box.top, box.width, box.height, TRUE);
    }
}

}  // namespace qv
