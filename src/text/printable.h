#pragma once

#include <string>
#include <string_view>

namespace qv {

// The text as one line a terminal shows as it is: valid UTF-8 stays; a backslash is doubled;
// line breaks and other control characters (C0, DEL, C1, the Unicode line and paragraph
// separators) become "\n", "\r", "\t", "\xHH" or "\uHHHH"; a byte that is not part of valid
// UTF-8 becomes "\xHH". For file names, names from maps and anything else the tools echo.
std::string Printable(std::string_view text);
// A file name's text (FileNameText) the same way, by the bytes it names.
std::string PrintableFileName(std::u16string_view text);

}  // namespace qv
