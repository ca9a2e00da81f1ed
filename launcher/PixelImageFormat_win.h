#pragma once

#include "PixelImage.h"

#include <windows.h>

namespace qv {

// How GDI sees a PixelImage's pixels: 32 bits each, top row first.
inline BITMAPINFO DibFormatOf(const PixelImage& image)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = image.width;
    format.bmiHeader.biHeight = -image.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

}  // namespace qv
