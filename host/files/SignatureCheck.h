#pragma once
// What a program file's signature says: whether the platform finds it intact
// and who signed it, named by the SHA-256 of the signer's public key.

#include "host/base/Text.h"
#include "host/files/FileOutput.h"

#include <array>
#include <cstdint>
#include <optional>

namespace qv {

using KeyHash = std::array<std::uint8_t, 32>;

struct SignatureFindings {
    // The platform's trust verification: 0 for an intact, trusted signature,
    // else its error code (such as 0x800B0109, a root it does not trust).
    std::uint32_t trust = 0;
    // SHA-256 of the signer certificate's DER SubjectPublicKeyInfo; nothing
    // when the file carries no signature to read it from.
    std::optional<KeyHash> signerKey;
    // The file's certificate table holds its signatures and nothing else.
    // The signatures do not cover the table, so anything more there would
    // ride along with a file that passes as signed.
    bool onlySignatures = false;
};

class SignatureCheck {
public:
    virtual ~SignatureCheck() = default;
    // Reads the file through its held handle; never asks the user anything.
    virtual SignatureFindings Inspect(const HeldFile& file) = 0;
};

}  // namespace qv
