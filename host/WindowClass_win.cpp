#include "WindowClass_win.h"

#include "Win32Error_win.h"

namespace qv {

void RegisterWindowClass(WNDCLASSEXW windowClass)
{
    windowClass.cbSize = sizeof windowClass;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw ErrorFromLastError(u"Die Fensterklasse kann nicht angelegt werden");
    }
}

}  // namespace qv
