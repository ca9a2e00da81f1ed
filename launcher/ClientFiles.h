#pragma once
// Where the client lives: on the distribution server, and beside the launcher.

#include "host/base/Text.h"

namespace qv {

inline constexpr char16_t ClientFileName[] = u"tamorix.exe";
// On the server: a folder with the client and the text that announces its version.
inline constexpr char16_t ServerFolderName[] = u"tamorix";
inline constexpr char16_t VersionTextFileName[] = u"tamorixversion.txt";

// A file of the server's folder below the server's base address ("/tamorix/tamorix.exe").
Text ServerPath(const Text& fileName);

// The client the launcher looks at and starts: in the program folder, which
// ends with its separator.
Text ClientInFolder(const Text& programFolder);

// Where a downloaded client is saved: the program path, a separator and the
// name. In a drive root that gives "E:\\tamorix.exe", a name the platform reads
// as the same file as ClientInFolder's "E:\tamorix.exe"; saving and starting
// meet at one file either way.
Text ClientSaveName(const Text& programPath);

}  // namespace qv
