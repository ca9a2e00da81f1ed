#pragma once

#include "host/base/ByteStore.h"
#include "host/base/Text.h"

#include <cstdint>
#include <functional>

namespace qv {

// A written file that its writer holds open from before it is checked until
// it stands in its place: others may read it, but nobody can change, rename
// or delete it meanwhile.
struct HeldFile {
    Text path;
    // The platform's handle of the open file (a Win32 HANDLE), readable.
    // Read through it: the bytes under `path` are these bytes only while the writer holds it.
    std::uintptr_t handle = 0;
};

// Looks at the written bytes where they lie on disk, under a name of their
// own, before they replace the target; false keeps them from replacing it.
using WrittenFileCheck = std::function<bool(const HeldFile& written)>;

class FileOutput {
public:
    virtual ~FileOutput() = default;

    // Makes `fileName` hold exactly `bytes`, or leaves it as it was: on any
    // failure it throws HostError and no partial file remains. With a check,
    // the bytes replace the file only when the check passes them, and the
    // bytes checked are the bytes that end up under `fileName`.
    virtual void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes,
                                  const WrittenFileCheck& check = {}) = 0;
    // Deletes the file; a file that is not there is no failure.
    virtual void Remove(const Text& fileName) = 0;
};

}  // namespace qv
