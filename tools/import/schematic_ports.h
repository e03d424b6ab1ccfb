#pragma once

#include <functional>
#include <map>
#include <span>
#include <vector>

#include "schematic_grid.h"

// Which of a station's eight ports the runs leaving it take, so that they keep their order.
namespace qv::import::schematic {

// Ports (0 east, growing as the angles do) for runs leaving one station in the given headings
// (radians): distinct, in the headings' order round the station, the least turned from them.
// Empty for more than eight runs.
std::vector<int> PortsInOrder(std::span<const double> headings);

// Whether the headings, read round the ports they leave by, turn once round at most.
bool InCyclicOrder(const std::map<int, double>& headingByPort);

// Gives each run the ports at its two ends that PortsInOrder gives the runs of each junction;
// `heading` is the direction from one place towards another.
void ReservePorts(std::vector<Run>& runs, const std::function<double(int, int)>& heading);

}  // namespace qv::import::schematic
