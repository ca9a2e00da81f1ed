#pragma once
// Base64 with the standard alphabet and padding (RFC 4648, section 4).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

std::string Base64Encode(std::span<const std::uint8_t> bytes);
// Nothing for text that is not exactly what Base64Encode gives for some bytes.
std::optional<std::vector<std::uint8_t>> Base64Decode(std::string_view text);

}  // namespace qv
