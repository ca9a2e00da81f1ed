#include "PictureResource_win.h"

#include "PixelImageFormat_win.h"

#include "host/ComPtr_win.h"
#include "host/GdiObject_win.h"
#include "host/Win32Error_win.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

namespace qv {
namespace {

// A stream over a copy of the resource's bytes; the stream frees the copy.
ComPtr<IStream> StreamOver(const void* data, DWORD size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) {
        throw ErrorFromLastError(u"Für das Bild ist kein Speicher frei");
    }
    std::memcpy(GlobalLock(memory), data, size);
    GlobalUnlock(memory);
    ComPtr<IStream> stream;
    const HRESULT hr = CreateStreamOnHGlobal(memory, TRUE, stream.Put());
    if (FAILED(hr)) {
        GlobalFree(memory);
        throw ErrorFromHresult(hr, u"Das Bild kann nicht gelesen werden");
    }
    return stream;
}

PixelImage PixelsOf(HBITMAP bitmap)
{
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
        throw HostError(481, u"Das Bild hat keine Bildpunkte");
    }
    PixelImage image{info.bmWidth, info.bmHeight,
                     std::vector<std::uint32_t>(static_cast<std::size_t>(info.bmWidth) * info.bmHeight)};
    BITMAPINFO format = DibFormatOf(image);
    const WindowDC screen(nullptr);
    if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), image.pixels.data(), &format,
                  DIB_RGB_COLORS) != info.bmHeight) {
        throw HostError(481, u"Die Bildpunkte des Bildes können nicht gelesen werden");
    }
    for (std::uint32_t& pixel : image.pixels) {
        pixel &= 0xFFFFFF;
    }
    return image;
}

}  // namespace

PixelImage LoadPictureResource(HMODULE module, int resourceId)
{
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        throw ErrorFromLastError(u"Das Bild fehlt im Programm");
    }
    const DWORD size = SizeofResource(module, found);
    const ComPtr<IStream> stream = StreamOver(data, size);

    ComPtr<IPicture> picture;
    const HRESULT hr = OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(picture.Put()));
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"Das Bild kann nicht entschlüsselt werden");
    }
    SHORT type = PICTYPE_NONE;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle))) {
        throw HostError(481, u"Das Bild ist kein Rasterbild");
    }
    // The picture keeps owning its bitmap; the pixels are copied out before it goes.
    return PixelsOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
}

}  // namespace qv
