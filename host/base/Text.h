#pragma once
// Text inside the program is a sequence of 16-bit code units, as on the
// platform; conversions happen only where text leaves the program.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

using Text = std::u16string;

// For literals and numbers that are plain ASCII.
Text TextFromAscii(std::string_view ascii);

// For logs and test output; unpaired surrogates become U+FFFD.
std::string Utf8FromText(std::u16string_view text);
Text TextFromUtf8(std::string_view utf8);

Text DecimalText(std::int64_t value);

// A value from outside, for an error text: at most `most` code units of it,
// then "...", so that a message never repeats a long value at length.
Text Shortened(std::u16string_view text, std::size_t most);

}  // namespace qv
