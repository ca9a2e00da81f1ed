#pragma once
// The mnemonic of a caption, the letter after its '&' that Alt presses, as
// the dialog manager finds it: "&&" is a plain '&'.

#include "host/base/Text.h"

#include <optional>

namespace qv {

// The caption as it reads: "&Speichern" is "Speichern", "A && B" is "A & B".
Text CaptionAsRead(const Text& caption);

// The letter after the first single '&', upper-cased where it is a letter
// of ASCII or Latin-1; nothing without one.
std::optional<char16_t> MnemonicOf(const Text& caption);

}  // namespace qv
