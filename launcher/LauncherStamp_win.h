#pragma once
// The stamp in a launcher's executable: read by the running launcher, and
// read and written by the support desk's command in a launcher file.

#include "LauncherStamp.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace qv {

// The stamp `module` carries, as bytes; nothing when it carries none.
std::optional<std::vector<std::uint8_t>> StampOfModule(HMODULE module);

// The same of a launcher file, which is only read. Throws HostError when it
// cannot be read as a program.
std::optional<std::vector<std::uint8_t>> StampOfFile(const Text& launcher);

// Writes `copy`, a copy of `launcher` that carries `settings` in place of any
// stamp it had; `launcher` itself stays as it is. The copy is written beside
// its place and takes it only once its stamp reads back as given. Throws
// HostError: for settings a launcher would refuse, for a file that is not a
// whole Quorvelinde launcher, and when the copy cannot be written.
void StampLauncherFile(const Text& launcher, const Text& copy, const LauncherSettings& settings);

}  // namespace qv
