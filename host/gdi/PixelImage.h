#pragma once
// A decoded picture as plain pixels, so that what is done with them runs and
// is tested without the platform.

#include <cstdint>
#include <vector>

namespace qv {

struct PixelImage {
    int width = 0;
    int height = 0;
    // Rows top to bottom, each pixel 0x00RRGGBB.
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace qv
