#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "schematic_board.h"
#include "schematic_cost.h"
#include "schematic_queue.h"

// The cheapest way for one run over the free edges of the grid.
namespace qv::import::schematic {

// A run's ends and what its steps weigh.
struct WayRequest {
    int firstNode = -1;  // where the first end is placed, or -1
    int lastNode = -1;
    // Where an end is not placed: the free nodes it may take, each with its cost.
    std::vector<std::pair<int, int>> starts;
    std::vector<std::pair<int, int>> ends;
    // Per port of a placed end, as seen from it: what leaving by it costs, -1 where it may not.
    std::array<int, 8> startPorts{};
    std::array<int, 8> endPorts{};
    // Per port of each end: what leaving by it costs more than by the port kept for the run.
    std::array<int, 8> startOtherPort{};
    std::array<int, 8> endOtherPort{};
    int need = 0;               // the steps the way takes at least
    std::span<const int> away;  // per node: what a step onto it costs more
    TurnCosts turns;
    // What crossing the run that passes a node costs more, with the steps taken so far; none:
    // nothing.
    std::function<int(int steps, int node)> crossing;
    // What turning by 90 degrees between two diagonal steps round a station at the node between
    // their outer ends costs more: drawn, the line passes that station half a step away.
    int wrap = 0;
};

// Keeps its tables from search to search: most searches are small, and allocating was a tenth
// of their time.
class WaySearch {
  public:
    // The nodes of the cheapest way from the first end to the last, over free grid edges,
    // crossing other runs only straight over and passing no station, with a node where it
    // crosses another run counting as no step; none where no way is free. `searched` counts
    // the states taken (not those of the walk that makes sure some way is free: its answer,
    // unlike its length, is the same however it walks).
    std::optional<std::vector<GridPoint>> Cheapest(const Board& board, const WayRequest& request,
                                                   std::int64_t& searched);

  private:
    // Whether some way joins the ends under the same rules of steps and turns, whatever it
    // costs and however few steps it takes: depth-first walks over (node, direction) from both
    // ends, a step of each in turn, the steps towards the other end first. A search with no way
    // tries every state it can reach, which took two thirds of a large layout's states; an end
    // shut in is found out after its own pocket.
    bool AnyWay(const Board& board, const WayRequest& request);
    void Forget();

    std::vector<std::int32_t> best_;  // per state: its cost, kUnreachedState where not reached
    std::vector<std::int32_t> from_;  // per state: the state before it, -1 at a start
    BoundQueue queue_;
    std::vector<std::size_t> touched_;  // the states reached
    std::vector<int> targets_;          // per node: the cost of ending there, -1 where none
    std::vector<int> targetNodes_;      // where targets_ holds one
    // AnyWay's: per node, the directions the walk forwards arrived by, those the walk back
    // leaves by, and whether it is a start; the nodes where any is set; each walk's stack of
    // nodes with a direction.
    std::vector<std::uint8_t> arrived_;
    std::vector<std::uint8_t> leaving_;
    std::vector<std::uint8_t> starts_;
    std::vector<int> walkedNodes_;
    std::vector<std::pair<int, int>> ahead_;
    std::vector<std::pair<int, int>> behind_;
};

}  // namespace qv::import::schematic
