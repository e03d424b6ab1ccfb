#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/network_model.h"

namespace qv {

// One row of the route's station-by-station list, with the role that decides its image and
// colour.
struct RouteListRow {
    enum class Role { Departure, Destination, Summary, Time, Transfer, LineName, Station };

    Role role;
    std::u16string text;
    const Station* station = nullptr;  // Departure, Destination and Station rows
    const Line* line = nullptr;        // LineName rows
};

// The rows for the model's route: both ends, the counts, the time, then every station in travel
// order with a transfer row and the new line's quoted name before each change of line.
std::vector<RouteListRow> BuildRouteList(const NetworkModel& model);

// The route's stops, and its minutes by the model's own settings.
std::int32_t RouteStationCount(const NetworkModel& model);
std::int64_t RouteTravelTime(const NetworkModel& model);

}  // namespace qv
