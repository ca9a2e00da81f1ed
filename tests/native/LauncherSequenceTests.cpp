#include "ProgramImage.h"
#include "ScriptedHost.h"
#include "ScriptedLauncher.h"

#include "host/base/TopLevelError.h"
#include "launcher/SignerPins.h"
#include "launcher/win_Main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace qv::test {
namespace {

constexpr WindowHandle Window = 0x1234;
const Text Folder = u"C:\\Programme\\Fernwartung";
const Text Client = u"C:\\Programme\\Fernwartung\\tamorix.exe";
const std::string ClientUtf8 = "C:\\Programme\\Fernwartung\\tamorix.exe";

// A whole program of `size` bytes.
std::string ProgramBytes(std::size_t size = 0x400)
{
    ProgramImageParts parts;
    parts.sections = {static_cast<std::uint32_t>(size - 0x200)};
    return ProgramText(parts);
}

const HostError SharingViolation(32, u"Die Datei wird von einem anderen Prozess verwendet", ErrorOrigin::SystemCode);

Journal operator+(Journal first, const Journal& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest()
    {
        platform.programPath = Folder;
        files.journal = &journal;
    }

    win_Main& Launcher()
    {
        if (!main) {
            const win_MainHost host{platform, pump, ticks, files, reads1, reads2, signatures, log, savedClients};
            main = std::make_unique<win_Main>(host, status, Window, server, pins);
        }
        return *main;
    }

    // A launcher not yet made, for one more run in the same test.
    void Reset()
    {
        journal.clear();
        pump.steps = 0;
        main.reset();
        reads1 = ScriptedReadService();
        reads2 = ScriptedReadService();
        files.files.clear();
        files.checked.clear();
        stepMs = 0;
        log.lines.clear();
    }

    // The log's lines that start with one of `starts`, in order.
    std::vector<std::string> Logged(std::initializer_list<std::string> starts) const
    {
        std::vector<std::string> found;
        for (const std::string& line : log.lines) {
            for (const std::string& start : starts) {
                if (line.rfind(start, 0) == 0) {
                    found.push_back(line);
                }
            }
        }
        return found;
    }

    // Loads the window, and answers the version read on the first pump step.
    void StartWithServerVersion(const std::string& version)
    {
        pump.onStep = [this, version] {
            ticks.now += stepMs;
            if (pump.steps == 1) {
                reads2.Arrive(version);
                reads2.Complete(ReadValue::OfBytes(reads2.Snapshot()));
            }
        };
        Launcher().Form_Load();
        Launcher().Form_Activate();
    }

    void StartWithFailingVersionRead()
    {
        pump.onStep = [this] {
            ticks.now += stepMs;
            if (pump.steps == 1) {
                reads2.Complete(ReadValue::Failed(HostError(ErrorNumber::HttpStatus, u"HTTP 404")));
            }
        };
        Launcher().Form_Load();
        Launcher().Form_Activate();
    }

    void ClientArrives(const std::string& bytes)
    {
        reads1.Arrive(bytes);
        reads1.Complete(ReadValue::OfBytes(reads1.Snapshot()));
    }

    void ClientFails()
    {
        reads1.Complete(ReadValue::Failed(HostError(ErrorNumber::TransferFailed, u"Verbindung abgebrochen")));
    }

    // The journal from the first entry that starts with `prefix`.
    Journal From(const std::string& prefix) const
    {
        const auto at = std::find_if(journal.begin(), journal.end(),
                                     [&](const std::string& entry) { return entry.rfind(prefix, 0) == 0; });
        return Journal(at, journal.end());
    }

    static Journal Ending(const std::string& start, int exitCode = 0)
    {
        Journal ending{start, "SetWindowPos window=4660 after=-2 0,0,0,0 flags=3"};
        for (int step = 0; step < 20; ++step) {
            ending.push_back("Sleep 100");
            ending.push_back("Pump");
        }
        ending.push_back("EndProcess " + std::to_string(exitCode));
        return ending;
    }

    static std::string StartOf(const std::string& file)
    {
        return "ShellExecute owner=4660 verb=open file=" + file + " parameters=[] directory=[] show=1";
    }

    // From now on each pump step of the scripted starts lets `ms` pass.
    void EveryStepTakes(std::int32_t ms) { stepMs = ms; }

    std::vector<std::string> Captions() const
    {
        std::vector<std::string> captions;
        for (const auto& entry : journal) {
            if (entry.rfind("Status ", 0) == 0) {
                captions.push_back(entry.substr(7));
            }
        }
        return captions;
    }

    Journal journal;
    ScriptedPlatform platform{journal};
    ScriptedPump pump{journal};
    RecordingLabel status{journal};
    ScriptedTicks ticks;
    RecordingFileOutput files;
    ScriptedReadService reads1;
    ScriptedReadService reads2;
    ScriptedSignatures signatures{journal};
    RecordingLog log;
    // The log's own look at a saved client, journalled apart from the sequence.
    Journal logQueries;
    ScriptedFileQueries savedClients{logQueries, platform.files, platform.shapes, platform.fileQueryFailure};
    Text server = u"updates.example:8080";
    std::vector<KeyHash> pins;
    std::unique_ptr<win_Main> main;
    std::int32_t stepMs = 0;
};

TEST_F(LauncherTest, LoadGivesTheProgramFolderOneTrailingSeparatorAndBlanksTheStatus)
{
    const std::pair<Text, Text> cases[] = {
        {u"C:\\Programme\\Fernwartung", u"C:\\Programme\\Fernwartung\\"},
        {u"C:\\", u"C:\\"},
        {u"D:/Werkzeuge/", u"D:/Werkzeuge/"},
        {u"\\\\server\\freigabe", u"\\\\server\\freigabe\\"},
    };
    for (const auto& [path, folder] : cases) {
        ScriptedPlatform own{journal};
        own.programPath = path;
        const win_MainHost host{own, pump, ticks, files, reads1, reads2, signatures, log, savedClients};
        win_Main window(host, status, Window, u"updates.example");
        window.Form_Load();
        EXPECT_EQ(window.ProgramFolder(), folder) << Utf8FromText(path);
        EXPECT_EQ(status.Caption(), u"");
    }
    EXPECT_TRUE(reads2.reads.empty()) << "loading must not start the sequence";
}

TEST_F(LauncherTest, CurrentClientIsStartedWithoutDownloadAndTheProcessEndsAfterTwentyWaitSteps)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.2.0.14");

