#pragma once

namespace qv {

// One UTF-16 code unit in upper case: Latin, Latin-1 and Cyrillic letters; others unchanged.
char16_t UpperCodeUnit(char16_t unit);

// One code unit as a reader compares letters: lower case, and Ё as Е. Ukrainian and Belarusian
// letters keep their own place.
char16_t FoldedLetter(char16_t unit);

constexpr bool IsLatinLetter(char16_t unit) {
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}
constexpr bool IsCyrillicLetter(char16_t unit) {
    return unit >= u'\u0400' && unit <= u'\u04FF';
}

}  // namespace qv
