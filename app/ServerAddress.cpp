#include "ServerAddress.h"

#ifndef QUORVELINDE_SERVER
#error "QUORVELINDE_SERVER names the distribution server's host, for example -DQUORVELINDE_SERVER=\"updates.example.com\""
#endif

namespace qv {

Text DistributionServer()
{
    return u"" QUORVELINDE_SERVER;
}

}  // namespace qv