    ASSERT_EQ(reads2.reads.size(), 1u);
    EXPECT_EQ(reads2.reads[0].target, u"http://updates.example:8080/tamorix/tamorixversion.txt");
    EXPECT_EQ(reads2.reads[0].options, 16);
    EXPECT_TRUE(reads1.reads.empty());
    EXPECT_EQ(From("Lock"), (Journal{"Lock " + ClientUtf8, "FileExists " + ClientUtf8, "GetFileVersion " + ClientUtf8,
                                     "ShapeOfProgramFile " + ClientUtf8, "FileExists " + ClientUtf8}) +
                                Ending(StartOf(ClientUtf8)));
    EXPECT_EQ(Captions(), std::vector<std::string>{""});
    EXPECT_EQ(platform.fileSystemObjectsCreated, 1) << "the file-system object is made once and kept";
}

TEST_F(LauncherTest, TrailingWhiteSpaceAndAByteOrderMarkAnnounceTheSameVersion)
{
    const std::string same[] = {"5.2.0.14\r\n", "5.2.0.14\n", "5.2.0.14 \t\r\n\r\n", "\xEF\xBB\xBF" "5.2.0.14",
                                "\xEF\xBB\xBF" "5.2.0.14\r\n"};
    for (const std::string& version : same) {
        Reset();
        platform.files[Client] = u"5.2.0.14";
        StartWithServerVersion(version);
        EXPECT_TRUE(reads1.reads.empty()) << "server version [" << version << "]";
        EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
    }
}

TEST_F(LauncherTest, AnyOtherDifferenceFromTheServerVersionLeadsToADownload)
{
    const std::string differing[] = {"5.3.1.7", "5.1.0.0", " 5.2.0.14", "5.2.0.14.", std::string("5.2.0.14\0", 9),
                                     "\xEF\xBB" "5.2.0.14", "5.2.0.14\xEF\xBB\xBF", ""};
    for (const std::string& version : differing) {
        Reset();
        platform.files[Client] = u"5.2.0.14";
        StartWithServerVersion(version);
        ASSERT_EQ(reads1.reads.size(), 1u) << "server version [" << version << "]";
        EXPECT_EQ(reads1.reads[0].target, u"http://updates.example:8080/tamorix/tamorix.exe");
        EXPECT_EQ(reads1.reads[0].options, 16);
        EXPECT_EQ(journal.back(), "Begin " + ClientUtf8) << "nothing is started before the download ends";
    }
}

TEST_F(LauncherTest, VersionsDifferingOnlyInLetterCaseAreDifferent)
{
    platform.files[Client] = u"1.0.0.0-Beta";
    StartWithServerVersion("1.0.0.0-beta");
    EXPECT_EQ(reads1.reads.size(), 1u);
}

