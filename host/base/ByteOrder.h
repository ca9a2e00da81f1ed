#pragma once
// Little-endian numbers in file formats (BMP, ICO, PE) read from bytes the
// caller has checked are there.

#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {

inline std::uint32_t LittleEndian16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | static_cast<std::uint32_t>(bytes[at + 1]) << 8;
}

inline std::uint32_t LittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return LittleEndian16(bytes, at) | LittleEndian16(bytes, at + 2) << 16;
}

}  // namespace qv
