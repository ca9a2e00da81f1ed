#include "StaticLabel_win.h"

#include "host/Win32Error_win.h"

#include <string>

namespace qv {

void StaticLabel::SetCaption(const Text& caption)
{
    if (!SetWindowTextW(m_control, Wide(caption))) {
        throw ErrorFromLastError(u"Der Text kann nicht gesetzt werden");
    }
}

Text StaticLabel::Caption() const
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(m_control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(m_control, text.data(), static_cast<int>(text.size()))));
    return FromWide(text.c_str());
}

void StaticLabel::Refresh()
{
    UpdateWindow(m_control);
}

}  // namespace qv