TEST_F(LauncherTest, DownloadedClientIsSavedShownAndStarted)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7");
    ticks.now += 2000;
    const std::string program = ProgramBytes(1048576);
    reads1.Arrive(program.substr(0, 524288));
    reads1.Progress(ReadValue::OfBytes(reads1.Snapshot()));
    reads1.Arrive(program.substr(524288));
    reads1.Progress(ReadValue::OfBytes(reads1.Snapshot()));
    reads1.Complete(ReadValue::OfBytes(reads1.Snapshot()));

    ASSERT_EQ(files.files.count(Client), 1u);
    EXPECT_EQ(AsString(files.files.at(Client)), program);
    EXPECT_EQ(From("Begin"),
              (Journal{"Begin " + ClientUtf8, "Status Aktuelle Version wird geladen: 524288", "Refresh",
                       "Status Aktuelle Version wird geladen: 1048576", "Refresh", "Save " + ClientUtf8,
                       "Status Beendet: 1.048.576 bytes (4194,3 kbps)",
                       "Status Aktuelle Version wird gestartet...", "FileExists " + ClientUtf8}) +
                  Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, TheLogRecordsEachStepAndWhyAReadOrASaveFailed)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7\r\n");
    ticks.now += 250;
    // The download carries the announced version: the log has nothing to warn of.
    platform.files[Client] = u"5.3.1.7";
    ClientArrives(ProgramBytes());
    EXPECT_EQ(Logged({"Quorvelinde", "Versionstext", "Lokale", "Entscheidung", "Client", "Der geladene", "Ende"}),
              (std::vector<std::string>{
                  "Quorvelinde 1.00 in C:\\Programme\\Fernwartung\\; Version von "
                  "http://updates.example:8080/tamorix/tamorixversion.txt, Client von "
                  "http://updates.example:8080/tamorix/tamorix.exe; Signaturprüfung aus",
                  "Versionstext gelesen: 9 Bytes in 0 ms: \"5.3.1.7\\r\\n\", angekündigt \"5.3.1.7\"",
                  "Lokale Version \"5.2.0.14\"", "Entscheidung: Versionen verschieden, der Client wird geladen",
                  "Client gelesen: 1024 Bytes in 250 ms",
                  "Client gespeichert: C:\\Programme\\Fernwartung\\tamorix.exe",
                  "Client gestartet: C:\\Programme\\Fernwartung\\tamorix.exe (Antwort der Shell 42)",
                  "Ende mit Code 0"}));

    Reset();
    platform.files.clear();
    StartWithFailingVersionRead();
    files.placeFailures.assign(200, HostError(1392, u"Die Datei ist beschädigt", ErrorOrigin::SystemCode));
    ClientArrives(ProgramBytes());
    EXPECT_EQ(Logged({"Versionstext", "Lokaler", "Update", "Kein", "Ende"}),
              (std::vector<std::string>{
                  "Versionstext nicht gelesen: Fehler 31001: HTTP 404 (nach 0 ms)",
                  "Lokaler Client fehlt: C:\\Programme\\Fernwartung\\tamorix.exe; Entscheidung: der Client wird geladen",
                  "Update nicht angewendet (Datei nicht geschrieben): Fehler 1392: Die Datei ist beschädigt",
                  "Kein Client gestartet: Warnung angezeigt", "Ende mit Code 2"}));

    Reset();
    platform.files[Client] = u"";
    StartWithServerVersion("5.3.1.7");
    ClientFails();
    EXPECT_EQ(Logged({"Lokaler", "Client nicht"}),
              (std::vector<std::string>{"Lokaler Client ohne Versionsangabe: C:\\Programme\\Fernwartung\\tamorix.exe",
                                        "Client nicht gelesen: Fehler 31004: Verbindung abgebrochen (nach 0 ms)"}));
    EXPECT_EQ(Logged({"Update"}), (std::vector<std::string>{"Update nicht angewendet (Download fehlgeschlagen): Fehler 31004: "
                                                              "Verbindung abgebrochen"}));
}

TEST_F(LauncherTest, ALongAnswerIsLoggedByItsStartAndASavedClientOfAnotherVersionIsNamed)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion(std::string(60000, '7'));
    ClientArrives(ProgramBytes());
    const std::vector<std::string> read = Logged({"Versionstext gelesen"});
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].rfind("Versionstext gelesen: 60000 Bytes in 0 ms: \"" + std::string(200, '7') + "\"..., ", 0), 0u)
        << read[0].substr(0, 300);
    EXPECT_LT(read[0].size(), 500u);
    const std::vector<std::string> warned = Logged({"Der geladene"});
    ASSERT_EQ(warned.size(), 1u);
    EXPECT_EQ(warned[0].rfind("Der geladene Client trägt die Version \"5.2.0.14\", der Server kündigt \"" +
                                  std::string(200, '7') + "\"... an: jeder Start lädt ihn wieder",
                              0),
              0u)
        << warned[0].substr(0, 300);
    EXPECT_EQ(logQueries, Journal{"GetFileVersion " + ClientUtf8}) << "the log asks its own queries";
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "GetFileVersion " + ClientUtf8), 1)
        << "the sequence asks only its own question";
}

