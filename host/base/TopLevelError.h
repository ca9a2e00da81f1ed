#pragma once
// Where errors go that no caller handles: notifications from the platform
// (read service callbacks, window procedures) catch at their boundary and hand
// the error here instead of letting it cross into platform code.

#include "host/base/HostError.h"

namespace qv {

using TopLevelErrorHandler = void (*)(const HostError&);

// The program installs its report once at start; tests install a recorder.
// Without one (or with null), errors go to ReportToDeveloper, which tells a
// developer and lets the program go on. Returns the handler that was
// installed before.
TopLevelErrorHandler SetTopLevelErrorHandler(TopLevelErrorHandler handler);

// Call only from inside a catch block. An error that comes while another is
// being reported is dropped: that report ends the program.
void ReportCurrentErrorToTopLevel() noexcept;

// An error report has begun: from here on, what still runs (a modal loop
// dispatches notifications) must not save, start or end anything.
bool ErrorReportBegun() noexcept;

}  // namespace qv
