#pragma once

#include "host/gdi/PixelImage.h"

#include <windows.h>

namespace qv {

// 32 bits a pixel, 0x00RRGGBB, top row first: how GDI sees a PixelImage's pixels.
BITMAPINFO DibFormat(int width, int height);
inline BITMAPINFO DibFormatOf(const PixelImage& image)
{
    return DibFormat(image.width, image.height);
}

// A copy of a bitmap's pixels. Throws HostError.
PixelImage PixelsOfBitmap(HBITMAP bitmap);

}  // namespace qv
