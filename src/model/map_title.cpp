#include "model/map_title.h"

#include <algorithm>
#include <string_view>

#include "model/map_file.h"
#include "model/map_parser.h"
#include "text/regular_file.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr std::size_t kMaxTitleLength = 99;

bool IsUtf16(std::string_view bytes) {
    return bytes.starts_with("\xFF\xFE") ||
           (bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0');
}

// A start cut off in the middle of a character would not decode: it is ended after its last
// complete line instead.
std::string_view WholeLines(std::string_view bytes) {
    if (IsUtf16(bytes)) {
        for (std::size_t end = bytes.size() & ~std::size_t{1}; end >= 2; end -= 2) {
            if (bytes[end - 2] == '\n' && bytes[end - 1] == '\0') {
                return bytes.substr(0, end);
            }
        }
        return {};
    }
    const std::size_t lineEnd = bytes.rfind('\n');
    return lineEnd == std::string_view::npos ? std::string_view{} : bytes.substr(0, lineEnd + 1);
}

// The parser's rules for a name: no control characters, no half of a surrogate pair, and what
// is longer than a name may be is cut.
std::optional<std::u16string> Title(std::u16string_view name) {
    if (name.empty() || FindUnpairedSurrogate(name) != std::u16string_view::npos) {
        return std::nullopt;
    }
    for (const char16_t c : name) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            return std::nullopt;
        }
    }
    std::size_t length = std::min(name.size(), kMaxTitleLength);
    if (IsHighSurrogate(name[length - 1])) {
        --length;
    }
    return std::u16string(name.substr(0, length));
}

}  // namespace

std::optional<std::u16string> ReadMapTitle(const std::filesystem::path& path) {
    const RegularFileContents contents =
        ReadRegularFile(path, kMapTitleBytes, LongerFile::ReadItsStart);
    if (!contents.read) {
        return std::nullopt;
    }
    const std::string_view bytes =
        contents.longer ? WholeLines(contents.bytes) : std::string_view(contents.bytes);
    const std::optional<std::u16string> text = DecodeMapBytes(bytes);
    if (!text) {
        return std::nullopt;
    }
    MapTextReader reader(*text);
    if (reader.ReadLine() != std::u16string_view(u"[NAME]")) {
        return std::nullopt;
    }
    std::optional<std::u16string_view> record = reader.ReadLine();
    if (!record) {
        return std::nullopt;
    }
    const std::optional<std::u16string_view> name = ReadField(*record);
    return name ? Title(*name) : std::nullopt;
}

}  // namespace qv
