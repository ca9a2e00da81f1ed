#pragma once

#include <cstdint>

namespace qv {

// 0 to 0xFFFFFF is an RGB value, red in the low byte; a value with the high
// bit set names a system colour by the index in its low three bytes
// (0x8000000F is colour 15, the button face).
using OleColor = std::uint32_t;

constexpr bool IsSystemColour(OleColor colour) noexcept
{
    return (colour & 0x80000000u) != 0;
}

constexpr OleColor RgbColour(int red, int green, int blue) noexcept
{
    return static_cast<OleColor>(red) | static_cast<OleColor>(green) << 8 | static_cast<OleColor>(blue) << 16;
}

}  // namespace qv