const Text PinnedKey = u"8a6cf1a3c7e0b1d24f5e6a7b8c9d0e1f2a3b4c5d6e7f8091a2b3c4d5e6f70819";
const Text SecondKey = u"00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";

std::ptrdiff_t IndexOf(const Journal& journal, const std::string& entry)
{
    return std::find(journal.begin(), journal.end(), entry) - journal.begin();
}

TEST_F(LauncherTest, WithPinsASignedClientIsCheckedWhereItLiesBeforeItReplacesTheOldOne)
{
    pins = ParseSignerPins(PinnedKey + u";" + SecondKey);
    for (const KeyHash& signer : pins) {
        Reset();
        signatures.findings = {UntrustedRoot, signer, true};
        platform.files[Client] = u"5.2.0.14";
        StartWithServerVersion("5.3.1.7");
        ClientArrives(ProgramBytes());

        ASSERT_EQ(files.files.count(Client), 1u);
        EXPECT_EQ(AsString(files.files.at(Client)), ProgramBytes());
        // Checked where it lies written, before it takes the client's place.
        const auto inspect = IndexOf(journal, "Inspect C:\\Temp\\geprueft.tmp");
        const auto save = IndexOf(journal, "Save " + ClientUtf8);
        const auto starting = IndexOf(journal, "Status Aktuelle Version wird gestartet...");
        EXPECT_LT(inspect, save);
        EXPECT_LT(save, starting);
        EXPECT_LT(starting, static_cast<std::ptrdiff_t>(journal.size()));
    }
}

TEST_F(LauncherTest, WithPinsAnUnsignedForeignOrChangedClientReplacesNothingAndTheOldOneStarts)
{
    pins = ParseSignerPins(PinnedKey);
    KeyHash foreign = pins[0];
    foreign[0] ^= 0xFF;
    const SignatureFindings refused[] = {
        {0x800B0100, std::nullopt, true},  // unsigned
        {0, foreign, true},                // signed by another key
        {0x80096010, pins[0], true},       // signed with the pinned key, then changed
        {0, pins[0], false},               // signed with the pinned key, with more beside the signature
    };
    for (const SignatureFindings& findings : refused) {
        Reset();
        signatures.findings = findings;
        platform.files[Client] = u"5.2.0.14";
        StartWithServerVersion("5.3.1.7");
        ClientArrives(ProgramBytes());

        EXPECT_TRUE(files.files.empty()) << std::hex << findings.trust;
        EXPECT_EQ(From("Discard"), (Journal{"Discard " + ClientUtf8, "FileExists " + ClientUtf8,
                                            "Status Vorhandene Version wird gestartet..."}) +
                                       Ending(StartOf(ClientUtf8)));
        EXPECT_EQ(Logged({"Update"}), (std::vector<std::string>{"Update nicht angewendet (Signatur abgelehnt): der Client wird verworfen"}));
    }
}

TEST_F(LauncherTest, WithPinsARefusedDownloadWithoutAClientBringsTheWarning)
{
    pins = ParseSignerPins(PinnedKey);
    signatures.findings = {0x800B0100, std::nullopt};
    StartWithFailingVersionRead();
    ClientArrives(ProgramBytes());
    EXPECT_TRUE(files.files.empty());
    ASSERT_FALSE(From("MessageBox").empty());
    EXPECT_EQ(journal.back(), "EndProcess 2");
}

TEST_F(LauncherTest, WithoutPinsNothingIsInspectedAndAnHttpsServerKeepsItsScheme)
{
    server = u"https://updates.example:8443";
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7");
    ASSERT_EQ(reads2.reads.size(), 1u);
    EXPECT_EQ(reads2.reads[0].target, u"https://updates.example:8443/tamorix/tamorixversion.txt");
    ASSERT_EQ(reads1.reads.size(), 1u);
    EXPECT_EQ(reads1.reads[0].target, u"https://updates.example:8443/tamorix/tamorix.exe");
    ClientArrives(ProgramBytes());
    EXPECT_EQ(files.files.count(Client), 1u);
    EXPECT_TRUE(From("Inspect").empty());
}

