#include "DeskCommands_win.h"

#include "Console_win.h"

#include "host/base/HostError.h"
#include "host/base/OwnedHandle_win.h"
#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/FileInput_win.h"
#include "host/files/OwnedFile_win.h"
#include "host/files/SignatureCheck_win.h"
#include "launcher/LauncherStamp_win.h"
#include "launcher/SignerPins.h"

#include <windows.h>
#include <wincrypt.h>

#include <functional>

namespace qv {
namespace {

constexpr int Done = 0;
constexpr int Refused = 1;
constexpr int WrongCommandLine = 2;

using Certificate = OwnedHandle<PCCERT_CONTEXT, &CertFreeCertificateContext>;

int Refuse(const HostError& error)
{
    Say(u"Abgelehnt: " + error.Description() + u" (Fehler " + DecimalText(error.Number()) + u")");
    return Refused;
}

// Runs `body` for a command line that `fits`, else shows `usage`; a refusal is
// said with its number, as the desk's other answers are.
int Command(bool fits, const char16_t* usage, const std::function<void()>& body)
{
    if (!fits) {
        Say(usage);
        return WrongCommandLine;
    }
    try {
        body();
        return Done;
    } catch (...) {
        return Refuse(CurrentErrorAsHostError());
    }
}

// A certificate from DER bytes, or from PEM text ("-----BEGIN CERTIFICATE-----").
Certificate CertificateOf(const std::vector<std::uint8_t>& bytes)
{
    std::vector<BYTE> der(bytes.begin(), bytes.end());
    const std::string text(bytes.begin(), bytes.end());
    if (text.find("-----BEGIN CERTIFICATE-----") != std::string::npos) {
        DWORD size = 0;
        if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER, nullptr, &size,
                                  nullptr, nullptr)) {
            throw ErrorFromLastError(u"Das PEM-Zertifikat kann nicht gelesen werden");
        }
        der.resize(size);
        CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER, der.data(), &size,
                             nullptr, nullptr);
        der.resize(size);
    }
    Certificate certificate(
        CertCreateCertificateContext(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
    if (!certificate) {
        throw ErrorFromLastError(u"Die Datei ist kein Zertifikat (DER oder PEM) und kein signiertes Programm");
    }
    return certificate;
}

}  // namespace

int StampCommand(const std::vector<Text>& arguments)
{
    const auto usage = u"Aufruf: QuorvelindePublish.exe stamp <Quorvelinde.exe> <Kopie.exe> <Server> <Pin> [<Pin> ...]";
    return Command(arguments.size() >= 4, usage, [&] {
        LauncherSettings settings{arguments[2], {}};
        for (std::size_t i = 3; i < arguments.size(); ++i) {
            const auto pins = ParseSignerPins(arguments[i]);
            settings.pins.insert(settings.pins.end(), pins.begin(), pins.end());
        }
        StampLauncherFile(arguments[0], arguments[1], settings);
        Say(u"Gestempelt: " + arguments[1]);
        Say(u"Die Kopie nimmt: " + SettingsText(settings));
        Say(u"Signieren Sie die Kopie neu, bevor Sie sie weitergeben: das Stempeln macht jede Signatur ungültig.");
    });
}

int ShowCommand(const std::vector<Text>& arguments)
{
    return Command(arguments.size() == 1, u"Aufruf: QuorvelindePublish.exe show <Quorvelinde.exe>", [&] {
        const auto stamp = StampOfFile(arguments[0]);
        if (!stamp) {
            Say(u"Nicht gestempelt: der Launcher nimmt den Server und die Schlüssel, mit denen er gebaut wurde.");
            return;
        }
        const LauncherSettings settings = ReadStamp(*stamp);
        Say(SettingsText(settings));
        for (const KeyHash& pin : settings.pins) {
            Say(u"Pin: " + KeyHashText(pin));
        }
    });
}

int PinCommand(const std::vector<Text>& arguments)
{
    const auto usage = u"Aufruf: QuorvelindePublish.exe pin <Zertifikat.cer | Zertifikat.pem | signiertes Programm.exe>";
    return Command(arguments.size() == 1, usage, [&] {
        const std::vector<std::uint8_t> bytes = WindowsFileInput().ReadAllBytes(arguments[0], 64 * 1024 * 1024);
        std::optional<KeyHash> key;
        if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
            // A signed program: the key of the signer the platform's check finds.
            const OwnedFile held(CreateFileW(Wide(arguments[0]), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
            key = AuthenticodeCheck().Inspect({arguments[0], reinterpret_cast<std::uintptr_t>(held.Get())}).signerKey;
            if (!key) {
                throw HostError(ErrorNumber::FileRefused, u"\u201E" + arguments[0] + u"\u201C trägt keine lesbare Signatur");
            }
        } else {
            key = KeyHashOfCertificate(CertificateOf(bytes).Get());
            if (!key) {
                throw HostError(ErrorNumber::Internal, u"Der Schlüssel des Zertifikats kann nicht gelesen werden");
            }
        }
        Say(KeyHashText(*key));
    });
}

}  // namespace qv
