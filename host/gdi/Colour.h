#pragma once

#include <cstdint>

namespace qv {

// 0 to 0xFFFFFF is an RGB value, red in the low byte; a value with the high
// bit set names a system colour by the index in its low three bytes
// (0x8000000F is colour 15, the button face).
using OleColor = std::uint32_t;

// Everything that is not an RGB value names a system colour, also the values
// between 0x1000000 and 0x7FFFFFFF that no one writes on purpose.
constexpr bool IsSystemColour(OleColor colour) noexcept
{
    return static_cast<std::int32_t>(colour) < 0 || colour > 0xFFFFFF;
}

constexpr std::uint32_t SystemColourIndex(OleColor colour) noexcept
{
    return colour & 0xFFFFFF;
}

constexpr OleColor SystemColour(std::uint32_t index) noexcept
{
    return 0x80000000u | index;
}

constexpr OleColor RgbColour(int red, int green, int blue) noexcept
{
    return static_cast<OleColor>(red) | static_cast<OleColor>(green) << 8 | static_cast<OleColor>(blue) << 16;
}

}  // namespace qv
