#include "host/gdi/OlePicture_win.h"

#include "host/base/HostError.h"
#include "host/base/Win32Error_win.h"
#include "host/gdi/PictureFormat.h"
#include "host/gdi/PixelImage_win.h"

#include <cstring>
#include <limits>

namespace qv {
namespace {

// A stream over a copy of the bytes; the stream frees the copy.
ComPtr<IStream> StreamOver(std::span<const std::uint8_t> bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) {
        throw ErrorFromLastError(u"Für das Bild ist kein Speicher frei");
    }
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    ComPtr<IStream> stream;
    const HRESULT hr = CreateStreamOnHGlobal(memory, TRUE, stream.Put());
    if (FAILED(hr)) {
        GlobalFree(memory);
        throw ErrorFromHresult(hr, u"Das Bild kann nicht gelesen werden");
    }
    return stream;
}

// A bitmap as a BMP file: 32 bits a pixel, bottom row first as the format wants.
std::vector<std::uint8_t> BmpFileOf(HBITMAP bitmap)
{
    const PixelImage image = PixelsOfBitmap(bitmap);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    const std::size_t pixelBytes = image.pixels.size() * 4;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
    std::vector<std::uint8_t> data(file.bfSize);
    std::memcpy(data.data(), &file, sizeof file);
    std::memcpy(data.data() + sizeof file, &info, sizeof info);
    std::uint8_t* row = data.data() + file.bfOffBits;
    for (int y = image.height - 1; y >= 0; --y, row += static_cast<std::size_t>(image.width) * 4) {
        std::memcpy(row, &image.pixels[static_cast<std::size_t>(y) * image.width], static_cast<std::size_t>(image.width) * 4);
    }
    return data;
}

HostError InvalidPicture(const Text& detail)
{
    return HostError(ErrorNumber::InvalidPicture, u"Ungültiges Bild: " + detail);
}

// A DIB section with a bitmap's pixels.
OwnedBitmap DibSectionOf(HBITMAP bitmap)
{
    const PixelImage image = PixelsOfBitmap(bitmap);
    const BITMAPINFO format = DibFormatOf(image);
    void* bits = nullptr;
    OwnedBitmap copy(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!copy) {
        throw ErrorFromGdiFailure(u"Für das Bild ist kein Speicher frei");
    }
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof image.pixels[0]);
    return copy;
}

}  // namespace

OlePicture::OlePicture(ComPtr<IPicture> picture, std::vector<std::uint8_t> fileData)
    : m_picture(std::move(picture)), m_fileData(std::move(fileData))
{
    // The loader gives display bitmaps, which Wine, for one, is slow to draw from.
    if (Type() == PICTYPE_BITMAP) {
        m_drawingBitmap = DibSectionOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(Handle())));
    }
}

PictureRef OlePicture::Load(std::span<const std::uint8_t> fileData)
{
    if (fileData.empty()) {
        return Empty();
    }
    if (fileData.size() > static_cast<std::size_t>(std::numeric_limits<LONG>::max())) {
        throw InvalidPicture(u"zu groß");
    }
    // Before decoding: what the header claims is what decoding would allocate.
    CheckPictureSize(fileData);
    const ComPtr<IStream> stream = StreamOver(fileData);
    ComPtr<IPicture> picture;
    const HRESULT hr = OleLoadPicture(stream.Get(), static_cast<LONG>(fileData.size()), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(picture.Put()));
    if (FAILED(hr) || !picture) {
        throw InvalidPicture(ErrorFromHresult(hr, u"die Daten lassen sich nicht entschlüsseln").Description());
    }
    return std::make_shared<OlePicture>(std::move(picture),
                                        std::vector<std::uint8_t>(fileData.begin(), fileData.end()));
}

PictureRef OlePicture::Empty()
{
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_NONE;
    ComPtr<IPicture> picture;
    const HRESULT hr =
        OleCreatePictureIndirect(&description, IID_IPicture, TRUE, reinterpret_cast<void**>(picture.Put()));
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"Ein leeres Bild kann nicht angelegt werden");
    }
    return std::make_shared<OlePicture>(std::move(picture), std::vector<std::uint8_t>{});
}

