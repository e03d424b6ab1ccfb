#include "text/printable.h"

#include <optional>

#include "text/utf.h"

namespace qv {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// The byte count of the UTF-8 sequence a byte starts; 0 for a byte that starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    return lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
}

bool IsControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029;
}

void AppendEscape(std::string& out, char32_t c, bool asByte) {
    switch (c) {
        case '\n':
            out += "\\n";
            return;
        case '\r':
            out += "\\r";
            return;
        case '\t':
            out += "\\t";
            return;
        default:
            break;
    }
    out += asByte ? "\\x" : "\\u";
    for (int shift = asByte ? 4 : 12; shift >= 0; shift -= 4) {
        out += kHex[(c >> shift) & 0xF];
    }
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(lead);
        const std::optional<std::u16string> unit =
            length > 0 ? Utf8ToUtf16(text.substr(i, length)) : std::nullopt;
        if (!unit || unit->empty()) {
            AppendEscape(out, lead, true);
            ++i;
            continue;
        }
        const char32_t c = unit->size() == 1 ? (*unit)[0] : 0x10000;
        if (c == '\\') {
            out += "\\\\";
        } else if (IsControl(c)) {
            AppendEscape(out, c, c < 0x80);
        } else {
            out += text.substr(i, length);
        }
        i += length;
    }
    return out;
}

std::string PrintableFileName(std::u16string_view text) {
    return Printable(FileNameBytes(text).value_or(Utf16ToUtf8(text)));
}

}  // namespace qv
