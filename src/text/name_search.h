#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// How a typed text was understood, in the order the readings are tried.
enum class NameReading {
    AsTyped,         // some name begins with the text, case aside
    YoAsYe,          // Е and Ё counted as one letter
    OtherLayout,     // typed with the keyboard in the other layout
    Transliterated,  // Latin letters read as Cyrillic
    Nearest,         // the closest beginning of a name, a few letters wrong, missing or extra
};

struct NameFound {
    std::size_t index = 0;  // into the names, in their order
    NameReading reading = NameReading::AsTyped;
};

// Finds the name a typed text means among names kept in a list's order. Each reading is tried
// in turn, and the first that some name begins with gives the first such name.
class NameSearch {
  public:
    NameSearch() = default;
    explicit NameSearch(std::vector<std::u16string> names);

    // Nothing when no reading begins a name and no name is near enough. An empty text is the
    // beginning of every name.
    std::optional<NameFound> Find(std::u16string_view typed) const;

    std::size_t Size() const { return entries_.size(); }

  private:
    struct Entry {
        std::u16string name;
        std::u16string upper;   // as the typed text is compared first
        std::u16string folded;  // lower case, Ё as Е
    };

    std::optional<std::size_t> FirstStartingWith(std::u16string_view folded,
                                                 bool (*same)(char16_t, char16_t)) const;
    std::optional<std::size_t> FirstSpelledBy(std::u16string_view latin) const;
    std::optional<std::size_t> Nearest(const std::vector<std::u16string>& readings) const;

    std::vector<Entry> entries_;
};

// The fewest letters changed, left out or put in that make `typed` the beginning of `name`, both
// folded; nothing when that takes more than `limit`.
std::optional<int> PrefixDistance(std::u16string_view typed, std::u16string_view name, int limit);

}  // namespace qv
