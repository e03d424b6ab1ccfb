#include "source_network.h"

namespace qv::import {

std::optional<Colour> ParseWebColour(std::string_view text) {
    if (text.size() != 6) {
        return std::nullopt;
    }
    std::uint32_t rgb = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
    }
    const std::uint32_t red = (rgb >> 16) & 0xFF;
    const std::uint32_t green = (rgb >> 8) & 0xFF;
    const std::uint32_t blue = rgb & 0xFF;
    return (blue << 16) | (green << 8) | red;
}

std::u16string CleanName(std::u16string_view name) {
    std::u16string clean;
    for (const char16_t c : name) {
        if (c == u';') {
            clean += u',';
        } else if (c < 0x20) {
            clean += u' ';
        } else {
            clean += c;
        }
    }
    const auto first = clean.find_first_not_of(u' ');
    if (first == std::u16string::npos) {
        return {};
    }
    const auto last = clean.find_last_not_of(u' ');
    return clean.substr(first, last - first + 1);
}

}  // namespace qv::import
