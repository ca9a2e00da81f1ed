#pragma once

#include "host/files/SignatureCheck.h"

namespace qv {

// Authenticode through WinVerifyTrust (no user interface, no revocation
// check: users may be offline) and the signer's certificate through
// CryptQueryObject.
class AuthenticodeCheck final : public SignatureCheck {
public:
    SignatureFindings Inspect(const Text& fileName) override;
};

}  // namespace qv
