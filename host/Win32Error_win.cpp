#include "Win32Error_win.h"

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

}  // namespace

HostError ErrorFromWin32(DWORD code, const Text& what)
{
    Text description = what + u" (Fehler " + DecimalText(code);
    const Text system = SystemMessage(code);
    if (!system.empty()) {
        description += u": " + system;
    }
    description += u")";
    return HostError(static_cast<std::int32_t>(code), description);
}

HostError ErrorFromLastError(const Text& what)
{
    return ErrorFromWin32(GetLastError(), what);
}

HostError ErrorFromHresult(HRESULT hr, const Text& what)
{
    Text description = what + u" (" + Hex(static_cast<DWORD>(hr));
    const Text system = SystemMessage(static_cast<DWORD>(hr));
    if (!system.empty()) {
        description += u": " + system;
    }
    description += u")";
    return HostError(static_cast<std::int32_t>(hr), description);
}

}  // namespace qv