TEST_F(LauncherTest, FailedClientDownloadStartsTheExistingClientAndSaysSo)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7");
    reads1.Arrive("MZ");
    reads1.Progress(ReadValue::OfBytes(reads1.Snapshot()));
    ClientFails();

    EXPECT_TRUE(files.files.empty());
    EXPECT_EQ(From("Status Aktuelle"),
              (Journal{"Status Aktuelle Version wird geladen: 2", "Refresh", "Discard " + ClientUtf8,
                       "FileExists " + ClientUtf8, "Status Vorhandene Version wird gestartet..."}) +
                  Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, OnlyAWholeProgramReplacesTheClientAndACutOffClientOnDiskIsFetchedAgain)
{
    const std::string program = ProgramBytes(0x1000);
    const std::pair<std::string, std::string> answers[] = {
        {"<!DOCTYPE html><html><body>Anmeldung erforderlich</body></html>", "Antwort ist kein Windows-Programm"},
        {program.substr(0, program.size() / 2), "Download unvollständig"},
        {program.substr(0, program.size() - 1), "Download unvollständig"},
    };
    for (const auto& [answer, cause] : answers) {
        Reset();
        platform.files[Client] = u"5.2.0.14";
        StartWithServerVersion("5.3.1.7");
        ClientArrives(answer);
        EXPECT_TRUE(files.files.empty()) << cause;
        EXPECT_EQ(Logged({"Update"}), (std::vector<std::string>{"Update nicht angewendet (" + cause + "): der Client wird verworfen"}));
        EXPECT_EQ(Captions(), (std::vector<std::string>{"", "Vorhandene Version wird gestartet..."}));
        EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
    }

    // Cut off on disk, it still carries the announced version, and even a failed version read does not make it current.
    for (const ProgramShape shape : {ProgramShape::Incomplete, ProgramShape::NotAProgram}) {
        for (const bool versionRead : {true, false}) {
            Reset();
            platform.files[Client] = versionRead ? u"5.3.1.7" : u"";
            platform.shapes[Client] = shape;
            versionRead ? StartWithServerVersion("5.3.1.7") : StartWithFailingVersionRead();
            EXPECT_EQ(reads1.reads.size(), 1u);
            ClientArrives(program);
            EXPECT_EQ(AsString(files.files.at(Client)), program);
            EXPECT_EQ(journal.back(), "EndProcess 0");
        }
    }
}

