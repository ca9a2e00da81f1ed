#pragma once
// Reading raw HTTP headers, lines of "Name: value" separated by CRLF, as the
// platform hands them over.

#include "host/base/Text.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

// The value of the first header called `name` (ASCII, in any case), without
// the blanks around it; nothing when there is no such header.
std::optional<std::u16string_view> HeaderValue(std::u16string_view headers, std::u16string_view name);

// The Content-Length a response announces: nothing without one, or when it is
// not a decimal number that fits 64 bits.
std::optional<std::uint64_t> ContentLengthFromHeaders(std::u16string_view headers);

// What a request adds to the platform's headers: `extra` (lines ending in
// CRLF), and for a read that must come fresh from the server the lines that
// ask every cache on the way, proxies' included, for a fresh answer.
Text RequestHeadersFor(bool fresh, const Text& extra);

// A failed status as the log shows it: "HTTP 404", and for a proxy that asks
// for a password what it asks for, from its Proxy-Authenticate and Server
// headers.
Text HttpStatusText(std::uint32_t status, std::u16string_view responseHeaders);

}  // namespace qv
