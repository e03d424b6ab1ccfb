#pragma once

#include <string>
#include <string_view>

namespace qv {

// An item's text as it is shown: without its "&" marks, with the index of the letter to
// underline (-1 for none). "&&" shows one ampersand; the first marked letter is the mnemonic.
struct MenuLabel {
    std::u16string text;
    int mnemonic = -1;
};

MenuLabel ParseMenuLabel(std::u16string_view text);

// Whether the typed character is the label's mnemonic, Latin and Cyrillic letters matching in
// either case.
bool MatchesMnemonic(const MenuLabel& label, char16_t typed);

}  // namespace qv
