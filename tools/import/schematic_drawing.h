#pragma once

#include <vector>

#include "schematic_grid.h"
#include "schematic_records.h"

namespace qv::import::schematic {

// The layout of the request's line records from the routed runs: `nodeOf` gives each place's
// grid node (negative: none) on a grid `width` nodes wide; `unrouted` is passed on.
SchematicLayout DrawSchematic(const SchematicRequest& request, const std::vector<Run>& runs,
                              const std::vector<int>& nodeOf, int width, int unrouted);

}  // namespace qv::import::schematic
