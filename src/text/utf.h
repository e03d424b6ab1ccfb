#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Conversions at the host boundary (file names, terminal output). In memory all text is UTF-16.

constexpr bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
// The position of the first surrogate that is not half of a pair, or npos.
std::size_t FindUnpairedSurrogate(std::u16string_view text);

// Returns nothing when the bytes are not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// A file name's bytes as text: UTF-8 decoded, and each byte that is not part of well-formed
// UTF-8 kept as the unpaired surrogate U+DC80..U+DCFF, so that any name the system accepts can
// be held, remembered and opened again.
std::u16string FileNameText(std::string_view bytes);
// The bytes of such a text; nothing when it holds another unpaired surrogate, which no file name
// gives.
std::optional<std::string> FileNameBytes(std::u16string_view text);

// Code units in little-endian byte order; a trailing odd byte is ignored.
std::u16string DecodeUtf16Le(std::string_view bytes);
std::string EncodeUtf16Le(std::u16string_view text);

}  // namespace qv
