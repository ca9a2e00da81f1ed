#include "PictureResource_win.h"

#include "host/base/HostError.h"
#include "host/base/ResourceData_win.h"
#include "host/gdi/OlePicture_win.h"
#include "host/gdi/PixelImage_win.h"

namespace qv {

PixelImage LoadPictureResource(HMODULE module, int resourceId)
{
    const PictureRef picture = OlePicture::Load(RawResource(module, resourceId));
    const OlePicture& decoded = *AsOlePicture(picture);
    if (decoded.Type() != PICTYPE_BITMAP) {
        throw HostError(ErrorNumber::InvalidPicture, u"Das Bild ist kein Rasterbild");
    }
    // The picture keeps owning its bitmap; the pixels are copied out before it goes.
    return PixelsOfBitmap(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(decoded.Handle())));
}

}  // namespace qv
