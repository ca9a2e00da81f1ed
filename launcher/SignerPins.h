#pragma once
// The operator's signing keys, pinned when the program is built: a
// downloaded client replaces the local one only when its signature is intact
// and its signer's key is one of them.

#include "host/base/Text.h"
#include "host/files/SignatureCheck.h"

#include <string_view>
#include <vector>

namespace qv {

// The platform's answer for a signature that is intact but for a root it
// does not trust: the pin stands in for the root.
constexpr std::uint32_t UntrustedRoot = 0x800B0109;

// "hash;hash" or "hash,hash": SHA-256 hashes of SubjectPublicKeyInfo, 64
// hexadecimal digits each, in either case. Empty text gives no pins. Throws
// HostError for anything else.
std::vector<KeyHash> ParseSignerPins(std::u16string_view list);

// A key hash as 64 lowercase hexadecimal digits, as pins are written.
Text KeyHashText(const KeyHash& key);

// What the findings say, for a log: the platform's verdict, the signer's key
// and whether the certificate table holds more than signatures.
Text FindingsText(const SignatureFindings& findings);

// Intact (trusted, or trusted but for its root), signed with a pinned key, and
// with nothing but signatures in its certificate table.
bool SignedByPinnedKey(const SignatureFindings& findings, const std::vector<KeyHash>& pins);

}  // namespace qv
