#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/map_parser.h"
#include "model/network_model.h"
#include "settings/settings.h"

namespace qv {

// The text of a map file from its bytes: UTF-16LE or UTF-8, each with or without byte-order mark,
// told apart by the first bytes. The mark is not part of the text. Nothing for other encodings.
std::optional<std::u16string> DecodeMapBytes(std::string_view bytes, MapError* error = nullptr);

// Reads the map file at `path` (a regular file, opened for reading only) into the model, which must
// be empty, then adopts `settings` and restores the saved departure and destination. Returns 0, or
// -1 with the reason in `error`; after -1 the caller discards the model. `path` is a file name's
// text (FileNameText): one that names no file is not found.
[[nodiscard]] int LoadMapFile(NetworkModel& model, std::u16string_view path, Settings settings,
                              MapError* error = nullptr);
// The same for a path as the system gives it, whatever its bytes.
[[nodiscard]] int LoadMapFileAt(NetworkModel& model, const std::filesystem::path& path,
                                Settings settings, MapError* error = nullptr);

}  // namespace qv
