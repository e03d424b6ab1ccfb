#include "model/map_file.h"

#include <cerrno>
#include <system_error>

#include "text/regular_file.h"
#include "text/utf.h"

namespace qv {

namespace {

// Far beyond any metro; a bigger file is not a map.
constexpr std::size_t kMaxMapBytes = std::size_t{64} << 20;

std::optional<std::u16string> Refuse(MapError* error, std::string reason) {
    if (error) {
        *error = {0, std::move(reason)};
    }
    return std::nullopt;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, MapError* error) {
    RegularFileContents contents = ReadRegularFile(path, kMaxMapBytes, LongerFile::Refuse);
    if (contents.longer) {
        Refuse(error, "the file is too large for a map (more than 64 MB)");
        return std::nullopt;
    }
    if (!contents.read) {
        Refuse(error, std::move(contents.reason));
        return std::nullopt;
    }
    return std::move(contents.bytes);
}

}  // namespace

std::optional<std::u16string> DecodeMapBytes(std::string_view bytes, MapError* error) {
    if (bytes.empty()) {
        return Refuse(error, "the file is empty");
    }
    if (StartsWith(bytes, "\xFE\xFF")) {
        return Refuse(error, "UTF-16 big-endian text: save the map as UTF-16LE or UTF-8");
    }
    const bool utf16Marked = StartsWith(bytes, "\xFF\xFE");
    const bool utf16Unmarked = bytes.size() >= 2 && bytes[0] != '\0' && bytes[1] == '\0';
    if (utf16Marked || utf16Unmarked) {
        if (bytes.size() % 2 != 0) {
            return Refuse(error, "UTF-16 text with an odd number of bytes: the file is cut short");
        }
        return DecodeUtf16Le(bytes.substr(utf16Marked ? 2 : 0));
    }
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::optional<std::u16string> text = Utf8ToUtf16(bytes);
    if (!text) {
        return Refuse(error, "neither UTF-16LE nor UTF-8 text");
    }
    return text;
}

int LoadMapFile(NetworkModel& model, std::u16string_view path, Settings settings, MapError* error) {
    const std::optional<std::string> bytes = FileNameBytes(path);
    if (!bytes) {
        // Such a text names no file; read any other way it would name another one.
        Refuse(error, "cannot open the file: " + std::generic_category().message(ENOENT));
        return -1;
    }
    return LoadMapFileAt(model, *bytes, std::move(settings), error);
}

int LoadMapFileAt(NetworkModel& model, const std::filesystem::path& path, Settings settings,
                  MapError* error) {
    const std::optional<std::string> bytes = ReadWholeFile(path, error);
    if (!bytes) {
        return -1;
    }
    const std::optional<std::u16string> text = DecodeMapBytes(*bytes, error);
    if (!text || ParseMapText(model, *text, error) != 0) {
        return -1;
    }
    model.BuildStationIndex();
    model.hotStation = nullptr;
    model.AdoptSettings(std::move(settings));
    model.RestoreSavedStations();
    return 0;
}

}  // namespace qv
