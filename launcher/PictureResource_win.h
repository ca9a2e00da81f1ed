#pragma once

#include "host/gdi/PixelImage.h"

#include <windows.h>

namespace qv {

// Decodes a picture file (JPEG, GIF, BMP) kept as raw data in `module` with
// the platform's picture loader and returns its pixels at their natural size.
// Needs COM on the calling thread. Throws HostError.
PixelImage LoadPictureResource(HMODULE module, int resourceId);

}  // namespace qv
