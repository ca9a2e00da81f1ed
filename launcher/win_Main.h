#pragma once
// The launcher window's sequence: fetch the announced version text, compare it
// with the local client's file version, fetch a fresh client when they differ
// or there is none, start the client and end the process.
// Everything runs on the UI thread. Re-entry happens only inside pump steps:
// of the version wait, where NetGrab2's handlers end it; of the short waits
// for a file another program holds or another launcher replaces; and of the
// final wait. An activation there runs Form_Activate nested, which does nothing.

#include "ClientFiles.h"

#include "host/base/TickCounter.h"
#include "host/files/FileOutput.h"
#include "host/files/RunLog.h"
#include "host/files/SignatureCheck.h"
#include "host/read/AsyncRead.h"
#include "host/shell/LauncherServices.h"
#include "host/window/MessagePump.h"
#include "host/window/TextLabel.h"
#include "netgrab/NetGrab.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace qv {

// The launcher's own version, as its version block and its log name it ("1.00").
extern const char16_t LauncherVersion[];

struct win_MainHost {
    LauncherServices& platform;
    MessagePump& pump;
    TickCounter& ticks;
    FileOutput& files;
    // Each download control has a read service of its own.
    AsyncReadService& readsOfNetGrab1;
    AsyncReadService& readsOfNetGrab2;
    // Reads the signature of a downloaded client, when keys are pinned.
    SignatureCheck& signatures;
    // Where each step is recorded, for the support desk; recording changes nothing.
    RunLog& log;
    // Reads a saved client's version for the log alone; the sequence's own
    // queries go through its FSO.
    FileQueries& savedClients;
};

// The address files are fetched from: the server setting as it is when it
// names its scheme ("https://host"), else with http:// before it.
Text ServerBase(const Text& server);

// The launcher's sequence: the load and activation handlers of the launcher
// window, CheckVersion, StartClient and the handlers of its two download
// controls. Named after the window it runs in; the Win32 window itself is
// LauncherWindow.
class win_Main final {
public:
    static constexpr std::int32_t VersionWaitLimitMs = 60'000;
    static constexpr int FinalWaitSteps = 20;
    static constexpr std::int32_t FinalWaitStepMs = 100;
    // Another launcher that replaces the same client is waited for this long;
    // then the client that is there starts.
    static constexpr std::int32_t LockWaitLimitMs = 120'000;
    // A file that another program holds for a moment, as a virus scanner
    // holds each new file, is tried again this often, for this long.
    static constexpr std::int32_t RetryIntervalMs = 250;
    static constexpr std::int32_t InUseRetryLimitMs = 10'000;
    // The exit code when no client could be started.
    static constexpr std::uint32_t NoClientStartedExit = 2;

    // `server` is the distribution server's host, optionally with ":port",
    // optionally after "http://" or "https://". With `signerPins`, a
    // downloaded client replaces the local one only when it is signed with
    // one of those keys.
    win_Main(const win_MainHost& host, TextLabel& lbl_Status, WindowHandle hWnd, const Text& server,
             std::vector<KeyHash> signerPins = {});
    win_Main(const win_Main&) = delete;
    win_Main& operator=(const win_Main&) = delete;

    // The window's load handler: the program folder, a blank status line.
    void Form_Load();
    // The window's activation handler: the sequence, once.
    void Form_Activate();

    const Text& ProgramFolder() const noexcept { return m_programFolder; }

private:
    void CheckVersion();
    // Fetches the client into a file beside the local one; where no such
    // file can be made, nothing is fetched and the local client starts.
    void FetchClient();
    // Checks the fetched client and puts it in place; false when it is not applied.
    bool ApplyUpdate();
    void StartClient();
    // Hands the client to the shell, again while another program holds it; true when it started.
    bool ShellStart();
    // After the shell's answer to a start that failed: another program holds the client for now.
    bool ClientHeld(std::intptr_t shellAnswer);
    // The client that was replaced goes back in place of one that does not start.
    bool FallBackToPrevious();
    void RemovePrevious();
    // One launcher at a time replaces a program folder's client; false when
    // another one held it for longer than the limit.
    bool LockClientFolder();
    // The update stays undone, for the reason `cause` names in plain words.
    void UpdateNotApplied(const Text& cause, const Text& detail);
    void UpdateNotApplied(const Text& cause, const HostError& error);
    // `step` again while its file is in use, up to the retry limit.
    template <typename Step>
    auto WhileInUse(Step step) -> decltype(step());
    // Keeps the window alive until `done` says so, or for `milliseconds`; whether it was done.
    bool PumpUntil(const std::function<bool()>& done, std::int32_t milliseconds);
    // Keeps the window alive for `milliseconds`.
    void PauseWhilePumping(std::int32_t milliseconds);
    // "Fehler 31001: HTTP 404", for the log.
    static Text ErrorText(std::int32_t ErrNum, const Text& ErrDesc);
    // The same, with "(nach 12 ms)".
    static Text FailureText(std::int32_t ErrNum, const Text& ErrDesc, std::int32_t durationMs);

    void NetGrab2_DownloadComplete(std::int32_t nBytes);
    void NetGrab2_DownloadFailed(std::int32_t ErrNum, const Text& ErrDesc);
    void NetGrab1_DownloadProgress(std::int32_t nBytes);
    void NetGrab1_DownloadComplete(std::int32_t nBytes);
    void NetGrab1_DownloadFailed(std::int32_t ErrNum, const Text& ErrDesc);

    FileQueries& FSO();
    // A saved client that does not carry the announced version is fetched
    // again at every start; the log says so, the sequence goes on.
    void RecordVersionOfSavedClient();
    Text ClientFile() const { return ClientInFolder(m_programFolder); }
    // Why a failed write or move happened, for the log: "Ordner nicht beschreibbar" ...
    static Text CauseOf(const HostError& error);

    LauncherServices& m_platform;
    MessagePump& m_pump;
    FileOutput& m_files;
    SignatureCheck& m_signatures;
    const std::vector<KeyHash> m_signerPins;
    TickCounter& m_ticks;
    RunLog& m_log;
    FileQueries& m_savedClients;
    TextLabel& lbl_Status;
    const WindowHandle m_hWnd;
    const Text m_versionUrl;
    const Text m_clientUrl;

    // Fetches the client, second, when it is missing or its version differs.
    NetGrab NetGrab1;
    // Fetches the version text, first.
    NetGrab NetGrab2;

    std::unique_ptr<FileQueries> m_fso;
    Text m_programFolder;
    // Where the fetched client goes: the program path as the platform reports it, and the name.
    Text m_saveName;
    bool m_versionDone = false;
    Text m_serverVersion;
    bool m_sequenceStarted = false;

    std::unique_ptr<FileLock> m_lock;
    // The fetched client while it is written, from before the download until it stands in place.
    std::unique_ptr<PendingFile> m_update;
    // The client it replaced, kept aside until the new one has started.
    Text m_previous;
    bool m_updateNotApplied = false;
};

}  // namespace qv
