#pragma once
// Where the parts of a Windows program file (PE) lie, as its own headers say:
// the headers, each section's raw data, the certificate table and the COFF
// symbols. A download cut short, or a file cut off on disk, still begins like
// a program and may still carry its version block; only these say whether
// all of it is there.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

// Bytes that can be read at any offset: a file through its handle, or bytes in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Fills `into` with the bytes from `at` on; false when they cannot all be read.
    virtual bool Read(std::uint64_t at, std::span<std::uint8_t> into) const = 0;
};

class BytesInMemory final : public ByteSource {
public:
    explicit BytesInMemory(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::uint64_t Size() const override { return m_bytes.size(); }
    bool Read(std::uint64_t at, std::span<std::uint8_t> into) const override;

private:
    std::span<const std::uint8_t> m_bytes;
};

struct FileRange {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint64_t End() const noexcept { return offset + size; }
};

struct ProgramLayout {
    // From the start of the file to the end of the section table, or to
    // SizeOfHeaders where that is further.
    FileRange headers;
    // The raw data of each section that has any.
    std::vector<FileRange> sections;
    // Empty (size 0) when the program carries no signature.
    FileRange certificateTable;
    // The COFF symbol table with its string table; empty without one.
    FileRange symbols;
};

// Nothing when the bytes do not begin as a program: an "MZ" header whose
// e_lfanew points at "PE\0\0", a file header and an optional header of a
// 32-bit or 64-bit program. The ranges may lie beyond the end of the file.
std::optional<ProgramLayout> ReadProgramLayout(const ByteSource& file);

enum class ProgramShape {
    // Not a Windows program at all, such as an error page.
    NotAProgram,
    // Begins as one, but a part its headers name lies beyond the end, or the
    // certificate table does not end the file: cut off.
    Incomplete,
    Whole,
};

ProgramShape ShapeOfProgram(const ByteSource& file);

}  // namespace qv
