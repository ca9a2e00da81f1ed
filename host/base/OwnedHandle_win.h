#pragma once

#include <cstdint>
#include <utility>

namespace qv {

// Owns one handle of the platform and gives it back with `Release`
// (DeleteObject, DestroyIcon, CloseHandle ...) when it goes. `Invalid` is the
// value that stands for no handle: null for most kinds, -1 for files.
template <typename Handle, auto Release, std::intptr_t Invalid = 0>
class OwnedHandle {
public:
    OwnedHandle() noexcept = default;
    explicit OwnedHandle(Handle handle) noexcept : m_handle(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, None())) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, None()));
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { Reset(); }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != None(); }

    void Reset(Handle handle = None()) noexcept
    {
        if (m_handle != None()) {
            Release(m_handle);
        }
        m_handle = handle;
    }

private:
    static Handle None() noexcept { return reinterpret_cast<Handle>(Invalid); }

    Handle m_handle = None();
};

}  // namespace qv
