#pragma once

#include <cstdint>

namespace qv {

class TickCounter {
public:
    virtual ~TickCounter() = default;
    // Milliseconds since system start, taken as a signed 32-bit number: it wraps.
    virtual std::int32_t TickCount() = 0;
};

// Milliseconds from start to now on a counter that wraps; never fails.
std::int32_t ElapsedTicks(std::int32_t start, std::int32_t now) noexcept;

}  // namespace qv
