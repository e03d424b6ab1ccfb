#pragma once

#include <string>
#include <string_view>

#include "model/station.h"

namespace qv {

// Alphabetical order for a Russian reader: letters compared without case, Cyrillic and Latin
// alike, Ё beside Е; names equal in that sense are ordered by their code units, so the order is
// total and consistent. Negative, zero or positive.
int CompareNames(std::u16string_view a, std::u16string_view b);
// The name with case folded and Ё written as е: equal for names that sort as equal letters.
std::u16string FoldedName(std::u16string_view name);
int CompareStationNames(const Station& a, const Station& b);

}  // namespace qv
