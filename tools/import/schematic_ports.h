#pragma once

#include <functional>
#include <map>
#include <span>
#include <vector>

#include "schematic_grid.h"
#include "schematic_turns.h"

// Which of a station's eight ports the runs leaving it take, so that they keep their order.
namespace qv::import::schematic {

// Ports (0 east, growing as the angles do) for runs leaving one station in the given headings
// (radians): distinct, in the headings' order round the station, the least turned from them.
// Empty for more than eight runs.
std::vector<int> PortsInOrder(std::span<const double> headings);

// Ports as PortsInOrder gives them, where the lines through the station bend least too: each
// run costs `turns.otherPort` per 45 degrees it is turned from its heading, and each line that
// two runs share (`lines`: per run, its line records, sorted) the bend it makes between their
// ports. Ports where a line turns sharply are taken only where no others keep the order.
std::vector<int> PortsInOrderForLines(std::span<const double> headings,
                                      std::span<const std::vector<int>> lines,
                                      const TurnCosts& turns);

// Whether the headings, read round the ports they leave by, turn once round at most.
bool InCyclicOrder(const std::map<int, double>& headingByPort);

// Gives each run the ports at its two ends that PortsInOrder gives the runs of each junction;
// `heading` is the direction from one place towards another.
void ReservePorts(std::vector<Run>& runs, const std::function<double(int, int)>& heading);

}  // namespace qv::import::schematic
