#include "text/name_search.h"

#include <algorithm>
#include <numeric>

#include "text/keyboard_layout_swap.h"
#include "text/letter_case.h"
#include "text/transliteration.h"

namespace qv {

namespace {

// One letter wrong, missing or extra for each four typed.
constexpr std::size_t kTypedPerMistake = 4;

std::u16string Mapped(std::u16string_view text, char16_t (*map)(char16_t)) {
    std::u16string result(text);
    std::transform(result.begin(), result.end(), result.begin(), map);
    return result;
}

bool SameLetter(char16_t typed, char16_t name) {
    return typed == name;
}

bool StartsWithBy(std::u16string_view name, std::u16string_view start,
                  bool (*same)(char16_t, char16_t)) {
    return start.size() <= name.size() &&
           std::equal(start.begin(), start.end(), name.begin(), same);
}

}  // namespace

NameSearch::NameSearch(std::vector<std::u16string> names) {
    entries_.reserve(names.size());
    for (std::u16string& name : names) {
        Entry entry;
        entry.upper = Mapped(name, UpperCodeUnit);
        entry.folded = Mapped(name, FoldedLetter);
        entry.name = std::move(name);
        entries_.push_back(std::move(entry));
    }
}

std::optional<NameFound> NameSearch::Find(std::u16string_view typed) const {
    const std::u16string upper = Mapped(typed, UpperCodeUnit);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].upper.starts_with(upper)) {
            return NameFound{i, NameReading::AsTyped};
        }
    }
    const std::u16string folded = Mapped(typed, FoldedLetter);
    if (const auto index = FirstStartingWith(folded, SameLetter)) {
        return NameFound{*index, NameReading::YoAsYe};
    }
    const std::u16string other = Mapped(InOtherLayout(typed), FoldedLetter);
    if (const auto index = FirstStartingWith(other, SameKeyLetter)) {
        return NameFound{*index, NameReading::OtherLayout};
    }
    const bool latin = std::any_of(typed.begin(), typed.end(), IsLatinLetter);
    if (latin) {
        if (const auto index = FirstSpelledBy(typed)) {
            return NameFound{*index, NameReading::Transliterated};
        }
    }
    std::vector<std::u16string> readings{folded, other};
    if (latin) {
        readings.push_back(Mapped(CyrillicReading(typed), FoldedLetter));
    }
    if (const auto index = Nearest(readings)) {
        return NameFound{*index, NameReading::Nearest};
    }
    return std::nullopt;
}

std::optional<std::size_t> NameSearch::FirstStartingWith(std::u16string_view folded,
                                                         bool (*same)(char16_t, char16_t)) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (StartsWithBy(entries_[i].folded, folded, same)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> NameSearch::FirstSpelledBy(std::u16string_view latin) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (SpellsPrefixOf(latin, entries_[i].name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> NameSearch::Nearest(const std::vector<std::u16string>& readings) const {
    std::optional<std::size_t> best;
    int bestDistance = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        for (const std::u16string& reading : readings) {
            const int allowed = static_cast<int>(reading.size() / kTypedPerMistake);
            const int limit = best ? std::min(allowed, bestDistance - 1) : allowed;
            if (allowed == 0 || limit < 0) {
                continue;
            }
            if (const auto distance = PrefixDistance(reading, entries_[i].folded, limit)) {
                best = i;
                bestDistance = *distance;
            }
        }
    }
    return best;
}

std::optional<int> PrefixDistance(std::u16string_view typed, std::u16string_view name, int limit) {
    if (limit < 0) {
        return std::nullopt;
    }
    // Only so many of the name's letters can take part: the typed ones and the extra allowed.
    const std::size_t columns =
        std::min(name.size(), typed.size() + static_cast<std::size_t>(limit));
    std::vector<int> row(columns + 1);
    std::iota(row.begin(), row.end(), 0);
    std::vector<int> next(columns + 1);
    for (std::size_t i = 1; i <= typed.size(); ++i) {
        next[0] = static_cast<int>(i);
        int smallest = next[0];
        for (std::size_t j = 1; j <= columns; ++j) {
            const int change = row[j - 1] + (typed[i - 1] == name[j - 1] ? 0 : 1);
            next[j] = std::min({change, row[j] + 1, next[j - 1] + 1});
            smallest = std::min(smallest, next[j]);
        }
        if (smallest > limit) {
            return std::nullopt;
        }
        row.swap(next);
    }
    const int distance = *std::min_element(row.begin(), row.end());
    return distance <= limit ? std::optional<int>(distance) : std::nullopt;
}

}  // namespace qv
