#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace qv {

// How much of a file is read for its title: the [NAME] record is the first of every map.
inline constexpr std::size_t kMapTitleBytes = 4096;

// The network's name from the scheme record of the map file at `path`, reading only the start of
// the file. Nothing when the file cannot be read or does not begin as a map.
std::optional<std::u16string> ReadMapTitle(const std::filesystem::path& path);

}  // namespace qv
