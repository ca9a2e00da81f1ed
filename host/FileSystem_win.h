#pragma once

#include "FileSystem.h"

namespace qv {

// File queries through the file system and version.dll.
class WindowsFileSystem final : public FileSystem {
public:
    bool FileExists(const Text& fileName) override;
    Text GetFileVersion(const Text& fileName) override;
};

}  // namespace qv
