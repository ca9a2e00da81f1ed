#include "host/files/OpenFileRename_win.h"

#include "host/base/WideText_win.h"
#include "host/base/Win32Error_win.h"
#include "host/files/NtPath.h"

#include <cstddef>
#include <cstring>
#include <vector>

namespace qv {

Text FullPathOf(const Text& fileName)
{
    const DWORD needed = GetFullPathNameW(Wide(fileName), 0, nullptr, nullptr);
    if (needed == 0) {
        throw ErrorFromLastError(u"Ungültiger Dateiname");
    }
    Text full(needed, u'\0');
    const DWORD length = GetFullPathNameW(Wide(fileName), needed, reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= needed) {
        throw ErrorFromLastError(u"Ungültiger Dateiname");
    }
    full.resize(length);
    return full;
}

void RenameOpenFile(HANDLE file, const Text& target)
{
    // An NT name, which the call takes as it is on every version of the platform.
    const Text name = NtPathOf(FullPathOf(target));
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, name.data(), nameBytes);
    if (!SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
        throw ErrorFromLastError(u"Datei kann nicht ersetzt werden");
    }
}

}  // namespace qv
