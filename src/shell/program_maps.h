#pragma once

#include <filesystem>
#include <optional>

#include "platform/pocket/file_catalogue.h"

namespace qv {

// The maps that come with the program: the folder QUORVANE_MAPS_DIR names, else "maps" beside
// the executable, else "../share/quorvane/maps" from it, else the source tree's maps of a build.
// Nothing when none is there.
std::optional<std::filesystem::path> FindProgramMaps();
// The same, looked up once for the whole run.
const std::optional<std::filesystem::path>& ProgramMaps();

// What the open-file page adds for maps: the program's own maps at its start folder, and each
// map file listed by its network's name.
OpenFileExtras MapFileExtras();

}  // namespace qv
