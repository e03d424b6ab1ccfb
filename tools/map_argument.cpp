#include "map_argument.h"

#include <filesystem>

#include "text/printable.h"

namespace qv::tools {

int LoadMapArgument(NetworkModel& model, const std::string& path, Settings settings,
                    MapError& error) {
    // By its bytes: a Linux file name need not be UTF-8.
    return LoadMapFileAt(model, std::filesystem::path(path), std::move(settings), &error);
}

std::string MapErrorLine(const std::string& path, const MapError& error) {
    const std::string where = error.line > 0 ? ":" + std::to_string(error.line) : "";
    return Printable(path) + where + ": error: " + Printable(error.reason);
}

}  // namespace qv::tools
