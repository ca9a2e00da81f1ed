#include "PictureResource_win.h"

#include "host/OlePicture_win.h"
#include "host/PixelImage_win.h"
#include "host/Win32Error_win.h"

namespace qv {

PixelImage LoadPictureResource(HMODULE module, int resourceId)
{
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        throw ErrorFromLastError(u"Das Bild fehlt im Programm");
    }
    const auto bytes = static_cast<const std::uint8_t*>(data);
    const PictureRef picture = OlePicture::Load({bytes, SizeofResource(module, found)});
    const OlePicture& decoded = *AsOlePicture(picture);
    if (decoded.Type() != PICTYPE_BITMAP) {
        throw HostError(ErrorNumber::InvalidPicture, u"Das Bild ist kein Rasterbild");
    }
    // The picture keeps owning its bitmap; the pixels are copied out before it goes.
    return PixelsOfBitmap(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(decoded.Handle())));
}

}  // namespace qv
