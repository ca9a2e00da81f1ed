#include "host/files/FileVersion.h"

namespace qv {

Text FileVersionText(FileVersionCalls& calls, const Text& fileName)
{
    std::uint32_t error = 0;
    if (const auto version = calls.QueryFixedVersion(fileName, error)) {
        const FixedFileVersion& parts = *version;
        return DecimalText(parts[0]) + u"." + DecimalText(parts[1]) + u"." + DecimalText(parts[2]) + u"." +
               DecimalText(parts[3]);
    }
    // The cause decides, not the code: platforms name a damaged program in many ways.
    if (error != 0) {
        if (const std::uint32_t unreadable = calls.ProbeRead(fileName)) {
            throw calls.ErrorFor(unreadable, u"Die Version von " + fileName + u" kann nicht gelesen werden");
        }
    }
    return u"";
}

}  // namespace qv
