#include "SignerPins.h"

#include "host/base/HostError.h"

#include <algorithm>
#include <cstdio>

namespace qv {
namespace {

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

KeyHash ParsePin(std::u16string_view text)
{
    KeyHash pin{};
    if (text.size() != pin.size() * 2) {
        throw HostError(ErrorNumber::InvalidPropertyValue,
                        u"Ungültiger Schlüssel-Pin \u201E" + Shortened(text, 70) + u"\u201C: 64 Hexadezimalziffern erwartet");
    }
    for (std::size_t i = 0; i < pin.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            throw HostError(ErrorNumber::InvalidPropertyValue,
                            u"Ungültiger Schlüssel-Pin \u201E" + Shortened(text, 70) + u"\u201C: nur 0-9 und a-f erlaubt");
        }
        pin[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return pin;
}

}  // namespace

Text KeyHashText(const KeyHash& key)
{
    static constexpr char16_t Digits[] = u"0123456789abcdef";
    Text text;
    for (const std::uint8_t byte : key) {
        text += Digits[byte >> 4];
        text += Digits[byte & 0xF];
    }
    return text;
}

Text FindingsText(const SignatureFindings& findings)
{
    char trust[16];
    std::snprintf(trust, sizeof trust, "0x%08X", static_cast<unsigned>(findings.trust));
    return u"Prüfung " + TextFromAscii(trust) + u", Schlüssel " +
           (findings.signerKey ? u"SHA-256 " + KeyHashText(*findings.signerKey) : Text(u"keiner")) +
           (findings.onlySignatures ? u"" : u", weitere Daten bei der Signatur");
}

std::vector<KeyHash> ParseSignerPins(std::u16string_view list)
{
    std::vector<KeyHash> pins;
    while (!list.empty()) {
        const std::size_t end = std::min(list.find_first_of(u";,"), list.size());
        pins.push_back(ParsePin(list.substr(0, end)));
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return pins;
}

bool SignedByPinnedKey(const SignatureFindings& findings, const std::vector<KeyHash>& pins)
{
    const bool intact = (findings.trust == 0 || findings.trust == UntrustedRoot) && findings.onlySignatures;
    return intact && findings.signerKey &&
           std::find(pins.begin(), pins.end(), *findings.signerKey) != pins.end();
}

}  // namespace qv
