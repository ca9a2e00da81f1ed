#include "ClientFiles.h"

namespace qv {

Text ServerPath(const Text& fileName)
{
    Text path = u"/";
    path += ServerFolderName;
    path += u'/';
    return path + fileName;
}

Text ClientInFolder(const Text& programFolder)
{
    return programFolder + ClientFileName;
}

Text ClientSaveName(const Text& programPath)
{
    return programPath + u"\\" + ClientFileName;
}

}  // namespace qv
