// The launcher window is the program: it loads, shows itself and runs its
// sequence from its first activation until the sequence ends the process.

#include "BuildSettings.h"
#include "TopLevelReport_win.h"

#include "host/base/ComApartment_win.h"
#include "host/base/TopLevelError.h"
#include "host/files/RunLogFile_win.h"
#include "launcher/LauncherStamp_win.h"
#include "launcher/LauncherWindow_win.h"
#include "launcher/SignerPins.h"

#include <windows.h>

namespace {

// The server and the pins: those stamped into this executable, or those it was built with.
qv::LauncherSettings Settings(HINSTANCE instance)
{
    if (const auto stamp = qv::StampOfModule(instance)) {
        return qv::ReadStamp(*stamp);
    }
    qv::LauncherSettings built{qv::DistributionServer(), qv::ParseSignerPins(qv::SignerPinList())};
    if (built.server.empty()) {
        throw qv::HostError(qv::ErrorNumber::InvalidPropertyValue,
                            u"Dieser Launcher kennt noch keinen Server. Ihre Support-Abteilung stempelt ihn mit "
                            u"\u201EQuorvelindePublish.exe stamp\u201C, bevor sie ihn weitergibt");
    }
    return built;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    qv::RunLogFile log(qv::RunLogFile::DefaultPath());
    qv::RecordReportsIn(log);
    qv::SetTopLevelErrorHandler(&qv::ReportErrorAndEnd);
    try {
        // Before anything is read from the network: what cannot be used ends the launcher here.
        qv::LauncherSettings settings = Settings(instance);
        qv::ComApartment com;
        qv::LauncherWindow window(settings.server, std::move(settings.pins), instance, log);
        window.LoadAndShow();
        window.RunMessageLoop();
    } catch (...) {
        qv::ReportErrorAndEnd(qv::CurrentErrorAsHostError());
    }
}
