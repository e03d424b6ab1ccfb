#include "tab_letters.h"

#include <algorithm>

#include "model/network_model.h"
#include "model/station_name_order.h"
#include "text/letter_case.h"

namespace qv::import {

namespace {

std::u16string Initial(std::u16string_view name) {
    const char16_t c = name.empty() ? u'?' : UpperCodeUnit(name.front());
    return std::u16string(1, c == u'Ё' ? u'Е' : c);
}

}  // namespace

std::u16string TabLetters(std::vector<std::u16string> names) {
    std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
        return CompareNames(a, b) < 0;
    });
    std::u16string letters;
    for (const std::u16string& name : names) {
        const std::u16string initial = Initial(name);
        if ((letters.empty() || CompareNames(std::u16string(1, letters.back()), initial) != 0) &&
            letters.size() < static_cast<std::size_t>(kMaxTabLetters)) {
            letters += initial;
        }
    }
    return letters;
}

}  // namespace qv::import