PictureRef OlePicture::Wrap(ComPtr<IPicture> picture)
{
    if (!picture) {
        return nullptr;
    }
    return std::make_shared<OlePicture>(std::move(picture), std::vector<std::uint8_t>{});
}

namespace {

PictureRef Borrowed(PICTDESC& description)
{
    description.cbSizeofstruct = sizeof description;
    ComPtr<IPicture> picture;
    const HRESULT hr =
        OleCreatePictureIndirect(&description, IID_IPicture, FALSE, reinterpret_cast<void**>(picture.Put()));
    if (FAILED(hr)) {
        throw ErrorFromHresult(hr, u"Das Bild kann nicht übernommen werden");
    }
    return OlePicture::Wrap(std::move(picture));
}

}  // namespace

PictureRef OlePicture::Borrow(HBITMAP bitmap)
{
    if (GetObjectType(bitmap) != OBJ_BITMAP) {
        return nullptr;
    }
    PICTDESC description{};
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    return Borrowed(description);
}

PictureRef OlePicture::Borrow(HICON icon)
{
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return nullptr;
    }
    // GetIconInfo hands out copies of the icon's bitmaps.
    const OwnedBitmap colour(info.hbmColor);
    const OwnedBitmap mask(info.hbmMask);
    PICTDESC description{};
    description.picType = PICTYPE_ICON;
    description.icon.hicon = icon;
    return Borrowed(description);
}

std::int32_t OlePicture::Width() const
{
    if (IsEmpty()) {
        return 0;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    m_picture->get_Width(&width);
    return static_cast<std::int32_t>(width);
}

std::int32_t OlePicture::Height() const
{
    if (IsEmpty()) {
        return 0;
    }
    OLE_YSIZE_HIMETRIC height = 0;
    m_picture->get_Height(&height);
    return static_cast<std::int32_t>(height);
}

SHORT OlePicture::Type() const
{
    SHORT type = PICTYPE_NONE;
    m_picture->get_Type(&type);
    return type;
}

bool OlePicture::IsEmpty() const
{
    const SHORT type = Type();
    return type == PICTYPE_NONE || type == PICTYPE_UNINITIALIZED;
}

OLE_HANDLE OlePicture::Handle() const
{
    OLE_HANDLE handle = 0;
    m_picture->get_Handle(&handle);
    return handle;
}

std::vector<std::uint8_t> OlePicture::FileData() const
{
    if (!m_fileData.empty() || IsEmpty()) {
        return m_fileData;
    }
    ComPtr<IStream> stream;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Put());
    LONG size = 0;
    if (SUCCEEDED(hr)) {
        hr = m_picture->SaveAsFile(stream.Get(), TRUE, &size);
    }
    HGLOBAL memory = nullptr;
    if (SUCCEEDED(hr)) {
        hr = GetHGlobalFromStream(stream.Get(), &memory);
    }
    if (FAILED(hr) || size < 0) {
        throw ErrorFromHresult(FAILED(hr) ? hr : E_FAIL, u"Das Bild kann nicht gespeichert werden");
    }
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
    std::vector<std::uint8_t> data(bytes, bytes + size);
    GlobalUnlock(memory);
    if (data.empty() && Type() == PICTYPE_BITMAP) {
        // Some platforms save only what a picture was loaded from.
        return BmpFileOf(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(Handle())));
    }
    if (data.empty()) {
        throw HostError(ErrorNumber::InvalidPicture, u"Das Bild kann nicht gespeichert werden");
    }
    return data;
}

const OlePicture* AsOlePicture(const PictureRef& picture) noexcept
{
    return picture ? AsOlePicture(*picture) : nullptr;
}

const OlePicture* AsOlePicture(const PictureObject& picture) noexcept
{
    return dynamic_cast<const OlePicture*>(&picture);
}

}  // namespace qv
