#include "host/base/DefaultErrorReport.h"

#include "host/base/WideText_win.h"

#include <windows.h>

namespace qv {

void ReportToDeveloper(const HostError& error)
{
    try {
        const Text line = u"Quorvelinde: unbehandelter Fehler " + DecimalText(error.Number()) + u": " +
                          error.Description() + u"\n";
        OutputDebugStringW(Wide(line));
    } catch (...) {
        // No memory for the description: the number alone must do.
        OutputDebugStringA("Quorvelinde: unbehandelter Fehler\n");
    }
}

}  // namespace qv
