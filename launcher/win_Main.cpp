#include "win_Main.h"

#include "ExecutableHeader.h"
#include "SignerPins.h"
#include "StatusTexts.h"

#include "host/base/TopLevelError.h"

namespace qv {

Text ServerBase(const Text& server)
{
    const bool named = server.rfind(u"http://", 0) == 0 || server.rfind(u"https://", 0) == 0;
    return named ? server : u"http://" + server;
}

win_Main::win_Main(const win_MainHost& host, TextLabel& lbl_Status, WindowHandle hWnd, const Text& server,
                   std::vector<KeyHash> signerPins)
    : m_platform(host.platform),
      m_pump(host.pump),
      m_signatures(host.signatures),
      m_signerPins(std::move(signerPins)),
      m_ticks(host.ticks),
      lbl_Status(lbl_Status),
      m_hWnd(hWnd),
      m_versionUrl(ServerBase(server) + ServerVersionTextPath),
      m_clientUrl(ServerBase(server) + ServerClientPath),
      NetGrab1(host.readsOfNetGrab1, host.ticks, host.files),
      NetGrab2(host.readsOfNetGrab2, host.ticks, host.files)
{
    NetGrab1.SetEvents({
        [this](std::int32_t nBytes) { NetGrab1_DownloadComplete(nBytes); },
        [this](std::int32_t ErrNum, const Text& ErrDesc) { NetGrab1_DownloadFailed(ErrNum, ErrDesc); },
        [this](std::int32_t nBytes) { NetGrab1_DownloadProgress(nBytes); },
    });
    NetGrab2.SetEvents({
        [this](std::int32_t nBytes) { NetGrab2_DownloadComplete(nBytes); },
        [this](std::int32_t ErrNum, const Text& ErrDesc) { NetGrab2_DownloadFailed(ErrNum, ErrDesc); },
        {},
    });
}

FileQueries& win_Main::FSO()
{
    if (!m_fso) {
        m_fso = m_platform.CreateFileSystemObject();
    }
    return *m_fso;
}

void win_Main::Form_Load()
{
    m_programFolder = WithTrailingSeparator(m_platform.ProgramPath());
    lbl_Status.SetCaption(u"");
}

void win_Main::Form_Activate()
{
    if (!m_sequenceStarted) {
        CheckVersion();
    }
}

void win_Main::CheckVersion()
{
    m_sequenceStarted = true;
    NetGrab2.DownloadStart(m_versionUrl, NetGrab::ModeNewestVersion);
    // A read the host refused raises no event at all: as good as a failed one.
    m_versionDone = NetGrab2.StartRefused();

    const std::int32_t waitStart = m_ticks.TickCount();
    while (!m_versionDone) {
        m_pump.PumpStep();
        if (m_versionDone) {
            break;
        }
        const std::int32_t waited = ElapsedTicks(waitStart, m_ticks.TickCount());
        if (waited >= VersionWaitLimitMs) {
            NetGrab2.DownloadCancel();
            m_versionDone = true;
            break;
        }
        // Asleep until the read service or the window has news, and awake for the limit.
        m_pump.WaitForMessages(VersionWaitLimitMs - waited);
    }

    if (FSO().FileExists(ClientFile())) {
        const Text local = FSO().GetFileVersion(ClientFile());
        if (m_serverVersion == local) {
            StartClient();
            return;
        }
    }
    NetGrab1.DownloadStart(m_clientUrl, NetGrab::ModeNewestVersion);
    if (NetGrab1.StartRefused()) {
        // No event will come: this is a failed client download.
        StartClient();
    }
}

void win_Main::NetGrab2_DownloadComplete(std::int32_t)
{
    m_serverVersion = m_platform.TextFromAnsiBytes(NetGrab2.Bytes());
    m_versionDone = true;
}

void win_Main::NetGrab2_DownloadFailed(std::int32_t, const Text&)
{
    m_versionDone = true;
}

void win_Main::NetGrab1_DownloadProgress(std::int32_t nBytes)
{
    lbl_Status.SetCaption(ProgressStatus(nBytes));
    // A fast transfer reads on inside one notification and keeps the loop from painting.
    lbl_Status.Refresh();
}

void win_Main::NetGrab1_DownloadComplete(std::int32_t nBytes)
{
    // Behind an error report nothing is saved, started or ended.
    if (ErrorReportBegun()) {
        return;
    }
    // An error page that arrived with status 200 must not replace a working client.
    if (!IsWindowsExecutable(NetGrab1.Bytes())) {
        StartClient();
        return;
    }
    const Text saveName = ClientSaveName(m_platform.ProgramPath());
    if (m_signerPins.empty()) {
        NetGrab1.SaveAs(saveName);
    } else if (!NetGrab1.SaveAs(saveName, [this](const HeldFile& written) {
                   return SignedByPinnedKey(m_signatures.Inspect(written), m_signerPins);
               })) {
        // Not signed with a pinned key (or not written): as a failed download,
        // the client that is there is started.
        StartClient();
        return;
    }
    // The completion report is set and replaced at once: the label passes
    // through it, which programs watching the label see, while people see
    // the start message.
    lbl_Status.SetCaption(CompletionStatus(nBytes, NetGrab1.Duration(), m_platform.UserNumberSeparators()));
    lbl_Status.SetCaption(StartingStatus);
    StartClient();
}

void win_Main::NetGrab1_DownloadFailed(std::int32_t, const Text&)
{
    StartClient();
}

void win_Main::StartClient()
{
    if (ErrorReportBegun()) {
        return;
    }
    if (FSO().FileExists(ClientFile())) {
        m_platform.ShellExecuteFile(m_hWnd, u"open", ClientFile(), u"", u"", Platform::ShowNormal);
    } else {
        m_platform.ShowMessageBox(m_hWnd,
                              u"Die Quorvelinde konnte nicht gestartet werden.\r\n\r\n"
                              u"Bitte wenden Sie sich an Ihren Administrator.",
                              Platform::ExclamationWithOk, u"Quorvelinde");
    }
    m_platform.SetWindowPos(m_hWnd, Platform::NoTopmostBand, 0, 0, 0, 0, Platform::KeepSizeAndPosition);
    for (int step = 0; step < FinalWaitSteps; ++step) {
        m_platform.Sleep(FinalWaitStepMs);
        m_pump.PumpStep();
    }
    // An error reported during the final wait ends the process with its own code.
    if (!ErrorReportBegun()) {
        m_platform.EndProcess();
    }
}

}  // namespace qv
