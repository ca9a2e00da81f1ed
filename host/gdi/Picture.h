#pragma once
// A picture as controls hold it: a shared reference to the platform's picture
// object, or nothing (a null reference). An empty picture, an object that
// holds no image and measures 0 x 0, is a third value, distinct from both.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qv {

class PictureObject {
public:
    virtual ~PictureObject() = default;

    // Size in HIMETRIC, hundredths of a millimetre.
    virtual std::int32_t Width() const = 0;
    virtual std::int32_t Height() const = 0;
    // True for the empty picture, which holds no image.
    virtual bool IsEmpty() const = 0;
    // The picture's own file data, which loads again into an equal picture;
    // nothing for the empty picture. Throws HostError.
    virtual std::vector<std::uint8_t> FileData() const = 0;
};

using PictureRef = std::shared_ptr<PictureObject>;

class PictureLoader {
public:
    virtual ~PictureLoader() = default;

    // Decodes picture file data (BMP, ICO, CUR, GIF, JPEG, PNG, metafiles);
    // no data gives the empty picture. Throws HostError 481 for data that does
    // not decode.
    virtual PictureRef LoadPicture(std::span<const std::uint8_t> fileData) = 0;
};

}  // namespace qv
