#pragma once

#include <windows.h>

namespace qv {

// The dots per inch of the display a window is on, as the system tells a
// program that scales itself; 96 where the system cannot tell.
int DpiOfWindow(HWND window);

}  // namespace qv
