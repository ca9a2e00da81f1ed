#pragma once
// The container's per-instance property store: typed values under text keys.

#include "host/base/HostError.h"
#include "host/store/Variant.h"

#include <cstdint>

namespace qv {

class PropertyStore {
public:
    virtual ~PropertyStore() = default;

    // The stored value, or `defaultValue` when the key is absent. Throws
    // HostError, naming the key, when the stored value cannot be read.
    virtual Variant ReadProperty(const Text& key, const Variant& defaultValue) = 0;
    // `defaultValue` is the one reading uses; a store may leave out a value
    // equal to it.
    virtual void WriteProperty(const Text& key, const Variant& value, const Variant& defaultValue) = 0;
};

// The error for a stored value that cannot be used: it names the key, so
// that a person can find the value in the store.
HostError StoredValueError(std::int32_t number, const Text& key, const Text& problem);
// The same for an error met while a stored value was turned into its object; its number keeps its origin.
HostError StoredValueError(const HostError& error, const Text& key);

}  // namespace qv
