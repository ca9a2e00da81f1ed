#pragma once

#include "host/files/RunLog.h"

#include <cstdint>

namespace qv {

// The run log as a UTF-8 text file, one line a step: the local time, the
// process id in brackets, the step. Each line is appended on its own, so
// that several runs at once share the file. A file that has grown beyond
// `mostBytes` when a run begins is kept as "<name>.1", replacing the one
// before, and a new file begins.
class RunLogFile final : public RunLog {
public:
    static constexpr std::uint64_t DefaultMostBytes = 1024 * 1024;

    explicit RunLogFile(Text path, std::uint64_t mostBytes = DefaultMostBytes);
    // %LOCALAPPDATA%\Quorvelinde\Quorvelinde.log, as the system names the
    // user's local application data; empty when it cannot tell.
    static Text DefaultPath();

    void Record(const Text& line) noexcept override;
    const Text& Path() const noexcept { return m_path; }

private:
    Text m_path;
};

}  // namespace qv
