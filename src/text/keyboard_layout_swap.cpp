#include "text/keyboard_layout_swap.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/letter_case.h"

namespace qv {

namespace {

// Each key's character in the Latin layout and in the Cyrillic one, lower and shifted.
constexpr std::array<std::pair<char16_t, char16_t>, 45> kKeys{{
    {u'q', u'й'},
    {u'w', u'ц'},
    {u'e', u'у'},
    {u'r', u'к'},
    {u't', u'е'},
    {u'y', u'н'},
    {u'u', u'г'},
    {u'i', u'ш'},
    {u'o', u'щ'},
    {u'p', u'з'},
    {u'[', u'х'},
    {u']', u'ъ'},
    {u'a', u'ф'},
    {u's', u'ы'},
    {u'd', u'в'},
    {u'f', u'а'},
    {u'g', u'п'},
    {u'h', u'р'},
    {u'j', u'о'},
    {u'k', u'л'},
    {u'l', u'д'},
    {u';', u'ж'},
    {u'\'', u'э'},
    {u'z', u'я'},
    {u'x', u'ч'},
    {u'c', u'с'},
    {u'v', u'м'},
    {u'b', u'и'},
    {u'n', u'т'},
    {u'm', u'ь'},
    {u',', u'б'},
    {u'.', u'ю'},
    {u'`', u'ё'},
    {u'{', u'х'},
    {u'}', u'ъ'},
    {u':', u'ж'},
    {u'"', u'э'},
    {u'<', u'б'},
    {u'>', u'ю'},
    {u'~', u'ё'},
    // Ukrainian and Belarusian letters, read back to the Latin layout only.
    {u's', u'і'},
    {u']', u'ї'},
    {u'\'', u'є'},
    {u'o', u'ў'},
    {u'`', u'ґ'},
}};
constexpr std::size_t kTwoWayKeys = 40;

char16_t ToCyrillic(char16_t unit) {
    const char16_t lower = IsLatinLetter(unit) ? FoldedLetter(unit) : unit;
    for (std::size_t i = 0; i < kTwoWayKeys; ++i) {
        if (kKeys[i].first == lower) {
            return kKeys[i].second;
        }
    }
    return lower;
}

char16_t ToLatin(char16_t unit) {
    const char16_t lower = FoldedLetter(unit);
    const char16_t key = unit == u'ё' || unit == u'Ё' ? u'ё' : lower;
    for (const auto& [latin, cyrillic] : kKeys) {
        if (cyrillic == key) {
            return latin;
        }
    }
    return lower;
}

}  // namespace

std::u16string InOtherLayout(std::u16string_view typed) {
    const bool latin = std::any_of(typed.begin(), typed.end(), IsLatinLetter);
    const bool cyrillic = std::any_of(typed.begin(), typed.end(), IsCyrillicLetter);
    std::u16string other(typed);
    std::transform(other.begin(), other.end(), other.begin(),
                   !latin && cyrillic ? ToLatin : ToCyrillic);
    return other;
}

bool SameKeyLetter(char16_t typed, char16_t name) {
    if (typed == name) {
        return true;
    }
    switch (name) {
        case u'і':
            return typed == u'ы' || typed == u'и';
        case u'ї':
            return typed == u'ъ';
        case u'є':
            return typed == u'э';
        case u'ў':
            return typed == u'щ';
        case u'ґ':
            return typed == u'г';
        default:
            return false;
    }
}

}  // namespace qv
