#include "host/gdi/PixelImage_win.h"

#include "host/base/HostError.h"
#include "host/gdi/GdiOwners_win.h"

namespace qv {

BITMAPINFO DibFormat(int width, int height)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

PixelImage PixelsOfBitmap(HBITMAP bitmap)
{
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
        throw HostError(ErrorNumber::InvalidPicture, u"Das Bild hat keine Bildpunkte");
    }
    PixelImage image{info.bmWidth, info.bmHeight,
                     std::vector<std::uint32_t>(static_cast<std::size_t>(info.bmWidth) * info.bmHeight)};
    BITMAPINFO format = DibFormatOf(image);
    const WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), image.pixels.data(), &format,
                  DIB_RGB_COLORS) != info.bmHeight) {
        throw HostError(ErrorNumber::InvalidPicture, u"Die Bildpunkte des Bildes können nicht gelesen werden");
    }
    for (std::uint32_t& pixel : image.pixels) {
        pixel &= 0xFFFFFF;
    }
    return image;
}

}  // namespace qv
