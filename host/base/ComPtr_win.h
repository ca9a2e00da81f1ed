#pragma once
// Owns one reference to a COM interface.

#include <unknwn.h>

#include <utility>

namespace qv {

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes a reference of its own.
    explicit ComPtr(T* p) noexcept : m_p(p)
    {
        if (m_p) {
            m_p->AddRef();
        }
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.m_p) {}
    ComPtr(ComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ComPtr() { Reset(); }

    // Adopts a reference that a factory already counted.
    static ComPtr Adopt(T* p) noexcept
    {
        ComPtr result;
        result.m_p = p;
        return result;
    }

    void Reset() noexcept
    {
        if (T* p = std::exchange(m_p, nullptr)) {
            p->Release();
        }
    }

    // For out-parameters; drops the current reference first.
    T** Put() noexcept
    {
        Reset();
        return &m_p;
    }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

}  // namespace qv
