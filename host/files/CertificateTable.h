#pragma once
// The certificate table of a program file (PE): where its Authenticode
// signatures lie. The signatures do not cover the table itself, so whatever
// else it holds was put there after signing.

#include <cstdint>
#include <span>

namespace qv {

struct CertificateTable {
    // The signature, PKCS #7 SignedData in DER; empty without one.
    std::span<const std::uint8_t> firstSignature;
    // The table holds one signature and nothing else: after its DER encoding
    // at most the zero bytes that pad it to a multiple of 8, and no further
    // entry; no table at all counts too. False for a file that is no program.
    bool onlySignatures = false;
};

CertificateTable ReadCertificateTable(std::span<const std::uint8_t> file);

}  // namespace qv
