#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "schematic_records.h"

// The octilinear grid the schematic is routed on and drawn from.
namespace qv::import::schematic {

// East, south-east, south, ... : screen rows grow southwards.
inline constexpr std::array<GridPoint, 8> kSteps = {GridPoint{1, 0}, {1, 1},   {0, 1},  {-1, 1},
                                                    {-1, 0},         {-1, -1}, {0, -1}, {1, -1}};
inline constexpr int kNoDirection = 8;

// Inline: the route search asks these for every step it weighs.
constexpr int Opposite(int direction) {
    return (direction + 4) % 8;
}

// By how many steps of 45 degrees the direction changes.
constexpr int Change(int from, int to) {
    const int d = (from > to ? from - to : to - from) % 8;
    return d < 8 - d ? d : 8 - d;
}

// The direction of the step from `from` towards `to`; kNoDirection where they are one spot.
constexpr int DirectionOf(GridPoint from, GridPoint to) {
    // By the signs of the step across and down, each -1, 0 or 1.
    constexpr std::array<int, 9> kBySigns = {5, 6, 7, 4, kNoDirection, 0, 3, 2, 1};
    const int across = (to.x > from.x) - (to.x < from.x);
    const int down = (to.y > from.y) - (to.y < from.y);
    return kBySigns[static_cast<std::size_t>((down + 1) * 3 + across + 1)];
}

// A run between two stations where lines meet, fork or end: the places along it, in order.
struct Run {
    std::vector<int> places;  // first and last are junctions
    std::vector<int> chains;  // the records using it, sorted
    std::vector<GridPoint> path;
    std::vector<int> stationSteps;        // step along the path of each place
    std::vector<int> gaps;                // per link: the steps it takes at least, where not 1
    std::array<int, 2> ports = {-1, -1};  // kept free for it at its first and last junction
};

// How many entries two sorted lists (of line records) share.
inline std::int64_t CountShared(const std::vector<int>& one, const std::vector<int>& other) {
    std::int64_t shared = 0;
    auto a = one.begin();
    auto b = other.begin();
    while (a != one.end() && b != other.end()) {
        if (*a < *b) {
            ++a;
        } else if (*b < *a) {
            ++b;
        } else {
            ++shared;
            ++a;
            ++b;
        }
    }
    return shared;
}

}  // namespace qv::import::schematic
