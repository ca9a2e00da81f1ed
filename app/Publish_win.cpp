// The support desk's publish command: puts a client and the text that
// announces its version into a server folder, after the checks the launcher
// makes of a download, each file replaced in one step.
//
//   QuorvelindePublish.exe <tamorix.exe> <server folder>
//
// Exit code 0 when published, 1 when refused, 2 for a wrong command line.

#include "BuildSettings.h"

#include "host/base/ByteStore.h"
#include "host/base/HostError.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/OwnedFile_win.h"
#include "host/files/FileInput_win.h"
#include "host/files/FileOutput_win.h"
#include "host/files/FileQueries_win.h"
#include "host/files/SignatureCheck_win.h"
#include "launcher/ClientFiles.h"
#include "launcher/ExecutableHeader.h"
#include "launcher/SignerPins.h"

#include <windows.h>

#include <cstdio>
#include <span>
#include <string>

namespace {

void Say(std::FILE* stream, const qv::Text& line)
{
    std::fputs((qv::Utf8FromText(line) + "\n").c_str(), stream);
}

qv::HostError Refusal(const qv::Text& why)
{
    return qv::HostError(qv::ErrorNumber::FileRefused, why);
}

void Publish(const qv::Text& client, const qv::Text& folder)
{
    // Held open while it is checked and copied: what is checked is what is published.
    const qv::OwnedFile held(CreateFileW(qv::Wide(client), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held) {
        throw qv::ErrorFromLastError(u"Der Client \u201E" + client + u"\u201C kann nicht geöffnet werden");
    }
    const auto bytes = qv::ReadAllThrough(held.Get());
    if (!bytes) {
        throw Refusal(u"Der Client \u201E" + client + u"\u201C kann nicht gelesen werden");
    }
    if (!qv::IsWindowsExecutable(*bytes)) {
        throw Refusal(u"\u201E" + client + u"\u201C ist kein Windows-Programm");
    }
    const qv::Text version = qv::WindowsFileQueries().GetFileVersion(client);
    if (version.empty()) {
        throw Refusal(u"\u201E" + client + u"\u201C hat keine Dateiversion: jeder Launcher würde ihn bei jedem Start neu laden");
    }
    const std::vector<qv::KeyHash> pins = qv::ParseSignerPins(qv::SignerPinList());
    if (!pins.empty()) {
        const qv::SignatureFindings findings =
            qv::AuthenticodeCheck().Inspect({client, reinterpret_cast<std::uintptr_t>(held.Get())});
        if (!qv::SignedByPinnedKey(findings, pins)) {
            throw Refusal(u"\u201E" + client + u"\u201C ist nicht mit einem der eingebauten Schlüssel signiert (" +
                          qv::FindingsText(findings) + u"); der Launcher würde ihn ablehnen");
        }
        Say(stdout, u"Signatur angenommen: " + qv::FindingsText(findings));
    }

    const qv::Text serverFolder = folder + u"\\" + qv::ServerFolderName;
    CreateDirectoryW(qv::Wide(folder), nullptr);
    CreateDirectoryW(qv::Wide(serverFolder), nullptr);
    qv::WindowsFileOutput files;
    // The client first: a launcher that reads the new text meanwhile finds the new client already there.
    const qv::Text clientTarget = serverFolder + u"\\" + qv::ClientFileName;
    files.ReplaceWithBytes(clientTarget, qv::ByteSnapshot::Of(*bytes));
    Say(stdout, u"Geschrieben: " + clientTarget + u" (" + qv::DecimalText(static_cast<std::int64_t>(bytes->size())) +
                    u" Bytes)");
    const qv::Text versionTarget = serverFolder + u"\\" + qv::VersionTextFileName;
    const std::string versionBytes = qv::Utf8FromText(version);
    files.ReplaceWithBytes(versionTarget, qv::ByteSnapshot::Of(std::span(
                                              reinterpret_cast<const std::uint8_t*>(versionBytes.data()), versionBytes.size())));
    Say(stdout, u"Geschrieben: " + versionTarget + u" (\u201E" + version + u"\u201C, ohne Zeilenende)");
    Say(stdout, u"Veröffentlicht: Version " + version);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        Say(stderr, u"Aufruf: QuorvelindePublish.exe <signierte tamorix.exe> <Serverordner>");
        return 2;
    }
    try {
        Publish(qv::FromWide(argv[1]), qv::FromWide(argv[2]));
        return 0;
    } catch (...) {
        const qv::HostError error = qv::CurrentErrorAsHostError();
        Say(stderr, u"Abgelehnt: " + error.Description() + u" (Fehler " + qv::DecimalText(error.Number()) + u")");
        return 1;
    }
}
