#pragma once
// A decoded picture as plain pixels, so that scaling runs and is tested
// without the platform.

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

// Resamples with a triangle filter that widens with the reduction, so that
// enlarging interpolates smoothly and shrinking averages every source pixel.
// The same size gives back the same pixels.
PixelImage ScaleSmooth(const PixelImage& source, int width, int height);

}  // namespace qv
