#pragma once

#include "host/files/FileInput.h"

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

}  // namespace qv
