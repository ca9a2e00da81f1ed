#pragma once

#include "host/files/FileOutput.h"

namespace qv {

// Writes a temporary file beside the target, flushes it and then replaces the
// target in one step, so a failed write never costs the file that was there.
class WindowsFileOutput final : public FileOutput {
public:
    void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check = {}) override;
    void Remove(const Text& fileName) override;
};

}  // namespace qv
