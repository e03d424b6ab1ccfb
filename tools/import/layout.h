#pragma once

#include <span>
#include <vector>

#include "projection.h"

namespace qv::import {

struct Offset {
    int dx = 0;
    int dy = 0;
    bool operator==(const Offset&) const = default;
};

// Where the stations of one place sit around its centre: one at the centre, two side by side,
// more on a circle. Neighbouring slots are `spacing` map units apart or more, and no two share a
// position.
std::vector<Offset> ClusterSlots(int count, int spacing);

// The radius of that arrangement.
double ClusterRadius(int count, int spacing);

// Gives each station of a place a slot: the station whose line leaves towards a side gets the
// slot on that side. `directions` are, per station, the sum of unit vectors towards its line's
// neighbours; the result is the slot index per station.
std::vector<int> AssignSlots(std::span<const Offset> slots, std::span<const PlanePoint> directions);

// Pushes places apart until the centres of every two are at least their radii plus `gap` apart
// (or `rounds` passes are done), keeping every centre inside `box` less its radius.
void SpreadApart(std::vector<PlanePoint>& centres, std::span<const double> radii, double gap,
                 const ScreenBox& box, int rounds);

// The smallest distance between two centres, less their radii.
double SmallestClearance(std::span<const PlanePoint> centres, std::span<const double> radii);

}  // namespace qv::import
