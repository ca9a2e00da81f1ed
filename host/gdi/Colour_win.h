#pragma once

#include "host/gdi/Colour.h"

#include <windows.h>

namespace qv {

// The RGB value a colour stands for now: system colours as the system paints them.
inline COLORREF RgbOf(OleColor colour)
{
    return IsSystemColour(colour) ? GetSysColor(static_cast<int>(SystemColourIndex(colour))) : colour;
}

}  // namespace qv
