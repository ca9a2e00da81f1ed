#pragma once

#include "host/base/Text.h"
#include "host/files/ProgramLayout.h"

namespace qv {

// The file queries the launcher makes about its client.
class FileQueries {
public:
    virtual ~FileQueries() = default;

    // True for an existing file, false for a folder or nothing at that name.
    virtual bool FileExists(const Text& fileName) = 0;

    // The four parts of the fixed file version as decimal numbers joined by
    // "." (such as "5.2.0.14"), or empty text for a file without version
    // information. Throws HostError when the file cannot be read at all.
    virtual Text GetFileVersion(const Text& fileName) = 0;

    // Whether the file holds a whole program, as its headers describe it.
    // Throws HostError when the file cannot be read.
    virtual ProgramShape ShapeOfProgramFile(const Text& fileName) = 0;
};

}  // namespace qv
