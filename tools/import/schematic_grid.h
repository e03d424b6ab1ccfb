#pragma once

#include <array>
#include <vector>

#include "schematic_records.h"

// The octilinear grid the schematic is routed on and drawn from.
namespace qv::import::schematic {

// East, south-east, south, ... : screen rows grow southwards.
inline constexpr std::array<GridPoint, 8> kSteps = {GridPoint{1, 0}, {1, 1},   {0, 1},  {-1, 1},
                                                    {-1, 0},         {-1, -1}, {0, -1}, {1, -1}};
inline constexpr int kNoDirection = 8;

int Opposite(int direction);
// By how many steps of 45 degrees the direction changes.
int Change(int from, int to);
// The direction of the step from `from` towards `to`; kNoDirection where they are one spot.
int DirectionOf(GridPoint from, GridPoint to);

// A run between two stations where lines meet, fork or end: the places along it, in order.
struct Run {
    std::vector<int> places;  // first and last are junctions
    std::vector<int> chains;  // the records using it, sorted
    std::vector<GridPoint> path;
    std::vector<int> stationSteps;        // step along the path of each place
    std::vector<int> gaps;                // per link: the steps it takes at least, where not 1
    std::array<int, 2> ports = {-1, -1};  // kept free for it at its first and last junction
};

}  // namespace qv::import::schematic
