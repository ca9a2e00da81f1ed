#include "TestSupport.h"

#include "host/base/WideText_win.h"
#include "host/files/OwnedFile_win.h"
#include "host/files/SignatureCheck_win.h"
#include "host/shell/LauncherServices_win.h"
#include "launcher/SignerPins.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace qv::test {
namespace {

std::filesystem::path Pki(const wchar_t* name)
{
    return std::filesystem::path(AsWide(WindowsLauncherServices().ProgramPath())) / L"test-pki" / name;
}

KeyHash PinOf(const wchar_t* name)
{
    std::ifstream in(Pki(name));
    std::string hex;
    in >> hex;
    return ParseSignerPins(TextFromAscii(hex)).at(0);
}

// The findings for a file held open as its writer holds it.
SignatureFindings Inspect(const std::filesystem::path& file)
{
    const OwnedFile held(
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    const HANDLE handle = held ? held.Get() : nullptr;
    return AuthenticodeCheck().Inspect(HeldFile{AsText(file), reinterpret_cast<std::uintptr_t>(handle)});
}

TEST(AuthenticodeCheck, ReadsWhetherASignatureIsIntactAndWhoseKeySignedIt)
{
    const SignatureFindings a = Inspect(Pki(L"client-signed-a.exe"));
    // A self-signed signer: trusted, or trusted but for its root, as the platform sees it.
    EXPECT_TRUE(a.trust == 0 || a.trust == UntrustedRoot) << std::hex << a.trust;
    ASSERT_TRUE(a.signerKey);
    EXPECT_EQ(*a.signerKey, PinOf(L"pin-a.txt"));
    EXPECT_TRUE(a.onlySignatures);

    const SignatureFindings b = Inspect(Pki(L"client-signed-b.exe"));
    ASSERT_TRUE(b.signerKey);
    EXPECT_EQ(*b.signerKey, PinOf(L"pin-b.txt"));
    EXPECT_NE(*b.signerKey, *a.signerKey);

    const SignatureFindings unsigned_ = Inspect(Pki(L"client-unsigned.exe"));
    EXPECT_NE(unsigned_.trust, 0u);
    EXPECT_FALSE(unsigned_.signerKey);

    // Changed after signing: the signer is still named, but the signature no longer holds.
    const SignatureFindings changed = Inspect(Pki(L"client-changed.exe"));
    EXPECT_NE(changed.trust, 0u);
    EXPECT_NE(changed.trust, UntrustedRoot);
    EXPECT_FALSE(SignedByPinnedKey(changed, {PinOf(L"pin-a.txt")}));
    EXPECT_TRUE(SignedByPinnedKey(a, {PinOf(L"pin-b.txt"), PinOf(L"pin-a.txt")}));

    // Sixteen bytes added inside the certificate table, which no signature covers.
    const SignatureFindings padded = Inspect(Pki(L"client-padded-a.exe"));
    EXPECT_TRUE(padded.trust == 0 || padded.trust == UntrustedRoot) << std::hex << padded.trust;
    EXPECT_FALSE(padded.onlySignatures);
    EXPECT_FALSE(SignedByPinnedKey(padded, {PinOf(L"pin-a.txt")}));

    const SignatureFindings missing = Inspect(L"Z:\\nirgends\\tamorix.exe");
    EXPECT_NE(missing.trust, 0u);
    EXPECT_FALSE(missing.signerKey);
}

}  // namespace
}  // namespace qv::test
