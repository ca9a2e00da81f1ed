#include "TopLevelReport_win.h"

#include "host/base/WideText_win.h"

#include <windows.h>

namespace qv {
namespace {

RunLog* g_log = nullptr;

}  // namespace

void RecordReportsIn(RunLog& log)
{
    g_log = &log;
}

void ReportErrorAndEnd(const HostError& error)
{
    if (g_log) {
        g_log->Record([&] {
            return u"Fehlerbericht angezeigt: Fehler " + DecimalText(error.Number()) + u": " + error.Description();
        });
    }
    const Text prompt = u"Die Quorvelinde wurde wegen eines Fehlers beendet.\r\n\r\n" + error.Description() +
                        u"\r\n\r\nFehlernummer: " + DecimalText(error.Number());
    MessageBoxW(GetActiveWindow(), Wide(prompt), L"Quorvelinde", MB_OK | MB_ICONERROR);
    if (g_log) {
        g_log->Record(u"Ende mit Code 1");
    }
    ExitProcess(1);
}

}  // namespace qv
