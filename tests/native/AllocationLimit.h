#pragma once
// Runs the program out of memory on purpose: while a limit lives, the
// allocation that passes its budget fails with std::bad_alloc, once, as an
// exhausted heap would; later ones succeed, as the heap does once the
// failed work has given its memory back.

#include <cstddef>

namespace qv::test {

class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t budget);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    bool Failed() const;
};

}  // namespace qv::test
