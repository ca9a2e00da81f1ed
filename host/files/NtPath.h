#pragma once
// Names in the form the platform's native calls take them.

#include "host/base/Text.h"

namespace qv {

// The NT name of a full path: "C:\dir\file" is "\??\C:\dir\file", a share's
// "\\server\share\file" is "\??\UNC\server\share\file", and names that
// already bypass the path rules ("\\?\C:\...", "\\?\UNC\...", "\\.\C:\...",
// "\??\...") keep what follows their prefix.
Text NtPathOf(const Text& fullPath);

}  // namespace qv
