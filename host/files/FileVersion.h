#pragma once
// Reading a program file's version, and what a failure to read it means.
// A file that cannot be opened or read is an error; every other failure to
// find version information, whatever the platform calls it (an empty, cut-off
// or garbage file, one without resources), means the file has none.

#include "host/base/HostError.h"
#include "host/base/Text.h"

#include <array>
#include <cstdint>
#include <optional>

namespace qv {

using FixedFileVersion = std::array<std::uint16_t, 4>;

// The platform's calls behind it.
class FileVersionCalls {
public:
    virtual ~FileVersionCalls() = default;
    // The file's fixed version; nothing when the query found none, with the
    // platform's error code in `error` (0 when it failed without one).
    virtual std::optional<FixedFileVersion> QueryFixedVersion(const Text& fileName, std::uint32_t& error) = 0;
    // 0 when the file opens for reading and its first bytes read, else the platform's error code.
    virtual std::uint32_t ProbeRead(const Text& fileName) = 0;
    // The program's error for a platform error code.
    virtual HostError ErrorFor(std::uint32_t code, const Text& what) = 0;
};

// "5.2.0.14", or empty text for a file without version information. Throws
// HostError when the file cannot be read at all.
Text FileVersionText(FileVersionCalls& calls, const Text& fileName);

}  // namespace qv
