#pragma once

#include <vector>

#include "schematic_grid.h"
#include "schematic_records.h"

// The network as runs: stretches of line between stations where lines meet, fork or end.
namespace qv::import::schematic {

// Two places next to each other on some line record, with the records that link them.
struct PlaceEdge {
    int a = 0;  // a < b
    int b = 0;
    std::vector<int> chains;  // sorted
};

struct RunNetwork {
    std::vector<PlaceEdge> edges;
    std::vector<std::vector<int>> edgesAt;  // per place: its edges
    std::vector<Run> runs;
};

// A place where lines meet, fork or end, or where the set of line records changes, is a
// junction; a loop without one gets one, and a run back to its own start or a second run
// between the same two junctions gets its middle place as a junction.
RunNetwork FindRuns(const SchematicRequest& request);

// The run numbers, those with more line records first, then those between busier junctions,
// then the longer ones.
std::vector<std::size_t> DefaultOrder(const RunNetwork& network);

}  // namespace qv::import::schematic
