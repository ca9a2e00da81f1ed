#pragma once
// Renaming a file through the handle that holds it open: the file that moves
// is the file that was opened, whatever its name meanwhile.

#include "host/base/Text.h"

#include <windows.h>

namespace qv {

// The full path of `fileName` as the platform resolves it; throws HostError.
Text FullPathOf(const Text& fileName);

// Gives the open file (opened with DELETE access) the name `target`,
// replacing a file of that name; drive paths, shares and "\\?\" names alike.
// Throws HostError.
void RenameOpenFile(HANDLE file, const Text& target);

}  // namespace qv
