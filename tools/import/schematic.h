#pragma once

#include "schematic_records.h"

namespace qv::import {

// Lays the network on an octilinear grid: the stations where lines meet, fork or end are put on
// grid nodes near their places, the runs between them routed one after another along grid
// edges at 0, 45 and 90 degrees (few bends, no shared grid edge, no way through another
// station), the stations of a run spread evenly along it, and lines sharing a run drawn side by
// side, `separation` apart, in one order. Integer costs and fixed tie-breaks: the same request
// gives the same layout.
SchematicLayout LayOutSchematic(const SchematicRequest& request);

}  // namespace qv::import
