// The C entry points of quorvelinde/button.h, which the DLL exports.

#include "ButtonAccessible_win.h"
#include "ButtonWindow_win.h"

#include "host/base/HostError.h"

#include <map>

namespace {

// Registrations per module, so that only the last unregister removes the
// class that other parts of a program still use. UI thread, as every call here.
std::map<HINSTANCE, int> g_registrations;

HINSTANCE ModuleOf(HINSTANCE instance)
{
    return instance ? instance : GetModuleHandleW(nullptr);
}

}  // namespace

extern "C" BOOL WINAPI QvButtonRegister(HINSTANCE instance, BOOL global)
{
    const HINSTANCE module = ModuleOf(instance);
    // A class of this name that another module registered, or this one with
    // the other scope, is not the one asked for: its windows would not be buttons.
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(module, qv::ButtonClassName, &existing) &&
        (!qv::ButtonWindow::IsOwnClass(existing) || ((existing.style & CS_GLOBALCLASS) != 0) != (global != FALSE))) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return FALSE;
    }
    try {
        qv::ButtonWindow::Register(module, global != FALSE);
        ++g_registrations[module];
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
    const HINSTANCE module = ModuleOf(instance);
    const auto found = g_registrations.find(module);
    if (found != g_registrations.end() && found->second > 1) {
        --found->second;
        return TRUE;
    }
    if (!UnregisterClassW(qv::ButtonClassName, module)) {
        return FALSE;
    }
    // The program may free the DLL next: what a screen reader still holds must keep working.
    qv::ButtonAccessible::KeepModuleWhileAnyLives();
    if (found != g_registrations.end()) {
        g_registrations.erase(found);
    }
    return TRUE;
}
