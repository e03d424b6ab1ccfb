#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace qv {

// $XDG_CONFIG_HOME/quorvane/quorvane.ini, or .config/quorvane/quorvane.ini in the home folder
// ($HOME, else the one the password database names). Empty when there is no home folder: then
// nothing is saved or loaded.
std::filesystem::path GetSettingsPath();

// Writes the record as 19 UTF-16LE lines, atomically (see ReplaceFileAtomically). The previous
// file survives a failed save untouched. Returns 1 on success, 0 on failure.
[[nodiscard]] int SaveSettings(const Settings& settings, const std::filesystem::path& path);
[[nodiscard]] int SaveSettings(const Settings& settings);

// Reads the file into the record; a short file fills what it holds. Returns 1 when the file was
// read (whatever it held), 0 when it could not be opened or is not a regular file, leaving the
// record unchanged.
[[nodiscard]] int LoadSettings(Settings& settings, const std::filesystem::path& path);
[[nodiscard]] int LoadSettings(Settings& settings);

// The file's text as SaveSettings writes it, and its reading back into a record. A map path that
// holds a line break is written empty.
std::u16string FormatSettingsText(const Settings& settings);
void ParseSettingsText(Settings& settings, std::u16string_view text);

}  // namespace qv
