// The launcher window is the program: it loads, shows itself and runs its
// sequence from its first activation until the sequence ends the process.

#include "BuildSettings.h"
#include "TopLevelReport_win.h"

#include "host/base/ComApartment_win.h"
#include "host/base/TopLevelError.h"
#include "host/files/RunLogFile_win.h"
#include "launcher/LauncherWindow_win.h"
#include "launcher/SignerPins.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    qv::RunLogFile log(qv::RunLogFile::DefaultPath());
    qv::RecordReportsIn(log);
    qv::SetTopLevelErrorHandler(&qv::ReportErrorAndEnd);
    try {
        qv::ComApartment com;
        qv::LauncherWindow window(qv::DistributionServer(), qv::ParseSignerPins(qv::SignerPinList()), instance, log);
        window.LoadAndShow();
        window.RunMessageLoop();
    } catch (...) {
        qv::ReportErrorAndEnd(qv::CurrentErrorAsHostError());
    }
}
