#include "host/store/PropertyStore.h"

namespace qv {

HostError StoredValueError(std::int32_t number, const Text& key, const Text& problem)
{
    return HostError(number, u"Eigenschaft \u201E" + key + u"\u201C: " + problem);
}

}  // namespace qv
