#pragma once
// The platform's own picture object (OLE IPicture) behind a PictureRef.
// Needs COM on the calling thread.

#include "host/base/ComPtr_win.h"
#include "host/gdi/GdiOwners_win.h"
#include "host/gdi/Picture.h"

#include <ocidl.h>
#include <olectl.h>

namespace qv {

class OlePicture final : public PictureObject {
public:
    // Decodes with OleLoadPicture; no data gives the empty picture. The data
    // is kept, so that saving gives back exactly what was loaded.
    static PictureRef Load(std::span<const std::uint8_t> fileData);
    // A picture of type "none": no image, 0 x 0.
    static PictureRef Empty();
    // A picture object made elsewhere.
    static PictureRef Wrap(ComPtr<IPicture> picture);
    // A picture of a bitmap or icon handle, which stays the caller's: it
    // must outlive the picture. Null for a handle that is not of that kind.
    static PictureRef Borrow(HBITMAP bitmap);
    static PictureRef Borrow(HICON icon);

    std::int32_t Width() const override;
    std::int32_t Height() const override;
    bool IsEmpty() const override;
    std::vector<std::uint8_t> FileData() const override;

    IPicture* Get() const noexcept { return m_picture.Get(); }
    // PICTYPE_BITMAP, PICTYPE_ICON, PICTYPE_METAFILE, PICTYPE_ENHMETAFILE or PICTYPE_NONE.
    SHORT Type() const;
    // The bitmap, icon or metafile handle, which stays the picture's.
    OLE_HANDLE Handle() const;
    // For a bitmap: the same pixels as a DIB section, which draws without a
    // trip to the display; null for other pictures.
    HBITMAP DrawingBitmap() const noexcept { return m_drawingBitmap.Get(); }

    OlePicture(ComPtr<IPicture> picture, std::vector<std::uint8_t> fileData);

private:
    ComPtr<IPicture> m_picture;
    std::vector<std::uint8_t> m_fileData;
    OwnedBitmap m_drawingBitmap;
};

// The OLE picture behind a reference, or null for nothing and for pictures
// that are not the platform's.
const OlePicture* AsOlePicture(const PictureRef& picture) noexcept;
const OlePicture* AsOlePicture(const PictureObject& picture) noexcept;

class OlePictureLoader final : public PictureLoader {
public:
    PictureRef LoadPicture(std::span<const std::uint8_t> fileData) override { return OlePicture::Load(fileData); }
};

}  // namespace qv
