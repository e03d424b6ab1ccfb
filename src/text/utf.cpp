#include "text/utf.h"

#include <cstdint>

namespace qv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

}  // namespace

namespace {

struct Decoded {
    char32_t c;
    std::size_t length;
};

// The character that a well-formed UTF-8 sequence starting at `i` encodes; nothing otherwise.
std::optional<Decoded> DecodeAt(std::string_view utf8, std::size_t i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        return Decoded{lead, 1};
    }
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (utf8.size() - i <= static_cast<std::size_t>(extra)) {
        return std::nullopt;
    }
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(utf8[i + k]);
        if (!IsContinuation(next)) {
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{c, static_cast<std::size_t>(1 + extra)};
}

// A byte outside UTF-8 kept in a file name's text.
constexpr char16_t kEscapedByteBase = 0xDC00;

// The character at `i`, a surrogate pair read whole (`i` then on its second half); an unpaired
// surrogate comes back as itself.
char32_t CodePointAt(std::u16string_view text, std::size_t& i) {
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        ++i;
        return 0x10000 + ((char32_t{text[i - 1]} - 0xD800) << 10) + (text[i] - 0xDC00);
    }
    return text[i];
}

}  // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<Decoded> decoded = DecodeAt(utf8, i);
        if (!decoded) {
            return std::nullopt;
        }
        AppendUtf16(out, decoded->c);
        i += decoded->length;
    }
    return out;
}

std::u16string FileNameText(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::optional<Decoded> decoded = DecodeAt(bytes, i)) {
            AppendUtf16(out, decoded->c);
            i += decoded->length;
        } else {
            out += static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(bytes[i]));
            ++i;
        }
    }
    return out;
}

std::optional<std::string> FileNameBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = CodePointAt(text, i);
        if (c >= kEscapedByteBase + 0x80 && c <= kEscapedByteBase + 0xFF) {
            out += static_cast<char>(c - kEscapedByteBase);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            return std::nullopt;
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}

std::size_t FindUnpairedSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            return i;
        }
    }
    return std::u16string_view::npos;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char32_t c = CodePointAt(utf16, i);
        AppendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? kReplacement : c);
    }
    return out;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

std::string EncodeUtf16Le(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

}  // namespace qv
