#pragma once

#include <string>
#include <string_view>

namespace qv {

// The text as the same keys give it in the other layout of a Russian keyboard (ЙЦУКЕН over
// QWERTY): "rbtd" is "киев", "ифлук" is "baker". A text with a Latin letter was typed in the
// Latin layout and is read in the Cyrillic one; otherwise it is read the other way. A text without
// letters reads its punctuation keys as the letters they carry in the Cyrillic layout.
// Characters that are not on those keys stay as they are. The result is in lower case.
std::u16string InOtherLayout(std::u16string_view typed);

// Whether a folded letter of the Russian layout can stand for a folded letter of a name: the
// same letter, or a Ukrainian or Belarusian letter on the same key (і on ы or и, ї on ъ, є on э,
// ў on щ, ґ on г).
bool SameKeyLetter(char16_t typed, char16_t name);

}  // namespace qv
