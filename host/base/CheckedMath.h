#pragma once
// Signed 32-bit and 16-bit arithmetic that raises Overflow (error 6) instead
// of wrapping, as the control host's integer types do.

#include "host/base/HostError.h"

#include <cstdint>
#include <limits>

namespace qv {

inline std::int32_t CheckedInt32(std::int64_t value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int32_t>(value);
}

inline std::int16_t CheckedInt16(std::int64_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw OverflowError();
    }
    return static_cast<std::int16_t>(value);
}

inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b)
{
    return CheckedInt32(static_cast<std::int64_t>(a) + b);
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b)
{
    return CheckedInt32(static_cast<std::int64_t>(a) - b);
}

// Half of a value, the fraction dropped toward zero: -5 gives -2.
inline std::int32_t HalfTowardZero(std::int32_t value) noexcept
{
    return value / 2;
}

}  // namespace qv
