#include "text/letter_case.h"

namespace qv {

char16_t UpperCodeUnit(char16_t unit) {
    if ((unit >= u'a' && unit <= u'z') || (unit >= u'а' && unit <= u'я') ||
        (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7)) {
        return static_cast<char16_t>(unit - 0x20);
    }
    if (unit >= u'ѐ' && unit <= u'џ') {
        return static_cast<char16_t>(unit - 0x50);
    }
    return unit == u'ґ' ? u'Ґ' : unit;
}

char16_t FoldedLetter(char16_t unit) {
    if ((unit >= u'A' && unit <= u'Z') || (unit >= u'А' && unit <= u'Я') ||
        (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)) {
        unit = static_cast<char16_t>(unit + 0x20);
    } else if (unit >= u'Ѐ' && unit <= u'Џ') {
        unit = static_cast<char16_t>(unit + 0x50);
    } else if (unit == u'Ґ') {
        unit = u'ґ';
    }
    return unit == u'ё' ? u'е' : unit;
}

}  // namespace qv
