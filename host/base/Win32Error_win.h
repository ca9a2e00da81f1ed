#pragma once

#include "host/base/HostError.h"

#include <windows.h>

namespace qv {

// "<what> (Fehler <code>: <system text>)"; the number is the Win32 error code.
HostError ErrorFromWin32(DWORD code, const Text& what);
// A call that failed without saying why is no success: error 51, not 0.
HostError ErrorFromLastError(const Text& what);
// GDI does not always set the last error when it cannot create an object: it
// has run out of memory or of handles. Error 7, with the system's text where there is one.
HostError ErrorFromGdiFailure(const Text& what);
// The number is the HRESULT as a signed 32-bit value.
HostError ErrorFromHresult(HRESULT hr, const Text& what);

}  // namespace qv
