#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "city_json.h"
#include "source_network.h"

namespace qv::import {

// A fault of the city file that the import mends, named by city, line and station. Each is
// listed with the reason seen in the data, so that the maps can be rebuilt and checked.
struct StationFix {
    enum class Kind {
        MoveBefore,         // the station belongs just before `other` along the line
        MoveAfter,          // the station belongs just after `other`
        BetweenNeighbours,  // its position is wrong: put it halfway between its two neighbours
        BranchFrom,       // the line forks: the station follows `other`, not the one listed before
        BeyondNeighbour,  // an end station's position is wrong: put it past its neighbour, as
                          // far again as the station on the neighbour's other side
        NotServed,        // trains pass it without stopping: leave it out of the line
    };
    std::u16string_view city;
    std::u16string_view line;
    std::u16string_view station;
    Kind kind;
    std::u16string_view other;
    std::string_view reason;
};

// The mends the shipped maps need.
std::span<const StationFix> KnownStationFixes();

// A link longer than this, and more than three times the line's median link, is reported as
// suspicious: no metro runs that far between stations, so the data probably misplaces one.
inline constexpr double kSuspiciousLinkMetres = 6000;

// The city's lines as links along each line in the data's order, after applying the fixes that
// name this city. A line whose first and last stations are each other's nearest or second
// nearest station of the line (and that has at least four stations) is closed into a ring.
// `notes` receives one sentence for each fix applied, each fix that found nothing to mend and
// each suspicious link that is left.
SourceNetwork BuildCityNetwork(const City& city, std::span<const StationFix> fixes,
                               std::vector<std::string>& notes);

}  // namespace qv::import
