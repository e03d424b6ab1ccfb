#pragma once

#include <array>
#include <cstdint>
#include <set>
#include <span>
#include <utility>
#include <vector>

#include "schematic_board.h"
#include "schematic_runs.h"
#include "schematic_turns.h"

// What a layout on the grid costs: integers only, so that every machine keeps the same one.
namespace qv::import::schematic {

inline constexpr int kStraightStep = 10;
inline constexpr int kDiagonalStep = 14;
inline constexpr int kAwayCost = 8;  // per grid unit a step lies off the run's own course
// The pull towards the courses while a third layout improves (LayOutSchematic): half.
inline constexpr int kLooseAwayCost = 4;
inline constexpr int kDisplacementCost = 30;  // per grid unit a junction lies from its spot

inline int StepCost(int direction) {
    return direction % 2 == 0 ? kStraightStep : kDiagonalStep;
}

// The cost of a junction drawn at `node` of a grid `width` wide, away from its spot (grid units).
int DisplacementCost(int node, int width, PlanePoint spot);

// The cost of a line record (of `chains`) arriving at or leaving the station at `node` through
// `port`, from the bends it makes there with the runs already drawn through that station.
int StationBend(const Board& board, int node, const std::vector<int>& chains, int port,
                const TurnCosts& turns);

// The nodes within `radius` grid units (in x and y) of the spot that hold no station and no
// run, each with its displacement cost.
std::vector<std::pair<int, int>> FreeNodesNear(const Board& board, PlanePoint spot, int radius);

// The edge between two places, or -1.
int EdgeBetween(const RunNetwork& network, int a, int b);

// The edge of the link of the run passing `node` between its stations, or -1 where none does.
int EdgePassing(const Board& board, const RunNetwork& network, int node);

// The pairs of edges (the smaller number first) that cross at `spots`.
std::set<std::pair<int, int>> PlaneCrossings(const RunNetwork& network,
                                             std::span<const PlanePoint> spots);

// What stays fixed while the layout changes: the runs' courses and which links are to cross.
struct CostModel {
    std::vector<std::vector<int>> away;       // per run: DistanceFromCourse of its places
    std::set<std::pair<int, int>> crossings;  // edges to cross, the smaller number first
    std::vector<PlanePoint> spots;            // per place, in grid units
    TurnCosts turns;
};

// `away` is each run's DistanceFromCourse of its places.
CostModel MakeCostModel(std::span<const PlanePoint> spots, std::set<std::pair<int, int>> crossings,
                        const TurnCosts& turns, std::vector<std::vector<int>> away);

// Bends, steps and their distance from the runs' courses, junctions' displacement and bends
// of lines through them, and, heavily, crossings gained or lost, junctions whose runs leave
// in another order and runs without a way.
std::int64_t LayoutCost(const Board& board, const RunNetwork& network, const CostModel& model);

// The pairs of edges that cross on the grid and are not to, or are to and do not.
std::vector<std::pair<int, int>> ChangedCrossings(const Board& board, const RunNetwork& network,
                                                  const CostModel& model);

}  // namespace qv::import::schematic
