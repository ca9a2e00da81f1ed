#pragma once

#include <cstdint>

namespace qv {

// The platform's rectangle: right and bottom exclusive.
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const Rect&) const = default;
};

}  // namespace qv
