#pragma once

#include "host/base/ByteStore.h"
#include "host/base/Text.h"

#include <functional>

namespace qv {

// Looks at the written bytes where they lie on disk, under a name of their
// own, before they replace the target; false keeps them from replacing it.
using WrittenFileCheck = std::function<bool(const Text& writtenFile)>;

class FileOutput {
public:
    virtual ~FileOutput() = default;

    // Makes `fileName` hold exactly `bytes`, or leaves it as it was: on any
    // failure it throws HostError and no partial file remains. With a check,
    // the bytes replace the file only when the check passes them, and nobody
    // can change them between the check and the replace.
    virtual void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes,
                                  const WrittenFileCheck& check = {}) = 0;
};

}  // namespace qv
