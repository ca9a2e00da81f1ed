#include "host/base/DefaultErrorReport.h"

#include <cstdio>

namespace qv {

void ReportToDeveloper(const HostError& error)
{
    std::fprintf(stderr, "Quorvelinde: unbehandelter Fehler %s\n", error.what());
}

}  // namespace qv
