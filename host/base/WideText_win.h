#pragma once
// Text where it meets the platform: program text is UTF-16 like the wide
// calls, so it passes as it is; narrow text goes through the ANSI code page.

#include "host/base/Text.h"

#include <windows.h>

#include <cstdint>
#include <span>

namespace qv {

inline const wchar_t* Wide(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline Text FromWide(const wchar_t* text) { return text ? Text(reinterpret_cast<const char16_t*>(text)) : Text(); }
inline Text FromWide(const wchar_t* text, std::size_t length)
{
    return Text(reinterpret_cast<const char16_t*>(text), length);
}

// Through the system's ANSI code page: every byte counts, NULs included.
// Throws HostError.
Text TextFromAnsi(std::span<const std::uint8_t> bytes);

// A window's text as other programs read it.
Text WindowText(HWND window);

}  // namespace qv
