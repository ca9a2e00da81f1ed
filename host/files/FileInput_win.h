#pragma once

#include "host/files/FileInput.h"

namespace qv {

class WindowsFileInput final : public FileInput {
public:
    std::vector<std::uint8_t> ReadAllBytes(const Text& fileName, std::size_t mostBytes) override;
};

}  // namespace qv
