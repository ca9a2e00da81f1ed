#pragma once

#include <utility>

namespace qv {

// Owns one handle of the platform and gives it back with `Release`
// (DeleteObject, DestroyIcon, CryptMsgClose ...) when it goes.
template <typename Handle, auto Release>
class OwnedHandle {
public:
    OwnedHandle() noexcept = default;
    explicit OwnedHandle(Handle handle) noexcept : m_handle(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, nullptr));
        }
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { Reset(); }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != nullptr; }

    void Reset(Handle handle = nullptr) noexcept
    {
        if (m_handle) {
            Release(m_handle);
        }
        m_handle = handle;
    }

private:
    Handle m_handle = nullptr;
};

}  // namespace qv
