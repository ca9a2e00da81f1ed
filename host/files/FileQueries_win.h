#pragma once

#include "host/files/FileQueries.h"
#include "host/files/FileVersion.h"

namespace qv {

// File queries through the file system and version.dll.
class WindowsFileQueries final : public FileQueries, private FileVersionCalls {
public:
    bool FileExists(const Text& fileName) override;
    Text GetFileVersion(const Text& fileName) override;
    ProgramShape ShapeOfProgramFile(const Text& fileName) override;

private:
    std::optional<FixedFileVersion> QueryFixedVersion(const Text& fileName, std::uint32_t& error) override;
    std::uint32_t ProbeRead(const Text& fileName) override;
    HostError ErrorFor(std::uint32_t code, const Text& what) override;
};

}  // namespace qv
