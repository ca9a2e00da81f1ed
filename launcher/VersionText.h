#pragma once
// The version text the server announces, as the launcher compares it and as
// its log shows it.

#include "host/base/Text.h"
#include "host/shell/LauncherServices.h"

#include <cstdint>
#include <vector>

namespace qv {

// The announced version: the bytes through the ANSI code page, without a
// leading UTF-8 byte-order mark and without trailing white space. A file
// version never carries either, so a text written by hand ("echo 5.3.1.7 >",
// an editor's byte-order mark) announces the version it names.
Text AnnouncedVersion(const std::vector<std::uint8_t>& bytes, LauncherServices& platform);

// The longest version text the launcher reads; a longer answer is a failed read.
inline constexpr std::uint64_t MostVersionTextBytes = 64 * 1024;

// What a log line shows of a body or a text: its start, whatever the server sent.
inline constexpr std::size_t MostLoggedUnits = 200;

// The bytes as a log shows them, between quotes: printable ASCII as it is,
// quotes and backslashes escaped, line ends and tabs as \r \n \t, every
// other byte as \xNN. Only the first MostLoggedUnits bytes, and "..." after
// the quotes when there are more.
Text EscapedBytes(const std::vector<std::uint8_t>& bytes);

// A text as a log shows it, escaped as EscapedBytes does and cut as it is.
Text QuotedForLog(const Text& text);

}  // namespace qv
