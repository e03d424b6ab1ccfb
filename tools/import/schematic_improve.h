#pragma once

#include <cstdint>

#include "schematic_board.h"
#include "schematic_cost.h"
#include "schematic_runs.h"

// Small changes to a routed layout, each kept only where the layout's cost drops.
namespace qv::import::schematic {

// Moves stations along their run's path by one step, between their neighbours and never onto a
// node where another run crosses, while that lowers `current` (the layout's cost, updated).
// Whether any moved.
bool SlideStations(Board& board, RunNetwork& network, const CostModel& model,
                   std::int64_t& current);

}  // namespace qv::import::schematic
