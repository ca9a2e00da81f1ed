#pragma once

#include "host/base/OwnedHandle_win.h"

#include <windows.h>

namespace qv {

// A file handle from CreateFile, which says "none" with INVALID_HANDLE_VALUE.
using OwnedFile = OwnedHandle<HANDLE, &CloseHandle, -1>;

}  // namespace qv
