#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// True when the bytes start like a Windows executable: an "MZ" header whose
// e_lfanew points at a "PE\0\0" signature with a whole file header after it.
// A proxy's or captive portal's HTML page answered with status 200 is not.
bool IsWindowsExecutable(const std::vector<std::uint8_t>& bytes);

}  // namespace qv
