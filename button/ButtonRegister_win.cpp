// The C entry points of quorvelinde/button.h, which the DLL exports.

#include "ButtonWindow_win.h"

#include "host/base/HostError.h"

extern "C" BOOL WINAPI QvButtonRegister(HINSTANCE instance, BOOL global)
{
    try {
        qv::ButtonWindow::Register(instance, global != FALSE);
        return TRUE;
    } catch (const qv::HostError& error) {
        SetLastError(error.Origin() == qv::ErrorOrigin::SystemCode ? static_cast<DWORD>(error.Number())
                                                                   : ERROR_CANNOT_MAKE);
        return FALSE;
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}

extern "C" BOOL WINAPI QvButtonUnregister(HINSTANCE instance)
{
    return UnregisterClassW(qv::ButtonClassName, instance ? instance : GetModuleHandleW(nullptr));
}
