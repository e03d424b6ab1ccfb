#include "platform/controls/menu_label.h"

namespace qv {

namespace {

// Capitals of the Latin and Cyrillic alphabets (Ё and the other letters before А included) to
// small letters; everything else stays.
char16_t SmallLetter(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я')) {
        return static_cast<char16_t>(c + 0x20);
    }
    if (c >= u'Ѐ' && c <= u'Џ') {
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

}  // namespace

MenuLabel ParseMenuLabel(std::u16string_view text) {
    MenuLabel label;
    label.text.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            label.text += text[i];
            continue;
        }
        if (++i == text.size()) {
            break;
        }
        if (text[i] != u'&' && label.mnemonic < 0) {
            label.mnemonic = static_cast<int>(label.text.size());
        }
        label.text += text[i];
    }
    return label;
}

bool MatchesMnemonic(const MenuLabel& label, char16_t typed) {
    return label.mnemonic >= 0 &&
           SmallLetter(label.text[static_cast<std::size_t>(label.mnemonic)]) == SmallLetter(typed);
}

}  // namespace qv
