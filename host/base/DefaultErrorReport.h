#pragma once

#include "host/base/HostError.h"

namespace qv {

// Where errors no caller handles go when the program installed no handler of
// its own: to the debugger's output on Windows (OutputDebugString), to the
// standard error stream elsewhere. The program then goes on; the message that
// raised the error counts as handled.
void ReportToDeveloper(const HostError& error);

}  // namespace qv
