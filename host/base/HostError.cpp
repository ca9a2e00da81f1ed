#include "host/base/HostError.h"

#include <new>

namespace qv {

HostError::HostError(std::int32_t number, Text description, ErrorOrigin origin)
    : m_number(number), m_origin(origin), m_description(std::move(description)),
      m_what(std::to_string(number) + ": " + Utf8FromText(m_description))
{
}

HostError OverflowError()
{
    return HostError(ErrorNumber::Overflow, u"Overflow");
}

HostError CurrentErrorAsHostError()
{
    try {
        throw;
    } catch (const HostError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return HostError(ErrorNumber::OutOfMemory, u"Nicht genügend Speicher");
    } catch (const std::exception& error) {
        return HostError(ErrorNumber::Internal, u"Interner Fehler: " + TextFromUtf8(error.what()));
    } catch (...) {
        return HostError(ErrorNumber::Internal, u"Interner Fehler");
    }
}

}  // namespace qv
