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
#include <span>
#include <vector>

namespace qv {
namespace {

BOOL CloseStore(HCERTSTORE store)
{
    return CertCloseStore(store, 0);
}

NTSTATUS CloseAlgorithm(BCRYPT_ALG_HANDLE algorithm)
{
    return BCryptCloseAlgorithmProvider(algorithm, 0);
}

using CertificateStore = OwnedHandle<HCERTSTORE, &CloseStore>;
using CryptMessage = OwnedHandle<HCRYPTMSG, &CryptMsgClose>;
using Certificate = OwnedHandle<PCCERT_CONTEXT, &CertFreeCertificateContext>;
using HashAlgorithm = OwnedHandle<BCRYPT_ALG_HANDLE, &CloseAlgorithm>;
using Hash = OwnedHandle<BCRYPT_HASH_HANDLE, &BCryptDestroyHash>;

std::uint32_t VerifyTrust(const HeldFile& file)
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
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(noWindow, &action, &data);
    return static_cast<std::uint32_t>(status);
}

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

// The signer of a signature, PKCS #7 SignedData as the certificate table holds it.
std::optional<KeyHash> SignerKeyHash(std::span<const std::uint8_t> signature)
{
    if (signature.empty()) {
        return std::nullopt;
    }
    CRYPT_DATA_BLOB blob{static_cast<DWORD>(signature.size()), const_cast<BYTE*>(signature.data())};
    DWORD encoding = 0;
    DWORD contentType = 0;
    DWORD formatType = 0;
    HCERTSTORE rawStore = nullptr;
    HCRYPTMSG rawMessage = nullptr;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_BLOB, &blob, CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED,
                          CERT_QUERY_FORMAT_FLAG_BINARY, 0, &encoding, &contentType, &formatType, &rawStore,
                          &rawMessage, nullptr)) {
        return std::nullopt;
    }
    const CertificateStore store(rawStore);
    const CryptMessage message(rawMessage);

    DWORD size = 0;
    if (!CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size) || size == 0) {
        return std::nullopt;
    }
    std::vector<BYTE> signerBytes(size);
    if (!CryptMsgGetParam(message.Get(), CMSG_SIGNER_INFO_PARAM, 0, signerBytes.data(), &size)) {
        return std::nullopt;
    }
    const auto* signer = reinterpret_cast<const CMSG_SIGNER_INFO*>(signerBytes.data());
    CERT_INFO wanted{};
    wanted.Issuer = signer->Issuer;
    wanted.SerialNumber = signer->SerialNumber;
    const Certificate certificate(
        CertFindCertificateInStore(store.Get(), encoding, 0, CERT_FIND_SUBJECT_CERT, &wanted, nullptr));
    if (!certificate) {
        return std::nullopt;
    }

    // The key as it stands in the certificate, DER-encoded: what a pin hashes.
    DWORD length = 0;
    CERT_PUBLIC_KEY_INFO* key = &certificate.Get()->pCertInfo->SubjectPublicKeyInfo;
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

}  // namespace

SignatureFindings AuthenticodeCheck::Inspect(const HeldFile& file)
{
    SignatureFindings findings;
    findings.trust = VerifyTrust(file);
    if (const auto bytes = ReadAllThrough(reinterpret_cast<HANDLE>(file.handle))) {
        const CertificateTable table = ReadCertificateTable(*bytes);
        findings.signerKey = SignerKeyHash(table.firstSignature);
        findings.onlySignatures = table.onlySignatures;
    }
    return findings;
}

}  // namespace qv
