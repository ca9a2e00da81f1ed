// The C entry point of quorvelinde/button_win.h.

#include "ButtonWindow_win.h"

#include "host/base/HostError.h"

extern "C" BOOL WINAPI QvButtonRegister(HINSTANCE instance, BOOL global)
{
    try {
        qv::ButtonWindow::Register(instance, global != FALSE);
        return TRUE;
    } catch (const qv::HostError& error) {
        SetLastError(static_cast<DWORD>(error.Number()));
        return FALSE;
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
}