TEST_F(LauncherTest, AnUpdateThatCannotBeWrittenIsNotFetchedOrStopsWhereTheDiskRunsFull)
{
    const std::pair<HostError, std::string> refusals[] = {
        {HostError(5, u"Zugriff verweigert", ErrorOrigin::SystemCode), "Ordner oder Datei nicht beschreibbar"},
        {HostError(19, u"Schreibgeschützt", ErrorOrigin::SystemCode), "Ordner oder Datei nicht beschreibbar"},
        {HostError(112, u"Nicht genügend Speicher", ErrorOrigin::SystemCode), "Datenträger voll"},
    };
    for (const auto& [refusal, cause] : refusals) {
        Reset();
        platform.files[Client] = u"5.2.0.14";
        files.refuse = refusal;
        StartWithServerVersion("5.3.1.7");
        EXPECT_TRUE(reads1.reads.empty()) << cause;
        EXPECT_EQ(Captions(), (std::vector<std::string>{"", "Vorhandene Version wird gestartet..."}));
        EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
        EXPECT_EQ(Logged({"Update"}).at(0).rfind("Update nicht angewendet (" + cause + "): Fehler ", 0), 0u);
    }

    Reset();
    files.refuse.reset();
    platform.files[Client] = u"5.2.0.14";
    files.writeFailure = HostError(112, u"Nicht genügend Speicher", ErrorOrigin::SystemCode);
    files.writeFailsAfter = 300;
    StartWithServerVersion("5.3.1.7");
    reads1.Arrive(ProgramBytes(0x1000).substr(0, 200));
    reads1.Progress(ReadValue::OfBytes(reads1.Snapshot()));
    EXPECT_TRUE(reads1.cancels.empty());
    reads1.Arrive(ProgramBytes(0x1000).substr(200, 200));
    reads1.Progress(ReadValue::OfBytes(reads1.Snapshot()));
    EXPECT_EQ(reads1.cancels.size(), 1u) << "the download stops where the disk ran full";
    EXPECT_EQ(From("Status Aktuelle Version wird geladen: 400"),
              (Journal{"Status Aktuelle Version wird geladen: 400", "Refresh", "Discard " + ClientUtf8,
                       "FileExists " + ClientUtf8, "Status Vorhandene Version wird gestartet..."}) +
                  Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, AFileAnotherProgramHoldsForAMomentIsTriedAgainWhileTheWindowStaysAlive)
{
    platform.files[Client] = u"5.2.0.14";
    files.files[Client] = {'o', 'l', 'd'};
    files.placeFailures = {SharingViolation, SharingViolation};
    platform.shellAnswers = {26, 32};
    StartWithServerVersion("5.3.1.7");
    EveryStepTakes(100);
    const int before = pump.steps;
    ClientArrives(ProgramBytes());

    EXPECT_EQ(AsString(files.files.at(Client)), ProgramBytes());
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Place refused " + ClientUtf8), 2);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), StartOf(ClientUtf8)), 3);
    EXPECT_EQ(pump.steps - before, 4 * 3 + 20) << "each retry 250 ms later, pumping, then the final wait";
    // The previous client stays aside until the new one has started.
    const auto removed = IndexOf(journal, "Remove " + ClientUtf8 + ".~alt");
    ASSERT_LT(removed, static_cast<std::ptrdiff_t>(journal.size()));
    EXPECT_EQ(journal[removed - 1], StartOf(ClientUtf8)) << "removed once the new one has started";
    EXPECT_EQ(files.files.count(Client + u".~alt"), 0u);
    EXPECT_EQ(Captions().back(), "Aktuelle Version wird gestartet...");

    // Held for longer than the retries last: the old client stays and starts.
    Reset();
    platform.files[Client] = u"5.2.0.14";
    files.files[Client] = {'o', 'l', 'd'};
    files.placeFailures.assign(100, SharingViolation);
    StartWithServerVersion("5.3.1.7");
    EveryStepTakes(100);
    ClientArrives(ProgramBytes());
    EXPECT_EQ(AsString(files.files.at(Client)), "old");
    EXPECT_EQ(Captions().back(), "Vorhandene Version wird gestartet...");
    EXPECT_EQ(Logged({"Update"}).at(0).rfind("Update nicht angewendet (Datei in Gebrauch): Fehler 32", 0), 0u);
    EXPECT_EQ(journal.back(), "EndProcess 0");
}

TEST_F(LauncherTest, ANewClientThatDoesNotStartMakesWayForThePreviousOne)
{
    platform.files[Client] = u"5.2.0.14";
    files.files[Client] = {'o', 'l', 'd'};
    platform.shellAnswers = {11};
    StartWithServerVersion("5.3.1.7");
    ClientArrives(ProgramBytes());

    EXPECT_EQ(AsString(files.files.at(Client)), "old");
    EXPECT_EQ(From("Move"), (Journal{"Move " + ClientUtf8 + ".~alt -> " + ClientUtf8,
                                     "Status Vorhandene Version wird gestartet..."}) +
                                Ending(StartOf(ClientUtf8)));
    EXPECT_EQ(Logged({"Update"}), (std::vector<std::string>{"Update nicht angewendet (der neue Client startet nicht): der vorige ist zurückgelegt"}));
}

TEST_F(LauncherTest, OneLauncherAtATimeReplacesAFoldersClientAndLeftoversAreRemovedUnderTheLock)
{
    const Text held = Client + u".~1-2-0.alt";
    files.leftovers = {Client + u".~7-8-0.tmp", held};
    files.refusedNames = {held};
    files.lockHeldTimes = 3;
    platform.files[Client] = u"5.3.1.7";
    EveryStepTakes(100);
    StartWithServerVersion("5.3.1.7");
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "Lock " + ClientUtf8), 4);
    EXPECT_EQ(From("Lock").size(), From("Remove").size() + 4 + 3 * 5) << "between the tries, 250 ms of pumping";
    EXPECT_EQ(From("Remove"), (Journal{"Remove " + ClientUtf8 + ".~7-8-0.tmp", "Remove " + Utf8FromText(held),
                                       "FileExists " + ClientUtf8, "GetFileVersion " + ClientUtf8,
                                       "ShapeOfProgramFile " + ClientUtf8, "FileExists " + ClientUtf8}) +
                                  Ending(StartOf(ClientUtf8)));
    EXPECT_EQ(Logged({"Übrig"}).size(), 2u);

    // Held for longer than the limit: the client that is there starts as it is.
    Reset();
    files.lockHeldTimes = 10000;
    platform.files[Client] = u"5.2.0.14";
    EveryStepTakes(100);
    const std::int32_t began = ticks.now;
    StartWithServerVersion("5.3.1.7");
    EXPECT_TRUE(reads1.reads.empty());
    EXPECT_TRUE(From("GetFileVersion").empty());
    EXPECT_EQ(ticks.now - began, 100 + 120'000 + 20 * 100) << "the version step, the limit, the final wait";
    EXPECT_EQ(Captions().back(), "Vorhandene Version wird gestartet...");
    EXPECT_EQ(journal.back(), "EndProcess 0");

    // Where no lock can be made, the launcher goes on without one.
    Reset();
    files.lockHeldTimes = 0;
    files.lockFailure = HostError(5, u"Zugriff verweigert", ErrorOrigin::SystemCode);
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7");
    EXPECT_EQ(reads1.reads.size(), 1u);
}

