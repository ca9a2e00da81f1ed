#include "AllocationLimit.h"

#include <cstdlib>
#include <new>

namespace qv::test {
namespace {

bool g_armed = false;
bool g_failed = false;
std::size_t g_left = 0;

void* Allocate(std::size_t size)
{
    if (g_armed && !g_failed) {
        if (size > g_left) {
            g_failed = true;
            throw std::bad_alloc();
        }
        g_left -= size;
    }
    if (void* memory = std::malloc(size ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

AllocationLimit::AllocationLimit(std::size_t budget)
{
    g_left = budget;
    g_failed = false;
    g_armed = true;
}

AllocationLimit::~AllocationLimit()
{
    g_armed = false;
}

bool AllocationLimit::Failed() const
{
    return g_failed;
}

}  // namespace qv::test

void* operator new(std::size_t size)
{
    return qv::test::Allocate(size);
}

void* operator new[](std::size_t size)
{
    return qv::test::Allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
