#include "host/files/SignatureCheck_win.h"

#include "host/base/OwnedHandle_win.h"
#include "host/base/WideText_win.h"
#include "host/files/CertificateTable.h"
#include "host/files/FileInput_win.h"

#include <windows.h>
#include <bcrypt.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <optional>
#include <vector>

namespace qv {
namespace {

NTSTATUS CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm)
{
    return BCryptCloseAlgorithmProvider(algorithm, 0);
}

using HashAlgorithm = OwnedHandle<BCRYPT_ALG_HANDLE, &CloseAlgorithm>;
using Hash = OwnedHandle<BCRYPT_HASH_HANDLE, &BCryptDestroyHash>;

std::optional<KeyHash> Sha256(const std::vector<BYTE>& bytes)
{
    BCRYPT_ALG_HANDLE rawAlgorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&rawAlgorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return std::nullopt;
    }
    const HashAlgorithm algorithm(rawAlgorithm);
    BCRYPT_HASH_HANDLE rawHash = nullptr;
    if (BCryptCreateHash(algorithm.Get(), &rawHash, nullptr, 0, nullptr, 0, 0) != 0) {
        return std::nullopt;
    }
    const Hash hash(rawHash);
    KeyHash digest{};
    if (BCryptHashData(hash.Get(), const_cast<BYTE*>(bytes.data()), static_cast<ULONG>(bytes.size()), 0) != 0 ||
        BCryptFinishHash(hash.Get(), digest.data(), static_cast<ULONG>(digest.size()), 0) != 0) {
        return std::nullopt;
    }
    return digest;
}

// The platform's verdict on the file's signature, and the key of the signer
// certificate that this verdict is about, taken from the verification's own
// state rather than looked up again.
std::uint32_t VerifyTrust(const HeldFile& file, std::optional<KeyHash>& signerKey)
{
    WINTRUST_FILE_INFO info{};
    info.cbStruct = sizeof info;
    info.pcwszFilePath = Wide(file.path);
    info.hFile = reinterpret_cast<HANDLE>(file.handle);
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &info;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    // No window: the verification must never ask the user.
    const HWND noWindow = static_cast<HWND>(INVALID_HANDLE_VALUE);
    const LONG status = WinVerifyTrust(noWindow, &action, &data);
    if (data.hWVTStateData) {
        if (CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data.hWVTStateData)) {
            if (CRYPT_PROVIDER_SGNR* signer = WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0)) {
                if (CRYPT_PROVIDER_CERT* leaf = WTHelperGetProvCertFromChain(signer, 0); leaf && leaf->pCert) {
                    signerKey = KeyHashOfCertificate(leaf->pCert);
                }
            }
        }
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(noWindow, &action, &data);
    return static_cast<std::uint32_t>(status);
}

}  // namespace

std::optional<KeyHash> KeyHashOfCertificate(PCCERT_CONTEXT certificate)
{
    // The key as it stands in the certificate, DER-encoded: what a pin hashes.
    DWORD length = 0;
    CERT_PUBLIC_KEY_INFO* key = &certificate->pCertInfo->SubjectPublicKeyInfo;
    if (!CryptEncodeObject(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, key, nullptr, &length)) {
        return std::nullopt;
    }
    std::vector<BYTE> der(length);
    if (!CryptEncodeObject(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, key, der.data(), &length)) {
        return std::nullopt;
    }
    der.resize(length);
    return Sha256(der);
}

SignatureFindings AuthenticodeCheck::Inspect(const HeldFile& file)
{
    SignatureFindings findings;
    findings.trust = VerifyTrust(file, findings.signerKey);
    if (const auto bytes = ReadAllThrough(reinterpret_cast<HANDLE>(file.handle))) {
        findings.onlySignatures = ReadCertificateTable(*bytes).onlySignatures;
    }
    return findings;
}

}  // namespace qv
