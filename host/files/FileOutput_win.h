#pragma once

#include "host/files/FileOutput.h"

namespace qv {

// Writes a file beside the target, flushes it and then puts it in the
// target's place in one step, so a failed write never costs the file that was there.
class WindowsFileOutput final : public FileOutput {
public:
    void ReplaceWithBytes(const Text& fileName, const ByteSnapshot& bytes, const WrittenFileCheck& check = {}) override;
    std::unique_ptr<PendingFile> BeginReplace(const Text& fileName) override;
    void MoveReplacing(const Text& from, const Text& to) override;
    void Remove(const Text& fileName) override;
    std::vector<Text> Leftovers(const Text& fileName) override;
    std::unique_ptr<FileLock> TryLock(const Text& fileName) override;
};

}  // namespace qv
