#include "win_Main.h"

#include "ExecutableHeader.h"
#include "SignerPins.h"
#include "StatusTexts.h"
#include "VersionText.h"

#include "host/base/TopLevelError.h"

namespace qv {

const char16_t LauncherVersion[] = u"" QUORVELINDE_VERSION;

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
      m_log(host.log),
      m_savedClients(host.savedClients),
      lbl_Status(lbl_Status),
      m_hWnd(hWnd),
      m_versionUrl(ServerBase(server) + ServerPath(VersionTextFileName)),
      m_clientUrl(ServerBase(server) + ServerPath(ClientFileName)),
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
    m_log.Record([&] { return u"Quorvelinde " + Text(LauncherVersion) + u" in " + m_programFolder + u"; Version von " +
                     m_versionUrl + u", Client von " + m_clientUrl + u"; Signaturprüfung " +
                     (m_signerPins.empty() ? Text(u"aus") : u"mit " + DecimalText(static_cast<std::int64_t>(m_signerPins.size())) +
                                                                u" Schlüssel-Pin(s)"); });
}

Text win_Main::ErrorText(std::int32_t ErrNum, const Text& ErrDesc)
{
    return u"Fehler " + DecimalText(ErrNum) + u": " + ErrDesc;
}

Text win_Main::FailureText(std::int32_t ErrNum, const Text& ErrDesc, std::int32_t durationMs)
{
    return ErrorText(ErrNum, ErrDesc) + u" (nach " + DecimalText(durationMs) + u" ms)";
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
    if (m_versionDone) {
        m_log.Record(u"Versionstext nicht angefragt: der Lesedienst hat den Abruf abgelehnt");
    }

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
            m_log.Record([&] { return u"Versionstext nicht gelesen: keine Antwort nach " + DecimalText(VersionWaitLimitMs / 1000) +
                             u" s, Abruf abgebrochen"; });
            break;
        }
        // Asleep until the read service or the window has news, and awake for the limit.
        m_pump.WaitForMessages(VersionWaitLimitMs - waited);
    }

    if (FSO().FileExists(ClientFile())) {
        const Text local = FSO().GetFileVersion(ClientFile());
        m_log.Record([&] { return local.empty() ? u"Lokaler Client ohne Versionsangabe: " + ClientFile()
                                       : u"Lokale Version " + QuotedForLog(local); });
        if (m_serverVersion == local) {
            m_log.Record(u"Entscheidung: Versionen gleich, der Client wird gestartet");
            StartClient();
            return;
        }
        m_log.Record(u"Entscheidung: Versionen verschieden, der Client wird geladen");
    } else {
        m_log.Record([&] { return u"Lokaler Client fehlt: " + ClientFile() + u"; Entscheidung: der Client wird geladen"; });
    }
    NetGrab1.DownloadStart(m_clientUrl, NetGrab::ModeNewestVersion);
    if (NetGrab1.StartRefused()) {
        m_log.Record(u"Client nicht angefragt: der Lesedienst hat den Abruf abgelehnt");
        // No event will come: this is a failed client download.
        StartClient();
    }
}

void win_Main::NetGrab2_DownloadComplete(std::int32_t nBytes)
{
    const std::vector<std::uint8_t> bytes = NetGrab2.Bytes();
    m_serverVersion = AnnouncedVersion(bytes, m_platform);
    m_versionDone = true;
    m_log.Record([&] { return u"Versionstext gelesen: " + DecimalText(nBytes) + u" Bytes in " + DecimalText(NetGrab2.Duration()) +
                     u" ms: " + EscapedBytes(bytes) + u", angekündigt " + QuotedForLog(m_serverVersion); });
}

void win_Main::NetGrab2_DownloadFailed(std::int32_t ErrNum, const Text& ErrDesc)
{
    m_versionDone = true;
    m_log.Record([&] { return u"Versionstext nicht gelesen: " + FailureText(ErrNum, ErrDesc, NetGrab2.Duration()); });
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
    m_log.Record([&] { return u"Client gelesen: " + DecimalText(nBytes) + u" Bytes in " + DecimalText(NetGrab1.Duration()) + u" ms"; });
    // An error page that arrived with status 200 must not replace a working client.
    if (!IsWindowsExecutable(NetGrab1.Bytes())) {
        m_log.Record(u"Client verworfen: die Antwort ist kein Windows-Programm");
        StartClient();
        return;
    }
    const Text saveName = ClientSaveName(m_platform.ProgramPath());
    const bool saved = m_signerPins.empty() ? NetGrab1.SaveAs(saveName)
                                            : NetGrab1.SaveAs(saveName, [this](const HeldFile& written) {
                                                  const SignatureFindings findings = m_signatures.Inspect(written);
                                                  const bool accepted = SignedByPinnedKey(findings, m_signerPins);
                                                  m_log.Record([&] { return u"Signatur " + Text(accepted ? u"angenommen: " : u"abgelehnt: ") +
                                                                   FindingsText(findings); });
                                                  return accepted;
                                              });
    if (saved) {
        m_log.Record([&] { return u"Client gespeichert: " + saveName; });
        RecordVersionOfSavedClient();
    } else if (const auto& error = NetGrab1.LastSaveError()) {
        m_log.Record([&] { return u"Client nicht gespeichert: " + ErrorText(error->Number(), error->Description()); });
    }
    if (!saved && !m_signerPins.empty()) {
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

void win_Main::NetGrab1_DownloadFailed(std::int32_t ErrNum, const Text& ErrDesc)
{
    m_log.Record([&] { return u"Client nicht gelesen: " + FailureText(ErrNum, ErrDesc, NetGrab1.Duration()); });
    StartClient();
}

void win_Main::RecordVersionOfSavedClient()
{
    m_log.Record([this] {
        const Text saved = m_savedClients.GetFileVersion(ClientFile());
        if (saved == m_serverVersion) {
            return Text();
        }
        return u"Der geladene Client trägt die Version " + QuotedForLog(saved) + u", der Server kündigt " +
               QuotedForLog(m_serverVersion) + u" an: jeder Start lädt ihn wieder, bis Client und Versionstext auf dem "
               u"Server zusammenpassen";
    });
}

void win_Main::StartClient()
{
    if (ErrorReportBegun()) {
        return;
    }
    if (FSO().FileExists(ClientFile())) {
        const std::intptr_t answer =
            m_platform.ShellExecuteFile(m_hWnd, u"open", ClientFile(), u"", u"", Platform::ShowNormal);
        // The shell's answers up to 32 are its errors.
        m_log.Record([&] { return (answer > 32 ? u"Client gestartet: " : u"Client nicht gestartet: ") + ClientFile() +
                         u" (Antwort der Shell " + DecimalText(static_cast<std::int64_t>(answer)) + u")"; });
    } else {
        m_log.Record(u"Kein Client zu starten: Warnung angezeigt");
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
        m_log.Record(u"Ende mit Code 0");
        m_platform.EndProcess();
    }
}

}  // namespace qv
