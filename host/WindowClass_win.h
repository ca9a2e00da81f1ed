#pragma once

#include <windows.h>

namespace qv {

// Registers a window class of this module; registering it again is no error.
// Throws HostError when the class cannot be registered.
void RegisterWindowClass(WNDCLASSEXW windowClass);

}  // namespace qv
