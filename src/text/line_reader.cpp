#include "text/line_reader.h"

namespace qv {

std::optional<std::u16string_view> TakeLine(std::u16string_view& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::size_t end = text.find_first_of(u"\r\n");
    if (end == std::u16string_view::npos) {
        const std::u16string_view line = text;
        text = {};
        return line;
    }
    const std::u16string_view line = text.substr(0, end);
    std::size_t next = end + 1;
    if (text[end] == u'\r' && next < text.size() && text[next] == u'\n') {
        ++next;
    }
    text.remove_prefix(next);
    return line;
}

}  // namespace qv
