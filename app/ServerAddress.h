#pragma once

#include "host/Text.h"

namespace qv {

// The distribution web server's host, optionally with ":port", fixed when the
// program is built.
Text DistributionServer();

}  // namespace qv
