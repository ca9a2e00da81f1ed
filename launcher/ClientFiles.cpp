#include "ClientFiles.h"

namespace qv {

Text ClientInFolder(const Text& programFolder)
{
    return programFolder + ClientFileName;
}

Text ClientSaveName(const Text& programPath)
{
    return programPath + u"\\" + ClientFileName;
}

}  // namespace qv
