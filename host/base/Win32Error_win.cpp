#include "host/base/Win32Error_win.h"

#include <cstdio>

namespace qv {
namespace {

Text SystemMessage(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    Text message;
    if (length > 0 && buffer) {
        message.assign(reinterpret_cast<const char16_t*>(buffer), length);
        while (!message.empty() && (message.back() == u'\n' || message.back() == u'\r' || message.back() == u' ' || message.back() == u'.')) {
            message.pop_back();
        }
    }
    LocalFree(buffer);
    return message;
}

Text Hex(DWORD value)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "0x%08lX", static_cast<unsigned long>(value));
    return TextFromAscii(digits);
}

// "<what> (<label>: <system text>)", the system text left out when there is none.
HostError WithSystemMessage(const Text& what, const Text& label, DWORD code, ErrorOrigin origin)
{
    Text description = what + u" (" + label;
    const Text system = SystemMessage(code);
    if (!system.empty()) {
        description += u": " + system;
    }
    description += u")";
    return HostError(static_cast<std::int32_t>(code), description, origin);
}

}  // namespace

HostError ErrorFromWin32(DWORD code, const Text& what)
{
    return WithSystemMessage(what, u"Fehler " + DecimalText(code), code, ErrorOrigin::SystemCode);
}

HostError ErrorFromLastError(const Text& what)
{
    const DWORD code = GetLastError();
    if (code == ERROR_SUCCESS) {
        return HostError(ErrorNumber::Internal, what + u" (ohne Fehlercode des Systems)");
    }
    return ErrorFromWin32(code, what);
}

HostError ErrorFromGdiFailure(const Text& what)
{
    const DWORD code = GetLastError();
    const Text system = code == ERROR_SUCCESS ? Text() : SystemMessage(code);
    return HostError(ErrorNumber::OutOfMemory, what + u" (Nicht genügend Speicher oder Grafikobjekte" +
                                                   (system.empty() ? Text() : u": " + system) + u")");
}

HostError ErrorFromHresult(HRESULT hr, const Text& what)
{
    return WithSystemMessage(what, Hex(static_cast<DWORD>(hr)), static_cast<DWORD>(hr), ErrorOrigin::SystemResult);
}

}  // namespace qv
