#include "host/base/Units.h"

#include "host/base/HostError.h"

#include <cmath>
#include <limits>

namespace qv {
namespace {

// value * numerator / denominator, rounded half away from zero; Overflow when
// the result does not fit 32 bits.
std::int32_t Scale(std::int64_t value, std::int64_t numerator, std::int64_t denominator)
{
    const std::int64_t twice = value * numerator * 2;
    const std::int64_t rounded = (twice >= 0 ? twice + denominator : twice - denominator) / (2 * denominator);
    if (rounded < std::numeric_limits<std::int32_t>::min() || rounded > std::numeric_limits<std::int32_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace

std::int32_t TwipsToPixels(std::int32_t twips, int dpi)
{
    return Scale(twips, dpi, TwipsPerInch);
}

std::int32_t PixelsToTwips(std::int32_t pixels, int dpi)
{
    return Scale(pixels, TwipsPerInch, dpi);
}

std::int32_t PointsToPixels(double points, int dpi)
{
    const double pixels = std::round(points * dpi / PointsPerInch);
    if (!(std::abs(pixels) <= std::numeric_limits<std::int32_t>::max())) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(pixels);
}

std::int32_t HimetricToPixels(std::int32_t himetric, int dpi)
{
    return Scale(himetric, dpi, HimetricPerInch);
}

std::int32_t PixelsToHimetric(std::int32_t pixels, int dpi)
{
    return Scale(pixels, HimetricPerInch, dpi);
}

}  // namespace qv
