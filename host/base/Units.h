#pragma once
// Lengths in the units layouts and pictures use, turned into pixels of a
// display with a given density (dots per inch, horizontally or vertically).
// Every conversion rounds to the nearest pixel, halves away from zero.

#include <cstdint>

namespace qv {

constexpr int TwipsPerInch = 1440;
constexpr int PointsPerInch = 72;
constexpr int HimetricPerInch = 2540;
constexpr int StandardDpi = 96;

std::int32_t TwipsToPixels(std::int32_t twips, int dpi);
std::int32_t PixelsToTwips(std::int32_t pixels, int dpi);
std::int32_t PointsToPixels(double points, int dpi);
// Picture sizes: hundredths of a millimetre.
std::int32_t HimetricToPixels(std::int32_t himetric, int dpi);
std::int32_t PixelsToHimetric(std::int32_t pixels, int dpi);

}  // namespace qv
