#pragma once

#include "host/base/HostError.h"

namespace qv {

// Tells the user which error ended the program, then ends the process
// without starting the client.
[[noreturn]] void ReportErrorAndEnd(const HostError& error);

}  // namespace qv
