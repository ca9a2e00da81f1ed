#pragma once

#include "ByteStore.h"
#include "Text.h"

namespace qv {

class FileOutput {
public:
    virtual ~FileOutput() = default;

    // Makes `fileName` hold exactly `bytes`, or leaves it as it was: on any
    // failure it throws HostError and no partial file remains.
    virtual void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes) = 0;
};

}  // namespace qv
