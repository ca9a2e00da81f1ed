#pragma once
// The most the button takes from outside, from a property file or from a
// message of another program: beyond it a value is refused before anything
// of it is applied, with an error that names its property.

#include "host/base/Text.h"

#include <cstddef>
#include <cstdint>

namespace qv {

// Wrapping a caption costs the square of its length at every redraw.
inline constexpr std::size_t MostCaptionLength = 4096;

// Error 380 for a caption of more than MostCaptionLength characters.
void CheckCaptionLength(std::size_t length, const Text& property);

// Error 6 for a side of a picture size outside the drawing's 16 bits.
void CheckPictureSide(std::int32_t side, const Text& property);

// Error 6 for a picture size of more than MostPicturePixels; each side
// checked as CheckPictureSide does, the height naming `heightProperty`.
void CheckPictureSize(std::int32_t width, std::int32_t height, const Text& widthProperty,
                      const Text& heightProperty);

}  // namespace qv
