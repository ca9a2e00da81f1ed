#pragma once

#include "host/files/FileInput.h"
#include "host/files/ProgramLayout.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace qv {

class WindowsFileInput final : public FileInput {
public:
    std::vector<std::uint8_t> ReadAllBytes(const Text& fileName, std::size_t mostBytes) override;
};

// The whole file through an open handle, from its start whatever the
// handle's position; nothing when it cannot be read or holds more than 1 GiB.
std::optional<std::vector<std::uint8_t>> ReadAllThrough(HANDLE file);

// A file's bytes at any offset, through a handle that stays its owner's.
class FileBytes final : public ByteSource {
public:
    explicit FileBytes(HANDLE file) : m_file(file) {}
    std::uint64_t Size() const override;
    bool Read(std::uint64_t at, std::span<std::uint8_t> into) const override;

private:
    HANDLE m_file;
};

}  // namespace qv
