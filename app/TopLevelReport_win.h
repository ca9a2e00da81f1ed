#pragma once

#include "host/base/HostError.h"
#include "host/files/RunLog.h"

namespace qv {

// Reports also go to `log`, which must live as long as the process.
void RecordReportsIn(RunLog& log);

// Tells the user which error ended the program, then ends the process
// without starting the client.
[[noreturn]] void ReportErrorAndEnd(const HostError& error);

}  // namespace qv
