// The support desk's command. Publishing puts a client and the text that
// announces its version into a server folder, after the checks the launcher
// makes of a download, each file replaced in one step:
//
//   QuorvelindePublish.exe [--launcher <Quorvelinde.exe>] <tamorix.exe> <server folder>
//
// with the pins stamped into the named launcher, or else with those of this
// command's own build. Exit codes as PublishExit says: 0 published, 1
// refused, 2 a wrong command line, 3 not published (the old pair stays), 4
// the new client beside the old text. The last line always says what the
// server serves now. The desk's other steps are commands of their own
// (DeskCommands_win.h).

#include "BuildSettings.h"
#include "Console_win.h"
#include "DeskCommands_win.h"

#include "host/base/ByteStore.h"
#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/OwnedFile_win.h"
#include "host/files/FileInput_win.h"
#include "host/files/FileOutput_win.h"
#include "host/files/FileQueries_win.h"
#include "host/files/SignatureCheck_win.h"
#include "host/files/ProgramLayout.h"
#include "launcher/ClientFiles.h"
#include "launcher/LauncherStamp_win.h"
#include "launcher/Publication.h"
#include "launcher/SignerPins.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using qv::Say;

bool IsFolder(const qv::Text& path)
{
    const DWORD attributes = GetFileAttributesW(qv::Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

qv::HostError Refusal(const qv::Text& why)
{
    return qv::HostError(qv::ErrorNumber::FileRefused, why);
}

// The client as it will be published, after the checks a launcher makes of a download.
struct CheckedClient {
    std::vector<std::uint8_t> bytes;
    qv::Text version;
};

CheckedClient Checked(const qv::Text& client, const std::vector<qv::KeyHash>& pins)
{
    // Held open while it is checked and copied: what is checked is what is published.
    const qv::OwnedFile held(CreateFileW(qv::Wide(client), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held) {
        throw qv::ErrorFromLastError(u"Der Client \u201E" + client + u"\u201C kann nicht geöffnet werden");
    }
    auto bytes = qv::ReadAllThrough(held.Get());
    if (!bytes) {
        throw Refusal(u"Der Client \u201E" + client + u"\u201C kann nicht gelesen werden");
    }
    switch (qv::ShapeOfProgram(qv::BytesInMemory(*bytes))) {
    case qv::ProgramShape::NotAProgram:
        throw Refusal(u"\u201E" + client + u"\u201C ist kein Windows-Programm");
    case qv::ProgramShape::Incomplete:
        throw Refusal(u"\u201E" + client + u"\u201C ist unvollständig: Teile, die seine Köpfe nennen, fehlen am Ende");
    case qv::ProgramShape::Whole:
        break;
    }
    const qv::Text version = qv::WindowsFileQueries().GetFileVersion(client);
    if (version.empty()) {
        throw Refusal(u"\u201E" + client + u"\u201C hat keine Dateiversion: jeder Launcher würde ihn bei jedem Start neu laden");
    }
    if (!pins.empty()) {
        const qv::SignatureFindings findings =
            qv::AuthenticodeCheck().Inspect({client, reinterpret_cast<std::uintptr_t>(held.Get())});
        if (!qv::SignedByPinnedKey(findings, pins)) {
            throw Refusal(u"\u201E" + client + u"\u201C ist nicht mit einem der Schlüssel des Launchers signiert (" +
                          qv::FindingsText(findings) + u"); der Launcher würde ihn ablehnen");
        }
        Say(u"Signatur angenommen: " + qv::FindingsText(findings));
    }
    return {std::move(*bytes), version};
}

// The pins a launcher checks downloads with: those stamped into `launcher`,
// or with none named, those of this command's own build.
std::vector<qv::KeyHash> PinsOf(const std::optional<qv::Text>& launcher)
{
    if (!launcher) {
        return qv::ParseSignerPins(qv::SignerPinList());
    }
    const auto stamp = qv::StampOfFile(*launcher);
    if (!stamp) {
        throw Refusal(u"\u201E" + *launcher + u"\u201C ist nicht gestempelt: seine Schlüssel sind hier nicht zu lesen");
    }
    const qv::LauncherSettings settings = qv::ReadStamp(*stamp);
    Say(u"Mit den Schlüsseln von " + *launcher + u": " + qv::SettingsText(settings));
    return settings.pins;
}

int Publish(std::vector<qv::Text> arguments)
{
    std::optional<qv::Text> launcher;
    if (arguments.size() == 4 && arguments[0] == u"--launcher") {
        launcher = arguments[1];
        arguments.erase(arguments.begin(), arguments.begin() + 2);
    }
    if (arguments.size() != 2 || arguments[0].empty() || arguments[1].empty() || (launcher && launcher->empty())) {
        Say(u"Aufruf: QuorvelindePublish.exe [--launcher <Quorvelinde.exe>] <signierte tamorix.exe> <Serverordner>");
        Say(u"        QuorvelindePublish.exe stamp | show | pin ...");
        return static_cast<int>(qv::PublishExit::WrongCommandLine);
    }
    const qv::Text& client = arguments[0];
    const qv::Text& folder = arguments[1];
    // A misspelt folder would be served by nobody: it is not made.
    if (!IsFolder(folder)) {
        Say(u"Den Serverordner \u201E" + folder + u"\u201C gibt es nicht.");
        return static_cast<int>(qv::PublishExit::WrongCommandLine);
    }
    qv::WindowsFileInput input;
    qv::WindowsFileOutput output;
    qv::WindowsFileQueries queries;
    qv::ServerFolder server(input, output, queries, folder);
    try {
        const CheckedClient checked = Checked(client, PinsOf(launcher));
        CreateDirectoryW(qv::Wide(folder + u"\\" + qv::ServerFolderName), nullptr);
        // What an earlier run left when it was ended while it wrote.
        for (const qv::Text& file : {server.ClientPath(), server.VersionTextPath()}) {
            qv::RemoveLeftovers(output, file, Say);
        }
        const qv::PublishOutcome outcome = server.Publish(qv::ByteSnapshot::Of(checked.bytes), checked.version);
        for (const qv::Text& line : outcome.lines) {
            Say(line);
        }
        return static_cast<int>(outcome.exit);
    } catch (...) {
        const qv::HostError error = qv::CurrentErrorAsHostError();
        Say(u"Abgelehnt: " + error.Description() + u" (Fehler " + qv::DecimalText(error.Number()) + u")");
        Say(qv::ServedPairText(server.Served()));
        return static_cast<int>(qv::PublishExit::Refused);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::vector<qv::Text> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(qv::FromWide(argv[i]));
    }
    const std::pair<const char16_t*, int (*)(const std::vector<qv::Text>&)> commands[] = {
        {u"stamp", qv::StampCommand}, {u"show", qv::ShowCommand}, {u"pin", qv::PinCommand}};
    for (const auto& [name, command] : commands) {
        if (!arguments.empty() && arguments[0] == name) {
            return command({arguments.begin() + 1, arguments.end()});
        }
    }
    return Publish(std::move(arguments));
}
