#include "host/base/TickCounter.h"

#include <limits>

namespace qv {

std::int32_t ElapsedTicks(std::int32_t start, std::int32_t now) noexcept
{
    const std::uint32_t elapsed = static_cast<std::uint32_t>(now) - static_cast<std::uint32_t>(start);
    // A counter that ran backwards is a long wait, not a negative one.
    constexpr auto most = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(elapsed > most ? most : elapsed);
}

}  // namespace qv
