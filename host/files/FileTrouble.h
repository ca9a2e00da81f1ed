#pragma once
// What a failed file operation means for a program that wants to write a
// file, whatever the platform's error calls it.

#include "host/base/HostError.h"

namespace qv {

enum class FileTrouble {
    // Access denied or a write-protected medium: not this user's to write.
    Refused,
    // Another program holds the file, usually only for a moment.
    InUse,
    DiskFull,
    Other,
};

FileTrouble TroubleOf(const HostError& error) noexcept;

}  // namespace qv
