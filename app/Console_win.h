#pragma once
// What the support desk's command says: every line to standard output, so
// that the last line is the last thing said.

#include "host/base/Text.h"

namespace qv {

// To a console as its own wide text, which shows every letter whatever its
// code page; to a file or a pipe as UTF-8.
void Say(const Text& line);

}  // namespace qv
