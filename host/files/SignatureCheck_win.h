#pragma once

#include "host/files/SignatureCheck.h"

#include <windows.h>
#include <wincrypt.h>

#include <optional>

namespace qv {

// Authenticode through WinVerifyTrust (no user interface, no revocation
// check: users may be offline), reading the file through its handle; the
// signer's key from the certificate that verification used, and the
// certificate table read through the same handle.
class AuthenticodeCheck final : public SignatureCheck {
public:
    SignatureFindings Inspect(const HeldFile& file) override;
};

// SHA-256 of the certificate's DER SubjectPublicKeyInfo, as pins are made;
// nothing when it cannot be encoded.
std::optional<KeyHash> KeyHashOfCertificate(PCCERT_CONTEXT certificate);

}  // namespace qv
