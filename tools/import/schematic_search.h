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
};

// Keeps its tables from search to search: most searches are small, and allocating was a tenth
// of their time.
class WaySearch {
  public:
    // The nodes of the cheapest way from the first end to the last, over free grid edges,
    // crossing other runs only straight over and passing no station, with a node where it
    // crosses another run counting as no step; none where no way is free. `searched` counts
    // the states taken.
    std::optional<std::vector<GridPoint>> Cheapest(const Board& board, const WayRequest& request,
                                                   std::int64_t& searched);

  private:
    // Whether some way joins the ends under the same rules of steps and turns, whatever it
    // costs and however few steps it takes: a depth-first walk over (node, direction), the
    // steps towards the last end first. A search with no way tries every state it can reach,
    // which took two thirds of a large layout's states.
    bool AnyWay(const Board& board, const WayRequest& request, std::int64_t& searched);
    void Forget();

    std::vector<std::int32_t> best_;  // per state: its cost, kUnreachedState where not reached
    std::vector<std::int32_t> from_;  // per state: the state before it, -1 at a start
    BoundQueue queue_;
    std::vector<std::size_t> touched_;       // the states reached
    std::vector<int> targets_;               // per node: the cost of ending there, -1 where none
    std::vector<int> targetNodes_;           // where targets_ holds one
    std::vector<std::uint8_t> walked_;       // per node: the directions AnyWay arrived by
    std::vector<int> walkedNodes_;           // where walked_ holds some
    std::vector<std::pair<int, int>> walk_;  // AnyWay's stack: node, direction
};

}  // namespace qv::import::schematic
