#pragma once

#include "host/base/Text.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

class FileInput {
public:
    virtual ~FileInput() = default;
    // The whole file. Throws HostError when it cannot be read, and 321 for a
    // file larger than `mostBytes`, which is then not read.
    virtual std::vector<std::uint8_t> ReadAllBytes(const Text& fileName, std::size_t mostBytes) = 0;
};

}  // namespace qv
