#pragma once
// Font objects as GDI fonts and back, at a display's density.

#include "host/gdi/FontObject.h"
#include "host/gdi/GdiOwners_win.h"

#include <windows.h>

namespace qv {

// A GDI font with the object's attributes, its size in points at `dpi`.
// Throws HostError.
OwnedFont CreateFontFor(const FontObject& font, int dpi);

// A font object with a GDI font's attributes; its em height becomes points at `dpi`.
FontRef FontObjectOf(HFONT font, int dpi);

// The font the system uses for message boxes.
FontRef SystemMessageFont(int dpi);

}  // namespace qv
