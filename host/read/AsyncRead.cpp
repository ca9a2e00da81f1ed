#include "host/read/AsyncRead.h"

namespace qv {

const ByteSnapshot& ReadValue::Bytes() const
{
    if (const auto* bytes = std::get_if<ByteSnapshot>(&m_content)) {
        return *bytes;
    }
    if (const auto* error = std::get_if<HostError>(&m_content)) {
        throw *error;
    }
    if (std::holds_alternative<OtherType>(m_content)) {
        throw HostError(ErrorNumber::TypeMismatch, u"Typen unverträglich");
    }
    throw HostError(ErrorNumber::ObjectMissing, u"Der Wert fehlt");
}

}  // namespace qv
