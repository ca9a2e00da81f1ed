#include "BuildSettings.h"

#ifndef QUORVELINDE_SERVER
#error "QUORVELINDE_SERVER names the distribution server, for example -DQUORVELINDE_SERVER=\"updates.example.com\""
#endif
#ifndef QUORVELINDE_SIGNER_PINS
#define QUORVELINDE_SIGNER_PINS ""
#endif

namespace qv {

Text DistributionServer()
{
    return u"" QUORVELINDE_SERVER;
}

Text SignerPinList()
{
    return u"" QUORVELINDE_SIGNER_PINS;
}

}  // namespace qv
