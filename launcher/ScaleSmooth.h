#pragma once

#include "host/gdi/PixelImage.h"

namespace qv {

// Resamples with a triangle filter that widens with the reduction, so that
// enlarging interpolates smoothly and shrinking averages every source pixel.
// The same size gives back the same pixels.
PixelImage ScaleSmooth(const PixelImage& source, int width, int height);

}  // namespace qv
