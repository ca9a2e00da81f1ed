#include "ButtonMnemonic.h"

namespace qv {

Text CaptionAsRead(const Text& caption)
{
    Text read;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            ++i;
        } else if (caption[i] == u'&') {
            continue;
        }
        read += caption[i];
    }
    return read;
}

std::optional<char16_t> MnemonicOf(const Text& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') {
            continue;
        }
        const char16_t next = caption[i + 1];
        if (next == u'&') {
            ++i;
            continue;
        }
        const bool lower = (next >= u'a' && next <= u'z') || (next >= 0xE0 && next <= 0xFE && next != 0xF7);
        return lower ? static_cast<char16_t>(next - 0x20) : next;
    }
    return std::nullopt;
}

}  // namespace qv
