#include "model/station_name_order.h"

#include <algorithm>

namespace qv {

namespace {

// Folds case, and puts Ё on Е's place so that the two sort together.
char16_t CollationKey(char16_t c) {
    if (c >= u'A' && c <= u'Z') {
        return static_cast<char16_t>(c + (u'a' - u'A'));
    }
    if (c == u'Ё' || c == u'ё') {
        return u'е';
    }
    if (c >= u'А' && c <= u'Я') {
        return static_cast<char16_t>(c + (u'а' - u'А'));
    }
    if (c >= u'\u0400' && c <= u'\u040F') {  // Ukrainian, Belarusian and other capitals
        return static_cast<char16_t>(c + 0x50);
    }
    return c;
}

// Levels of comparison, each consulted only where the earlier ones find the names equal.
int CompareAtLevel(std::u16string_view a, std::u16string_view b, int (*key)(char16_t)) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int ka = key(a[i]);
        const int kb = key(b[i]);
        if (ka != kb) {
            return ka < kb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int PrimaryKey(char16_t c) {
    return CollationKey(c);
}

// Е before Ё where nothing else differs.
int SecondaryKey(char16_t c) {
    return CollationKey(c) * 2 + (c == u'Ё' || c == u'ё' ? 1 : 0);
}

int CodeUnit(char16_t c) {
    return c;
}

}  // namespace

int CompareNames(std::u16string_view a, std::u16string_view b) {
    for (const auto key : {PrimaryKey, SecondaryKey, CodeUnit}) {
        if (const int order = CompareAtLevel(a, b, key); order != 0) {
            return order;
        }
    }
    return 0;
}

std::u16string FoldedName(std::u16string_view name) {
    std::u16string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), CollationKey);
    return folded;
}

int CompareStationNames(const Station& a, const Station& b) {
    return CompareNames(a.name, b.name);
}

}  // namespace qv
