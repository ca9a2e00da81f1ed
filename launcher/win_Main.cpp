#include "win_Main.h"

#include "SignerPins.h"
#include "StatusTexts.h"
#include "VersionText.h"

#include "host/base/TopLevelError.h"
#include "host/files/FileTrouble.h"

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
      m_files(host.files),
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
    const Text programPath = m_platform.ProgramPath();
    m_programFolder = WithTrailingSeparator(programPath);
    m_saveName = ClientSaveName(programPath);
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

    if (!m_versionDone && !PumpUntil([this] { return m_versionDone; }, VersionWaitLimitMs)) {
        NetGrab2.DownloadCancel();
        m_versionDone = true;
        m_log.Record([&] { return u"Versionstext nicht gelesen: keine Antwort nach " + DecimalText(VersionWaitLimitMs / 1000) +
                         u" s, Abruf abgebrochen"; });
    }

    if (!LockClientFolder()) {
        UpdateNotApplied(u"ein anderer Launcher ersetzt den Client noch",
                         u"nach " + DecimalText(LockWaitLimitMs / 1000) + u" s Warten");
        StartClient();
        return;
    }
    RemoveLeftovers(m_files, m_saveName, [this](const Text& line) { m_log.Record([&] { return line; }); });

    if (FSO().FileExists(ClientFile())) {
        const Text local = FSO().GetFileVersion(ClientFile());
        m_log.Record([&] { return local.empty() ? u"Lokaler Client ohne Versionsangabe: " + ClientFile()
                                       : u"Lokale Version " + QuotedForLog(local); });
        if (m_serverVersion == local) {
            // A client cut off on disk may still carry its version: only a whole one counts as current.
            const ProgramShape shape = FSO().ShapeOfProgramFile(ClientFile());
            if (shape == ProgramShape::Whole) {
                m_log.Record(u"Entscheidung: Versionen gleich, der Client wird gestartet");
                StartClient();
                return;
            }
            m_log.Record(shape == ProgramShape::Incomplete
                             ? u"Lokaler Client unvollständig; Entscheidung: der Client wird geladen"
                             : u"Lokaler Client ist kein Windows-Programm; Entscheidung: der Client wird geladen");
        } else {
            m_log.Record(u"Entscheidung: Versionen verschieden, der Client wird geladen");
        }
    } else {
        m_log.Record([&] { return u"Lokaler Client fehlt: " + ClientFile() + u"; Entscheidung: der Client wird geladen"; });
    }
    FetchClient();
}

