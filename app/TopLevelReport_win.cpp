#include "TopLevelReport_win.h"

#include "host/base/WideText_win.h"

#include <windows.h>

namespace qv {

void ReportErrorAndEnd(const HostError& error)
{
    const Text prompt = u"Die Quorvelinde wurde wegen eines Fehlers beendet.\r\n\r\n" + error.Description() +
                        u"\r\n\r\nFehlernummer: " + DecimalText(error.Number());
    MessageBoxW(GetActiveWindow(), Wide(prompt), L"Quorvelinde", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

}  // namespace qv
