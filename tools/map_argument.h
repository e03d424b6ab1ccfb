#pragma once

#include <string>

#include "model/map_file.h"

namespace qv::tools {

// Loads the map file a command line names, as the program loads it (LoadMapFile), for any name
// the system accepts, UTF-8 or not. Returns 0, or -1 with the reason in `error`.
[[nodiscard]] int LoadMapArgument(NetworkModel& model, const std::string& path, Settings settings,
                                  MapError& error);

// "FILE:LINE: error: REASON", or "FILE: error: REASON" for a reason about the whole file, with
// the name and the reason printable.
std::string MapErrorLine(const std::string& path, const MapError& error);

}  // namespace qv::tools
