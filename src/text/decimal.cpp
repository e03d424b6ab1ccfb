#include "text/decimal.h"

#include <limits>

namespace qv {

namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

std::size_t SkipSpaces(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    return i;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseDecimal(std::u16string_view text) {
    std::size_t i = SkipSpaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const std::size_t firstDigit = i;
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i] - u'0');
        if (value > kLimit) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::uint32_t> ParseHex(std::u16string_view text) {
    std::size_t i = SkipSpaces(text);
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        HexDigit(text[i + 2]) >= 0) {
        i += 2;
    }
    const std::size_t firstDigit = i;
    std::uint64_t value = 0;
    while (i < text.size() && HexDigit(text[i]) >= 0) {
        value = value * 16 + static_cast<std::uint64_t>(HexDigit(text[i]));
        if (value > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == firstDigit) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::u16string FormatDecimal(std::int64_t value) {
    const std::string ascii = std::to_string(value);
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace qv
