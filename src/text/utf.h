#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Conversions at the host boundary (file names, terminal output). In memory all text is UTF-16.

// Returns nothing when the bytes are not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Code units in little-endian byte order; a trailing odd byte is ignored.
std::u16string DecodeUtf16Le(std::string_view bytes);
std::string EncodeUtf16Le(std::u16string_view text);

}  // namespace qv
