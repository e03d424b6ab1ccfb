#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/station.h"

namespace qv {

using Colour = std::uint32_t;  // 0x00BBGGRR

struct Line {
    std::u16string name;
    std::int32_t firstStationIndex = 0;
    std::int32_t waitTime = 0;  // minutes added per boarding when waiting times count
    Colour colour = 0;
    bool isRing = false;        // the last point is joined to the first
    std::int32_t number = 0;    // equal numbers = the same line for transfer counting
    std::int32_t capacity = 0;  // points the map file declared for this line
    std::vector<std::unique_ptr<Station>> stations;
    std::int32_t lineWidth = 0;
    std::int32_t stationRadius = 0;
    std::int32_t outlineWidth = 0;

    std::int32_t StationCount() const { return static_cast<std::int32_t>(stations.size()); }

    // Takes the point's values; its owner becomes this line.
    Station& AddStation(Station point) {
        point.line = this;
        stations.push_back(std::make_unique<Station>(std::move(point)));
        return *stations.back();
    }
};

// Two stations of different lines joined by a walk, named by the stations' coordinates.
struct Transfer {
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;
    std::int32_t x2 = 0;
    std::int32_t y2 = 0;
    std::int32_t time = 0;  // minutes

    bool operator==(const Transfer&) const = default;
};

}  // namespace qv
