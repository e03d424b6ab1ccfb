#include "settings/settings_file.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "settings/atomic_file.h"
#include "text/decimal.h"
#include "text/line_reader.h"
#include "text/regular_file.h"
#include "text/utf.h"

namespace qv {

namespace {

constexpr int kLineCount = 19;
// Only the first lines matter; a larger file is damaged, not a reason to read gigabytes.
constexpr std::size_t kMaxReadBytes = 1 << 20;
// Far beyond any real entry; the database is asked again with more room up to this.
constexpr std::size_t kMaxPasswordEntryBytes = 1 << 20;

std::u16string FirstCharacter(std::int32_t value) {
    return FormatDecimal(value).substr(0, 1);
}

// What a field becomes when reading stops at its line; `lineWasEmpty` tells an empty line from
// the end of the text.
void ApplyStopRule(Settings& settings, int lineNumber, bool lineWasEmpty) {
    switch (lineNumber) {
        case 6:
            settings.maxTransfers = 3;
            break;
        case 7:
            if (lineWasEmpty) {
                settings.routeShowLine = true;
            }
            break;
        case 8:
            settings.routeShowStations = true;
            break;
        case 9:
            settings.routeBlink = true;
            break;
        case 10:
            settings.pickerMode = 0;
            break;
        case 11:
            settings.departureIndex = settings.destinationIndex = -1;
            break;
        case 12:
            settings.destinationIndex = -1;
            break;
        case 13:
            settings.saveRoute = false;
            break;
        default:
            break;
    }
}

// A line without a number leaves its field as it was.
void StoreLine(Settings& settings, int lineNumber, std::u16string_view line) {
    const std::optional<std::int32_t> parsed = ParseDecimal(line);
    if (!parsed) {
        return;
    }
    const std::int32_t value = *parsed;
    const bool on = value != 0;
    switch (lineNumber) {
        case 2:
            settings.algorithm = value;
            break;
        case 3:
            settings.countWaitTime = on;
            break;
        case 4:
            settings.tooltipMs = value;
            break;
        case 5:
            settings.showStationNames = on;
            break;
        case 6:
            settings.maxTransfers = value;
            break;
        case 7:
            settings.routeShowLine = on;
            break;
        case 8:
            settings.routeShowStations = on;
            break;
        case 9:
            settings.routeBlink = on;
            break;
        case 10:
            settings.pickerMode = value;
            break;
        case 11:
            settings.departureIndex = value;
            break;
        case 12:
            settings.destinationIndex = value;
            break;
        case 13:
            settings.saveRoute = on;
            break;
        case 14:
            settings.cyrillicFont = on;
            break;
        case 15:
            settings.saveZoom = on;
            break;
        case 16:
            settings.savePosition = on;
            break;
        case 17:
            settings.savedZoom = value;
            break;
        case 18:
            settings.savedViewX = value;
            break;
        case 19:
            settings.savedViewY = value;
            break;
        default:
            break;
    }
}

// The home folder that the password database names for this user; nothing when it names none.
std::optional<std::filesystem::path> HomeFromPasswordDatabase() {
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == ERANGE &&
           buffer.size() < kMaxPasswordEntryBytes) {
        buffer.resize(buffer.size() * 2);
    }
    if (!found || !found->pw_dir || found->pw_dir[0] != '/') {
        return std::nullopt;
    }
    return std::filesystem::path(found->pw_dir);
}

void ParseSettingLines(Settings& settings, std::u16string_view text) {
    settings.mapPath = std::u16string(TakeLine(text).value_or(u""));
    for (int lineNumber = 2; lineNumber <= kLineCount; ++lineNumber) {
        const std::optional<std::u16string_view> line = TakeLine(text);
        if (!line || line->empty()) {
            ApplyStopRule(settings, lineNumber, line.has_value());
            return;
        }
        if (lineNumber == 9) {
            settings.pickerMode = 0;
        } else if (lineNumber == 10) {
            settings.departureIndex = settings.destinationIndex = -1;
        }
        StoreLine(settings, lineNumber, *line);
        if (lineNumber == 12) {
            settings.saveRoute = false;
        }
    }
}

}  // namespace

std::filesystem::path GetSettingsPath() {
    std::filesystem::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/') {
        base = config;
    } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
        base = std::filesystem::path(home) / ".config";
    } else if (const std::optional<std::filesystem::path> passwordHome =
                   HomeFromPasswordDatabase()) {
        base = *passwordHome / ".config";
    } else {
        return {};
    }
    return base / "quorvane" / "quorvane.ini";
}

std::u16string FormatSettingsText(const Settings& settings) {
    // A line break would shift every later line: such a map's path is not remembered.
    const bool pathFits = settings.mapPath.find_first_of(u"\r\n") == std::u16string::npos;
    const std::u16string lines[kLineCount] = {
        pathFits ? settings.mapPath : std::u16string(),
        FirstCharacter(settings.algorithm),
        FirstCharacter(settings.countWaitTime),
        FormatDecimal(settings.tooltipMs),
        FirstCharacter(settings.showStationNames),
        FormatDecimal(settings.maxTransfers),
        FirstCharacter(settings.routeShowLine),
        FirstCharacter(settings.routeShowStations),
        FirstCharacter(settings.routeBlink),
        FirstCharacter(settings.pickerMode),
        FormatDecimal(settings.departureIndex),
        FormatDecimal(settings.destinationIndex),
        FirstCharacter(settings.saveRoute),
        FirstCharacter(settings.cyrillicFont),
        FirstCharacter(settings.saveZoom),
        FirstCharacter(settings.savePosition),
        FormatDecimal(settings.savedZoom),
        FormatDecimal(settings.savedViewX),
        FormatDecimal(settings.savedViewY),
    };
    std::u16string text;
    for (const std::u16string& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

void ParseSettingsText(Settings& settings, std::u16string_view text) {
    ParseSettingLines(settings, text);
    KeepInRange(settings);
}

int SaveSettings(const Settings& settings, const std::filesystem::path& path) {
    return ReplaceFileAtomically(path, EncodeUtf16Le(FormatSettingsText(settings))) ? 1 : 0;
}

int SaveSettings(const Settings& settings) {
    return SaveSettings(settings, GetSettingsPath());
}

int LoadSettings(Settings& settings, const std::filesystem::path& path) {
    const RegularFileContents contents =
        ReadRegularFile(path, kMaxReadBytes, LongerFile::ReadItsStart);
    if (!contents.read) {
        return 0;
    }
    ParseSettingsText(settings, DecodeUtf16Le(contents.bytes));
    return 1;
}

int LoadSettings(Settings& settings) {
    return LoadSettings(settings, GetSettingsPath());
}

}  // namespace qv
