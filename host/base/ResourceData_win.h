#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace qv {

// A raw data resource (RCDATA) of a module, as the module holds it. Throws
// HostError when there is none of that number.
std::span<const std::uint8_t> RawResource(HMODULE module, int id);

}  // namespace qv
