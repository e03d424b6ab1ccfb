#pragma once

#include <optional>
#include <string_view>

namespace qv {

// Takes one line off the front of the text. A line ends with CR LF, LF or a lone CR; the end is
// removed with the line and is not part of it. Returns nothing once the text is used up, so an
// empty line in the middle of a text is told apart from the end of the text.
std::optional<std::u16string_view> TakeLine(std::u16string_view& text);

}  // namespace qv
