#pragma once
// Where errors go that no caller handles: notifications from the platform
// (read service callbacks, window procedures) catch at their boundary and hand
// the error here instead of letting it cross into platform code.

#include "HostError.h"

namespace qv {

using TopLevelErrorHandler = void (*)(const HostError&);

// The program installs its report once at start; tests install a recorder.
// Returns the handler that was installed before.
TopLevelErrorHandler SetTopLevelErrorHandler(TopLevelErrorHandler handler);

// Call only from inside a catch block.
void ReportCurrentErrorToTopLevel() noexcept;

}  // namespace qv
