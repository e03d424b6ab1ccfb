#pragma once

#include <string>
#include <vector>

namespace qv::import {

// The distinct first letters of the names, in the order the station list sorts names (Ё with
// Е), upper case, at most 40.
std::u16string TabLetters(std::vector<std::u16string> names);

}  // namespace qv::import
