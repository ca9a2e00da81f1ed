#include "host/read/HttpHeaders.h"

namespace qv {
namespace {

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool SameAsciiName(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

std::u16string_view Trimmed(std::u16string_view text)
{
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

std::optional<std::u16string_view> HeaderValue(std::u16string_view headers, std::u16string_view name)
{
    while (!headers.empty()) {
        const std::size_t end = headers.find(u'\n');
        const std::u16string_view line = headers.substr(0, end);
        headers = end == std::u16string_view::npos ? std::u16string_view() : headers.substr(end + 1);
        const std::size_t colon = line.find(u':');
        if (colon != std::u16string_view::npos && SameAsciiName(line.substr(0, colon), name)) {
            return Trimmed(line.substr(colon + 1));
        }
    }
    return std::nullopt;
}

std::optional<std::uint64_t> ContentLengthFromHeaders(std::u16string_view headers)
{
    const std::optional<std::u16string_view> text = HeaderValue(headers, u"Content-Length");
    if (!text || text->empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char16_t c : *text) {
        if (c < u'0' || c > u'9' || value > (UINT64_MAX - 9) / 10) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    return value;
}

Text RequestHeadersFor(bool fresh, const Text& extra)
{
    // Pragma for the HTTP/1.0 caches that do not read Cache-Control.
    return fresh ? u"Cache-Control: no-cache\r\nPragma: no-cache\r\n" + extra : extra;
}

Text HttpStatusText(std::uint32_t status, std::u16string_view responseHeaders)
{
    Text text = u"HTTP " + DecimalText(status);
    if (status == 407) {
        text += u": der Proxy verlangt eine Anmeldung";
        if (const auto demand = HeaderValue(responseHeaders, u"Proxy-Authenticate")) {
            text += u" (" + Text(demand->substr(0, 100)) + u")";
        }
        if (const auto proxy = HeaderValue(responseHeaders, u"Server")) {
            text += u", Proxy " + Text(proxy->substr(0, 100));
        }
    }
    return text;
}

}  // namespace qv
