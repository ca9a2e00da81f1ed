#include "FileSystem_win.h"

#include "Win32Error_win.h"
#include "WideText_win.h"

#include <windows.h>

#include <vector>

namespace qv {
namespace {

// The answers for a file that carries no version resource or is no program at all.
bool MeansNoVersionInformation(DWORD error)
{
    switch (error) {
    case ERROR_RESOURCE_DATA_NOT_FOUND:
    case ERROR_RESOURCE_TYPE_NOT_FOUND:
    case ERROR_RESOURCE_NAME_NOT_FOUND:
    case ERROR_RESOURCE_LANG_NOT_FOUND:
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT:
    case ERROR_INVALID_DATA:
        return true;
    default:
        return false;
    }
}

// After a failed version query: empty text when the file simply has no
// version information, an error when it could not be read.
Text NoVersionOrThrow(DWORD error, const Text& fileName)
{
    if (MeansNoVersionInformation(error)) {
        return u"";
    }
    throw ErrorFromWin32(error, u"Die Version von " + fileName + u" kann nicht gelesen werden");
}

Text VersionPart(DWORD word) { return DecimalText(word & 0xFFFF); }

}  // namespace

bool WindowsFileSystem::FileExists(const Text& fileName)
{
    const DWORD attributes = GetFileAttributesW(Wide(fileName));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Text WindowsFileSystem::GetFileVersion(const Text& fileName)
{
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(Wide(fileName), &unused);
    if (size == 0) {
        return NoVersionOrThrow(GetLastError(), fileName);
    }
    std::vector<unsigned char> block(size);
    if (!GetFileVersionInfoW(Wide(fileName), 0, size, block.data())) {
        return NoVersionOrThrow(GetLastError(), fileName);
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof *fixed || fixed->dwSignature != VS_FFI_SIGNATURE) {
        return u"";
    }
    return VersionPart(fixed->dwFileVersionMS >> 16) + u"." + VersionPart(fixed->dwFileVersionMS) + u"." +
           VersionPart(fixed->dwFileVersionLS >> 16) + u"." + VersionPart(fixed->dwFileVersionLS);
}

}  // namespace qv
