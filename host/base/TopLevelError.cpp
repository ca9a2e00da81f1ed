#include "host/base/TopLevelError.h"

#include "host/base/DefaultErrorReport.h"

#include <cstdlib>

namespace qv {
namespace {

TopLevelErrorHandler g_handler = &ReportToDeveloper;
bool g_reportBegun = false;

}  // namespace

TopLevelErrorHandler SetTopLevelErrorHandler(TopLevelErrorHandler handler)
{
    const TopLevelErrorHandler previous = g_handler;
    g_handler = handler ? handler : &ReportToDeveloper;
    return previous;
}

bool ErrorReportBegun() noexcept
{
    return g_reportBegun;
}

void ReportCurrentErrorToTopLevel() noexcept
{
    if (g_reportBegun) {
        // The first report is on screen and ends the program; this one has nowhere to go.
        return;
    }
    g_reportBegun = true;
    try {
        g_handler(CurrentErrorAsHostError());
    } catch (...) {
        // A report that fails itself has nowhere left to go.
        std::abort();
    }
    // The program's report ends the process; a handler that returns (a test's) has finished with it.
    g_reportBegun = false;
}

}  // namespace qv