void win_Main::FetchClient()
{
    try {
        m_update = m_files.BeginReplace(m_saveName);
    } catch (const HostError& error) {
        // Nothing is fetched that could not be kept.
        UpdateNotApplied(CauseOf(error), error);
        StartClient();
        return;
    }
    NetGrab1.DownloadStart(m_clientUrl, NetGrab::ModeNewestVersion);
    if (NetGrab1.StartRefused()) {
        m_update.reset();
        // No event will come: this is a failed client download.
        UpdateNotApplied(u"Download fehlgeschlagen", u"der Lesedienst hat den Abruf abgelehnt");
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
    if (!m_update) {
        return;
    }
    try {
        // Written as it comes: a disk that runs full stops the download there.
        m_update->CatchUp(NetGrab1.Received());
    } catch (const HostError& error) {
        NetGrab1.DownloadCancel();
        m_update.reset();
        UpdateNotApplied(CauseOf(error), error);
        try {
            StartClient();
        } catch (...) {
            // The control discards what a progress handler throws; the sequence's errors are reported.
            ReportCurrentErrorToTopLevel();
        }
    }
}

void win_Main::NetGrab1_DownloadComplete(std::int32_t nBytes)
{
    // Behind an error report nothing is saved, started or ended.
    if (ErrorReportBegun()) {
        return;
    }
    m_log.Record([&] { return u"Client gelesen: " + DecimalText(nBytes) + u" Bytes in " + DecimalText(NetGrab1.Duration()) + u" ms"; });
    if (ApplyUpdate()) {
        // The completion report is set and replaced at once: the label passes
        // through it, which programs watching the label see, while people see
        // the start message.
        lbl_Status.SetCaption(CompletionStatus(nBytes, NetGrab1.Duration(), m_platform.UserNumberSeparators()));
        lbl_Status.SetCaption(StartingStatus);
    }
    StartClient();
}

bool win_Main::ApplyUpdate()
{
    // Removed on every way out but the one that puts it in place.
    const std::unique_ptr<PendingFile> update = std::move(m_update);
    if (!update) {
        return false;
    }
    try {
        update->CatchUp(NetGrab1.Received());
        const HeldFile written = update->Written();
        // An error page answered with status 200, or an answer cut off without a length to tell.
        const ProgramShape shape = ShapeOfProgram(update->Bytes());
        if (shape != ProgramShape::Whole) {
            UpdateNotApplied(shape == ProgramShape::Incomplete ? u"Download unvollständig" : u"Antwort ist kein Windows-Programm",
                             u"der Client wird verworfen");
            return false;
        }
        if (!m_signerPins.empty()) {
            const SignatureFindings findings = m_signatures.Inspect(written);
            const bool accepted = SignedByPinnedKey(findings, m_signerPins);
            m_log.Record([&] { return u"Signatur " + Text(accepted ? u"angenommen: " : u"abgelehnt: ") + FindingsText(findings); });
            if (!accepted) {
                UpdateNotApplied(u"Signatur abgelehnt", u"der Client wird verworfen");
                return false;
            }
        }
        m_previous = WhileInUse([&] { return update->PlaceKeepingPrevious(); });
    } catch (const HostError& error) {
        UpdateNotApplied(CauseOf(error), error);
        return false;
    }
    m_log.Record([&] { return u"Client gespeichert: " + m_saveName +
                              (m_previous.empty() ? Text() : u"; der vorige liegt bis zum Start beiseite: " + m_previous); });
    RecordVersionOfSavedClient();
    return true;
}

void win_Main::NetGrab1_DownloadFailed(std::int32_t ErrNum, const Text& ErrDesc)
{
    m_update.reset();
    m_log.Record([&] { return u"Client nicht gelesen: " + FailureText(ErrNum, ErrDesc, NetGrab1.Duration()); });
    UpdateNotApplied(ErrNum == ErrorNumber::TooSlow     ? u"Download zu langsam"
                     : ErrNum == ErrorNumber::Truncated ? u"Download unvollständig"
                                                        : u"Download fehlgeschlagen",
                     ErrorText(ErrNum, ErrDesc));
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

Text win_Main::CauseOf(const HostError& error)
{
    switch (TroubleOf(error)) {
    case FileTrouble::Refused: return u"Ordner oder Datei nicht beschreibbar";
    case FileTrouble::InUse: return u"Datei in Gebrauch";
    case FileTrouble::DiskFull: return u"Datenträger voll";
    case FileTrouble::Other: break;
    }
    return u"Datei nicht geschrieben";
}

void win_Main::UpdateNotApplied(const Text& cause, const Text& detail)
{
    m_updateNotApplied = true;
    m_log.Record([&] { return u"Update nicht angewendet (" + cause + u"): " + detail; });
}

void win_Main::UpdateNotApplied(const Text& cause, const HostError& error)
{
    UpdateNotApplied(cause, ErrorText(error.Number(), error.Description()));
}

template <typename Step>
auto win_Main::WhileInUse(Step step) -> decltype(step())
{
    const std::int32_t began = m_ticks.TickCount();
    for (;;) {
        try {
            return step();
        } catch (const HostError& error) {
            if (TroubleOf(error) != FileTrouble::InUse || ElapsedTicks(began, m_ticks.TickCount()) >= InUseRetryLimitMs) {
                throw;
            }
        }
        PauseWhilePumping(RetryIntervalMs);
    }
}

bool win_Main::PumpUntil(const std::function<bool()>& done, std::int32_t milliseconds)
{
    const std::int32_t began = m_ticks.TickCount();
    for (;;) {
        m_pump.PumpStep();
        if (done()) {
            return true;
        }
        const std::int32_t waited = ElapsedTicks(began, m_ticks.TickCount());
        if (waited >= milliseconds) {
            return false;
        }
        // Asleep until the read service or the window has news, and awake for the limit.
        m_pump.WaitForMessages(milliseconds - waited);
    }
}

void win_Main::PauseWhilePumping(std::int32_t milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

bool win_Main::LockClientFolder()
{
    const std::int32_t began = m_ticks.TickCount();
    for (bool told = false;; told = true) {
        try {
            m_lock = m_files.TryLock(m_saveName);
        } catch (const HostError& error) {
            // Where no lock can be made, no client can be written either, and the update says so.
            m_log.Record([&] { return u"Ohne Sperre weiter: " + ErrorText(error.Number(), error.Description()); });
            return true;
        }
        const std::int32_t waited = ElapsedTicks(began, m_ticks.TickCount());
        if (m_lock) {
            if (told) {
                m_log.Record([&] { return u"Der andere Launcher ist fertig, nach " + DecimalText(waited) + u" ms"; });
            }
            return true;
        }
        if (!told) {
            m_log.Record(u"Ein anderer Launcher ersetzt gerade den Client in diesem Ordner: warten");
        }
        if (waited >= LockWaitLimitMs) {
            return false;
        }
        PauseWhilePumping(RetryIntervalMs);
    }
}

bool win_Main::ShellStart()
{
    const std::int32_t began = m_ticks.TickCount();
    for (int attempt = 0;; ++attempt) {
        const std::intptr_t answer = m_platform.ShellExecuteFile(m_hWnd, u"open", ClientFile(), u"", u"", Platform::ShowNormal);
        // The shell's answers up to 32 are its errors.
        const bool again = answer <= 32 && ClientHeld(answer) && ElapsedTicks(began, m_ticks.TickCount()) < InUseRetryLimitMs;
        // The first refusal and the outcome; not every try in between.
        if (attempt == 0 || !again) {
            m_log.Record([&] { return (answer > 32 ? u"Client gestartet: " : u"Client nicht gestartet: ") + ClientFile() +
                                      u" (Antwort der Shell " + DecimalText(static_cast<std::int64_t>(answer)) + u")" +
                                      (again ? u"; in Gebrauch, neue Versuche" : u""); });
        }
        if (!again) {
            return answer > 32;
        }
        PauseWhilePumping(RetryIntervalMs);
    }
}

bool win_Main::ClientHeld(std::intptr_t shellAnswer)
{
    // 26 is the shell's sharing violation, which some shells hand on as the system's 32; others
    // say only that the program could not be loaded, so the file itself is asked.
    if (shellAnswer == 26 || shellAnswer == 32) {
        return true;
    }
    try {
        FSO().ShapeOfProgramFile(ClientFile());
        return false;
    } catch (const HostError& error) {
        return TroubleOf(error) == FileTrouble::InUse;
    }
}

bool win_Main::FallBackToPrevious()
{
    try {
        WhileInUse([&] { m_files.MoveReplacing(m_previous, m_saveName); });
    } catch (const HostError& error) {
        m_log.Record([&] { return u"Der vorige Client kann nicht zurückgelegt werden: " + ErrorText(error.Number(), error.Description()); });
        return false;
    }
    m_previous.clear();
    UpdateNotApplied(u"der neue Client startet nicht", u"der vorige ist zurückgelegt");
    lbl_Status.SetCaption(ExistingStartingStatus);
    return ShellStart();
}

void win_Main::RemovePrevious()
{
    try {
        WhileInUse([&] { m_files.Remove(m_previous); });
        m_log.Record([&] { return u"Voriger Client entfernt: " + m_previous; });
    } catch (const HostError& error) {
        // Still running, as a support session may be: a later start removes it.
        m_log.Record([&] { return u"Voriger Client bleibt bis zu einem späteren Start: " + m_previous + u" (" +
                                  ErrorText(error.Number(), error.Description()) + u")"; });
    }
    m_previous.clear();
}

void win_Main::StartClient()
{
    if (ErrorReportBegun()) {
        return;
    }
    bool started = false;
    if (FSO().FileExists(ClientFile())) {
        if (m_updateNotApplied) {
            lbl_Status.SetCaption(ExistingStartingStatus);
        }
        started = ShellStart();
        if (!m_previous.empty()) {
            if (started) {
                RemovePrevious();
            } else {
                started = FallBackToPrevious();
            }
        }
    }
    // A launcher that waits for this folder may go on while this one ends.
    m_lock.reset();
    if (!started) {
        m_log.Record(u"Kein Client gestartet: Warnung angezeigt");
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
        const std::uint32_t code = started ? 0 : NoClientStartedExit;
        m_log.Record([&] { return u"Ende mit Code " + DecimalText(static_cast<std::int64_t>(code)); });
        m_platform.EndProcess(code);
    }
}

}  // namespace qv
