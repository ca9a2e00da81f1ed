#include "host/files/FileTrouble.h"

namespace qv {

FileTrouble TroubleOf(const HostError& error) noexcept
{
    if (error.Origin() != ErrorOrigin::SystemCode) {
        return FileTrouble::Other;
    }
    // The system's error codes.
    switch (error.Number()) {
    case 5:     // access denied
    case 19:    // write-protected
    case 6009:  // read-only file
        return FileTrouble::Refused;
    case 32:    // sharing violation
    case 33:    // lock violation
    case 303:   // delete pending
    case 1224:  // a mapped section open
        return FileTrouble::InUse;
    case 39:    // handle disk full
    case 112:   // disk full
    case 1295:  // quota exceeded
        return FileTrouble::DiskFull;
    default:
        return FileTrouble::Other;
    }
}

}  // namespace qv
