#pragma once

#include "host/base/HostError.h"

#include <windows.h>

namespace qv {

// "<what> (Fehler <code>: <system text>)"; the number is the Win32 error code.
HostError ErrorFromWin32(DWORD code, const Text& what);
HostError ErrorFromLastError(const Text& what);
// The number is the HRESULT as a signed 32-bit value.
HostError ErrorFromHresult(HRESULT hr, const Text& what);

}  // namespace qv
