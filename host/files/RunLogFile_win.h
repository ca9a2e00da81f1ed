#pragma once

#include "host/files/OwnedFile_win.h"
#include "host/files/RunLog.h"

#include <cstdint>

namespace qv {

// The run log as a UTF-8 text file, one line a step: the local time, the
// process id in brackets, the step. Each line is appended on its own, the
// runs taking turns, so that several runs at once share the file. A file that has grown beyond
// `mostBytes` when a run begins is kept as "<name>.1", replacing the one
// before, and a new file begins; one that cannot be renamed, because another
// program holds it, begins anew empty.
class RunLogFile final : public RunLog {
public:
    static constexpr std::uint64_t DefaultMostBytes = 1024 * 1024;

    explicit RunLogFile(Text path, std::uint64_t mostBytes = DefaultMostBytes);
    // %LOCALAPPDATA%\Quorvelinde\Quorvelinde.log, as the system names the
    // user's local application data; empty when it cannot tell.
    static Text DefaultPath();

    const Text& Path() const noexcept { return m_path; }

    // The log at `path` opened as a run begins, to be measured and rotated
    // through this one handle; null when there is none.
    static OwnedFile OpenForRotation(const Text& path);
    // Rotates the file `log` holds when it is larger than `mostBytes`: two
    // runs that opened the same file rotate it once, whatever its name is by
    // the time they get to it.
    static void RotateIfLarger(const OwnedFile& log, const Text& path, std::uint64_t mostBytes);

protected:
    void Write(const Text& line) override;

private:
    Text m_path;
};

}  // namespace qv
