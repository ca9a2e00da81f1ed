#pragma once

#include "PixelImage.h"

#include <windows.h>

namespace qv {

// How GDI sees a PixelImage's pixels: 32 bits each, top row first.
BITMAPINFO DibFormatOf(const PixelImage& image);

// A copy of a bitmap's pixels. Throws HostError.
PixelImage PixelsOfBitmap(HBITMAP bitmap);

}  // namespace qv
