#include "shell/map_argument_uri.h"

#include <algorithm>
#include <cctype>

namespace qv {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::optional<std::string> MapArgumentPath(std::string_view argument) {
    constexpr std::string_view kScheme = "file://";
    if (argument.size() < kScheme.size() ||
        !std::equal(kScheme.begin(), kScheme.end(), argument.begin(), [](char wanted, char given) {
            return std::tolower(static_cast<unsigned char>(given)) == wanted;
        })) {
        if (argument.find("://") != std::string_view::npos) {
            return std::nullopt;
        }
        return std::string(argument);
    }
    std::string_view rest = argument.substr(kScheme.size());
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view host = rest.substr(0, slash);
    if (!host.empty() && host != "localhost") {
        return std::nullopt;
    }
    rest.remove_prefix(slash);
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            path += rest[i];
            continue;
        }
        const int high = i + 2 < rest.size() ? HexValue(rest[i + 1]) : -1;
        const int low = i + 2 < rest.size() ? HexValue(rest[i + 2]) : -1;
        if (high < 0 || low < 0 || (high == 0 && low == 0)) {
            return std::nullopt;
        }
        path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return path;
}

}  // namespace qv
