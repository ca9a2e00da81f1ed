#pragma once

#include "host/files/SignatureCheck.h"

namespace qv {

// Authenticode through WinVerifyTrust (no user interface, no revocation
// check: users may be offline), reading the file through its handle; the
// signer's certificate from the file's own certificate table, read through
// the same handle.
class AuthenticodeCheck final : public SignatureCheck {
public:
    SignatureFindings Inspect(const HeldFile& file) override;
};

}  // namespace qv
