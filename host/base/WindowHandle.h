#pragma once

#include <cstdint>

namespace qv {

// A window as the platform names it.
using WindowHandle = std::uintptr_t;

}  // namespace qv
