#pragma once
// COM for the UI thread: a single-threaded apartment, so that the read
// service's notifications come through this thread's message loop.

namespace qv {

class ComApartment {
public:
    ComApartment();  // throws HostError
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace qv