TEST_F(LauncherTest, FailedVersionReadWithAClientWithoutVersionInformationStartsItWithoutDownload)
{
    platform.files[Client] = u"";
    StartWithFailingVersionRead();
    EXPECT_TRUE(reads1.reads.empty());
    EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, FailedVersionReadWithAVersionedClientTriesTheDownloadThenStartsTheClient)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithFailingVersionRead();
    ASSERT_EQ(reads1.reads.size(), 1u);
    ClientFails();
    EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, MissingClientIsDownloadedAndStarted)
{
    StartWithServerVersion("5.3.1.7");
    ASSERT_EQ(reads1.reads.size(), 1u);
    platform.files[Client] = u"5.3.1.7";  // what the save produces on the platform
    ClientArrives(ProgramBytes());
    EXPECT_EQ(files.files.count(Client), 1u);
    EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, NothingToStartOrAClientThatDoesNotStartWarnsThenWaitsAndEndsWithCodeTwo)
{
    const std::string warning = "MessageBox owner=4660 style=48 title=Quorvelinde prompt=Die Quorvelinde konnte nicht "
                                "gestartet werden.\r\n\r\nBitte wenden Sie sich an Ihren Administrator.";
    StartWithFailingVersionRead();
    ClientFails();
    EXPECT_EQ(From("FileExists"), (Journal{"FileExists " + ClientUtf8, "Begin " + ClientUtf8, "Discard " + ClientUtf8,
                                           "FileExists " + ClientUtf8}) +
                                      Ending(warning, 2));

    Reset();
    platform.files[Client] = u"5.2.0.14";
    platform.shellAnswers = {11};
    StartWithServerVersion("5.2.0.14");
    EXPECT_EQ(From("ShellExecute"), (Journal{StartOf(ClientUtf8), "ShapeOfProgramFile " + ClientUtf8}) + Ending(warning, 2))
        << "a failed start asks whether another program holds the client";
    EXPECT_EQ(Logged({"Client nicht", "Kein", "Ende"}),
              (std::vector<std::string>{"Client nicht gestartet: C:\\Programme\\Fernwartung\\tamorix.exe (Antwort der Shell 11)",
                                        "Kein Client gestartet: Warnung angezeigt", "Ende mit Code 2"}));
}

TEST_F(LauncherTest, ProgramInADriveRootSavesAndStartsTheSameFile)
{
    platform.programPath = u"E:\\";
    platform.files[u"E:\\tamorix.exe"] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7");
    ClientArrives(ProgramBytes());
    // The save name carries a doubled separator, which the platform reads as one.
    EXPECT_EQ(files.files.count(u"E:\\\\tamorix.exe"), 1u);
    EXPECT_EQ(From("ShellExecute"), Ending(StartOf("E:\\tamorix.exe")));
}

TEST_F(LauncherTest, OnlyTheFirstActivationStartsTheSequence)
{
    platform.files[Client] = u"5.2.0.14";
    pump.onStep = [this] {
        if (pump.steps == 1) {
            Launcher().Form_Activate();  // an activation while the version wait pumps
        } else if (pump.steps == 2) {
            reads2.Arrive("5.3.1.7");
            reads2.Complete(ReadValue::OfBytes(reads2.Snapshot()));
        }
    };
    Launcher().Form_Load();
    Launcher().Form_Activate();
    Launcher().Form_Activate();
    EXPECT_EQ(reads2.reads.size(), 1u);
    EXPECT_EQ(reads1.reads.size(), 1u);
}

