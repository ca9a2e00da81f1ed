#include "host/window/WindowContainer_win.h"

#include "host/base/WideText_win.h"
#include "host/gdi/GdiFont_win.h"
#include "host/window/Dpi_win.h"

namespace qv {

Text WindowContainer::DisplayName()
{
    const Text text = WindowText(m_control);
    return text.empty() ? u"button" + DecimalText(GetDlgCtrlID(m_control)) : text;
}

FontRef WindowContainer::AmbientFont()
{
    const int dpi = DpiOfWindow(m_control);
    if (const HWND parent = GetParent(m_control)) {
        if (const auto font = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0))) {
            return FontObjectOf(font, dpi);
        }
    }
    return SystemMessageFont(dpi);
}

void WindowContainer::PropertyChanged(const Text& propertyName)
{
    if (propertyChanged) {
        propertyChanged(propertyName);
    }
}

}  // namespace qv
