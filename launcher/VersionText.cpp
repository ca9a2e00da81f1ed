#include "VersionText.h"

#include <algorithm>
#include <cstdio>

namespace qv {
namespace {

bool IsWhiteSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

void AppendEscaped(Text& out, std::uint32_t c)
{
    switch (c) {
    case '\r':
        out += u"\\r";
        return;
    case '\n':
        out += u"\\n";
        return;
    case '\t':
        out += u"\\t";
        return;
    case '"':
        out += u"\\\"";
        return;
    case '\\':
        out += u"\\\\";
        return;
    default:
        break;
    }
    if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char16_t>(c);
        return;
    }
    char escaped[12];
    std::snprintf(escaped, sizeof escaped, c <= 0xFF ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c));
    out += TextFromAscii(escaped);
}

}  // namespace

Text AnnouncedVersion(const std::vector<std::uint8_t>& bytes, LauncherServices& platform)
{
    const bool byteOrderMark = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
    Text text = platform.TextFromAnsiBytes(byteOrderMark ? std::vector<std::uint8_t>(bytes.begin() + 3, bytes.end())
                                                         : bytes);
    while (!text.empty() && IsWhiteSpace(text.back())) {
        text.pop_back();
    }
    return text;
}

namespace {

template <typename Units>
Text Quoted(const Units& units)
{
    Text out = u"\"";
    const std::size_t shown = std::min(units.size(), MostLoggedUnits);
    for (std::size_t i = 0; i < shown; ++i) {
        AppendEscaped(out, units[i]);
    }
    return out + (shown < units.size() ? u"\"..." : u"\"");
}

}  // namespace

Text EscapedBytes(const std::vector<std::uint8_t>& bytes)
{
    return Quoted(bytes);
}

Text QuotedForLog(const Text& text)
{
    return Quoted(text);
}

}  // namespace qv