TEST_F(LauncherTest, VersionWaitSleepsBetweenStepsAndGivesUpAfterSixtySecondsWithoutAnOutcome)
{
    platform.files[Client] = u"5.2.0.14";
    pump.onStep = [this] { ticks.now += 1000; };
    Launcher().Form_Load();
    Launcher().Form_Activate();

    EXPECT_EQ(pump.steps, 60);
    EXPECT_EQ(reads2.cancels.size(), 1u);
    ASSERT_EQ(reads1.reads.size(), 1u) << "a missing version counts as a failed version read";
    // Each step is followed by a wait for the next message, bounded by the time that is left.
    const Journal fromWait = From("Pump");
    const Journal wait(fromWait.begin(), std::find(fromWait.begin(), fromWait.end(), "Lock " + ClientUtf8));
    ASSERT_EQ(wait.size(), 119u);
    for (std::size_t i = 0; i < wait.size(); ++i) {
        EXPECT_EQ(wait[i], i % 2 == 0 ? "Pump" : "Wait " + std::to_string(60'000 - 1000 * static_cast<int>(i / 2 + 1)))
            << i;
    }
}

TEST_F(LauncherTest, ARefusedVersionReadIsAFailedOneAndARefusedClientReadAFailedDownload)
{
    platform.files[Client] = u"5.2.0.14";
    reads2.refuseReads = HostError(ErrorNumber::ReadRefused, u"abgelehnt");
    reads1.refuseReads = HostError(ErrorNumber::ReadRefused, u"abgelehnt");
    Launcher().Form_Load();
    Launcher().Form_Activate();
    EXPECT_EQ(pump.steps, 20) << "no version wait, only the final one";
    EXPECT_EQ(reads1.reads.size(), 1u);
    EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
}

TEST_F(LauncherTest, ARefusedClientReadWithoutAClientBringsTheWarning)
{
    reads1.refuseReads = HostError(ErrorNumber::ReadRefused, u"abgelehnt");
    StartWithFailingVersionRead();
    ASSERT_FALSE(From("MessageBox").empty());
    EXPECT_EQ(From("MessageBox").size(), 43u) << "the warning, then the final wait and the end";
    EXPECT_EQ(journal.back(), "EndProcess 2");
}

TEST_F(LauncherTest, VersionArrivingJustBeforeTheLimitCounts)
{
    platform.files[Client] = u"5.2.0.14";
    ticks.now = 0x7FFFFFFF - 30'000;  // the wait also spans the counter's wrap
    pump.onStep = [this] {
        ticks.now = static_cast<std::int32_t>(static_cast<std::uint32_t>(ticks.now) + 1000u);
        if (pump.steps == 59) {
            reads2.Arrive("5.2.0.14");
            reads2.Complete(ReadValue::OfBytes(reads2.Snapshot()));
        }
    };
    Launcher().Form_Load();
    Launcher().Form_Activate();
    EXPECT_TRUE(reads2.cancels.empty());
    EXPECT_TRUE(reads1.reads.empty());
    EXPECT_EQ(From("ShellExecute"), Ending(StartOf(ClientUtf8)));
}

ScriptedReadService* g_clientReads = nullptr;

// The error report's modal loop lets the client's download end behind it, once well and once not.
void CompleteTheDownloadBehindTheReport(const HostError&)
{
    g_clientReads->Arrive(ProgramBytes());
    g_clientReads->Complete(ReadValue::OfBytes(g_clientReads->Snapshot()));
    g_clientReads->Complete(ReadValue::Failed(HostError(ErrorNumber::TransferFailed, u"weg")));
}

TEST_F(LauncherTest, BehindAnErrorReportNothingIsSavedStartedOrEnded)
{
    platform.files[Client] = u"5.2.0.14";
    StartWithServerVersion("5.3.1.7");
    ASSERT_EQ(reads1.reads.size(), 1u);
    journal.clear();
    g_clientReads = &reads1;
    const TopLevelErrorHandler previous = SetTopLevelErrorHandler(&CompleteTheDownloadBehindTheReport);
    try {
        throw HostError(ErrorNumber::Internal, u"Fehler im Fenster");
    } catch (...) {
        ReportCurrentErrorToTopLevel();
    }
    SetTopLevelErrorHandler(previous);
    EXPECT_TRUE(files.files.empty());
    EXPECT_TRUE(From("ShellExecute").empty());
    EXPECT_TRUE(From("MessageBox").empty());
    EXPECT_TRUE(From("EndProcess").empty());
}

TEST_F(LauncherTest, FileQueryErrorsEndTheSequenceWhereTheyArise)
{
    platform.files[Client] = u"5.2.0.14";
    platform.fileQueryFailure = HostError(32, u"Die Datei wird verwendet");
    try {
        StartWithServerVersion("5.2.0.14");
        FAIL() << "the error was swallowed";
    } catch (const HostError& error) {
        EXPECT_EQ(error.Number(), 32);
    }
    EXPECT_TRUE(From("ShellExecute").empty());
    EXPECT_TRUE(From("EndProcess").empty());
    EXPECT_TRUE(reads1.reads.empty());
}

}  // namespace
}  // namespace qv::test
