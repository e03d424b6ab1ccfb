#include "text/text_table.h"

namespace qv {

std::u16string FillPlaceholders(std::u16string_view pattern,
                                std::span<const std::u16string_view> values) {
    std::u16string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] >= u'1' &&
            pattern[i + 1] <= u'9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - u'1');
            if (index < values.size()) {
                text += values[index];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

}  // namespace qv
