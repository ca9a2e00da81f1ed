#pragma once

#include "host/base/Text.h"

#include <cstdint>
#include <vector>

namespace qv {

class FileInput {
public:
    virtual ~FileInput() = default;
    // The whole file. Throws HostError when it cannot be read.
    virtual std::vector<std::uint8_t> ReadAllBytes(const Text& fileName) = 0;
};

}  // namespace qv
