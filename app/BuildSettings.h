#pragma once
// What the program is built with: the launcher reads no command line,
// environment, registry or configuration file.

#include "host/base/Text.h"

namespace qv {

// The distribution web server: a host, optionally with ":port", or either
// with "http://" or "https://" before it; empty in a launcher that is to be
// stamped with the support desk's server.
Text DistributionServer();

// The pinned signing keys, SHA-256 hashes of SubjectPublicKeyInfo separated
// by commas; empty when downloads are not checked for a signature.
Text SignerPinList();

}  // namespace qv
