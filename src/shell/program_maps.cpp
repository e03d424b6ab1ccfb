#include "shell/program_maps.h"

#include <cstdlib>
#include <vector>

#include "model/map_title.h"

namespace qv {

namespace {

bool IsFolder(const std::filesystem::path& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

std::filesystem::path ExecutableFolderPath() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace

std::optional<std::filesystem::path> FindProgramMaps() {
    if (const char* named = std::getenv("QUORVANE_MAPS_DIR"); named && *named) {
        return IsFolder(named) ? std::optional<std::filesystem::path>(named) : std::nullopt;
    }
    std::vector<std::filesystem::path> candidates;
    if (const std::filesystem::path beside = ExecutableFolderPath(); !beside.empty()) {
        candidates.push_back(beside / "maps");
        candidates.push_back(beside.parent_path() / "share" / "quorvane" / "maps");
    }
#ifdef QV_SOURCE_MAPS_DIR
    candidates.emplace_back(QV_SOURCE_MAPS_DIR);
#endif
    for (const std::filesystem::path& candidate : candidates) {
        if (IsFolder(candidate)) {
            return candidate.lexically_normal();
        }
    }
    return std::nullopt;
}

const std::optional<std::filesystem::path>& ProgramMaps() {
    static const std::optional<std::filesystem::path> found = FindProgramMaps();
    return found;
}

OpenFileExtras MapFileExtras() {
    OpenFileExtras extras;
    if (const std::optional<std::filesystem::path>& maps = ProgramMaps()) {
        extras.places.push_back(*maps);
    }
    extras.title = ReadMapTitle;
    return extras;
}

}  // namespace qv
