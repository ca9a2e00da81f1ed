#include "host/store/PropertyStore.h"

namespace qv {

HostError StoredValueError(std::int32_t number, const Text& key, const Text& problem)
{
    return HostError(number, u"Eigenschaft \u201E" + key + u"\u201C: " + problem);
}

HostError StoredValueError(const HostError& error, const Text& key)
{
    return HostError(error.Number(), u"Eigenschaft \u201E" + key + u"\u201C: " + error.Description(), error.Origin());
}

}  // namespace qv
