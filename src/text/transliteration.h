#pragma once

#include <string>
#include <string_view>

namespace qv {

// Whether the name begins with what the Latin text spells, read in any of the usual
// transliterations of Russian, Ukrainian and Belarusian letters ("kievskaya", "kiyevskaya";
// "tsvetnoy", "cvetnoj"; "shch", "sch"; ' or nothing for ь). The text's last letters may be the
// beginning of a letter's spelling ("z" of "zh"). Case does not matter; Cyrillic letters in the
// text stand for themselves, Е and Ё alike.
bool SpellsPrefixOf(std::u16string_view latin, std::u16string_view name);

// One plain Cyrillic reading of a Latin text, the longest usual spelling first ("shch" before
// "sh"); characters that are not Latin letters stay. For comparing a mistyped text with names.
std::u16string CyrillicReading(std::u16string_view latin);

}  // namespace qv
