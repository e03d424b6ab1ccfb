#include "resources/program_resources.h"

#include <string_view>

#include "resources/resource_ids.h"

namespace qv {

namespace {

// Letters of the palette: W white, G green, g lime, R maroon, r red.
constexpr std::string_view kDepartureMarker[] = {
    "WWgGGGGgWW", "WgGggggGgW", "gGggGGggGg", "GgggGGgggG", "GgggGGgggG",
    "GgGgGGgGgG", "GggGGGGggG", "gGggGGggGg", "WgGggggGgW", "WWgGGGGgWW",
};
constexpr std::string_view kForbiddenMarker[] = {
    "WWrRRRRrWW", "WrRWWWWRrW", "rRRrWWWWRr", "RWrRrWWWWR", "RWWrRrWWWR",
    "RWWWrRrWWR", "RWWWWrRrWR", "rRWWWWrRRr", "WrRWWWWRrW", "WWrRRRRrWW",
};
constexpr std::string_view kDestinationMarker[] = {
    "WWrRRRRrWW", "WrRrrrrRrW", "rRrrRRrrRr", "RrrRRRRrrR", "RrRrRRrRrR",
    "RrrrRRrrrR", "RrrrRRrrrR", "rRrrRRrrRr", "WrRrrrrRrW", "WWrRRRRrWW",
};

ResourceModule MakeModule() {
    ResourceModule module;
    module.AddBitmap(IDB_DEPARTURE_MARKER, {10, 10, kDepartureMarker});
    module.AddBitmap(IDB_FORBIDDEN_MARKER, {10, 10, kForbiddenMarker});
    module.AddBitmap(IDB_DESTINATION_MARKER, {10, 10, kDestinationMarker});
    return module;
}

}  // namespace

HINSTANCE ProgramModule() {
    static const ResourceModule module = MakeModule();
    return &module;
}

}  // namespace qv
