#include "TopLevelError.h"

#include <cstdio>
#include <cstdlib>

namespace qv {
namespace {

void AbortWithMessage(const HostError& error)
{
    std::fprintf(stderr, "Unbehandelter Fehler %s\n", error.what());
    std::abort();
}

TopLevelErrorHandler g_handler = &AbortWithMessage;

}  // namespace

TopLevelErrorHandler SetTopLevelErrorHandler(TopLevelErrorHandler handler)
{
    const TopLevelErrorHandler previous = g_handler;
    g_handler = handler ? handler : &AbortWithMessage;
    return previous;
}

void ReportCurrentErrorToTopLevel() noexcept
{
    try {
        g_handler(CurrentErrorAsHostError());
    } catch (...) {
        // A report that fails itself has nowhere left to go.
        std::abort();
    }
}

}  // namespace qv
