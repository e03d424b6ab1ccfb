#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qv {

// One text of a language's table, found by its id.
template <typename Id>
struct TextEntry {
    Id id;
    std::u16string_view text;
};

// The text of `id` in `table`; empty when the table lacks it.
template <typename Id>
constexpr std::u16string_view FindText(std::span<const TextEntry<Id>> table, Id id) {
    for (const TextEntry<Id>& entry : table) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

// The pattern with %1 to %9 replaced by the values; a mark without a value, and any other use
// of %, stays as it is.
std::u16string FillPlaceholders(std::u16string_view pattern,
                                std::span<const std::u16string_view> values);

}  // namespace qv
