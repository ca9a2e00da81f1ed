#pragma once
// What a picture file's header says about the image in it, read before the
// platform decodes it: a file of a few bytes can claim billions of pixels.

#include <cstdint>
#include <optional>
#include <span>

namespace qv {

// No button needs more pixels in one picture: 2048 x 2048, or as many in another shape.
inline constexpr std::uint64_t MostPicturePixels = 2048 * 2048;

struct PictureExtent {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Metafiles are drawn, not decoded: their size costs nothing to load.
    bool drawn = false;

    std::uint64_t Pixels() const noexcept { return static_cast<std::uint64_t>(width) * height; }
};

// The largest image a BMP, ICO, CUR, GIF, JPEG, PNG, WMF or EMF file holds,
// as its headers claim it; nothing for data that is none of these or whose
// header is cut off.
std::optional<PictureExtent> PictureExtentOf(std::span<const std::uint8_t> fileData);

// Throws HostError 481 for file data that is no picture this program reads,
// or that decodes into more than MostPicturePixels.
void CheckPictureSize(std::span<const std::uint8_t> fileData);

}  // namespace qv
