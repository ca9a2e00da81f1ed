#include "host/base/ResourceData_win.h"

#include "host/base/Win32Error_win.h"

namespace qv {

std::span<const std::uint8_t> RawResource(HMODULE module, int id)
{
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) {
        throw ErrorFromLastError(u"Daten fehlen im Programm (Ressource " + DecimalText(id) + u")");
    }
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

}  // namespace qv
