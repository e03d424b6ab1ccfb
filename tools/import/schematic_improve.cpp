#include "schematic_improve.h"

#include <bit>
#include <optional>

namespace qv::import::schematic {

namespace {

// Whether another run crosses the path at the node: a node of the path holds two of the path's
// own directions, more are another run's.
bool Crossed(const Board& board, const Run& run, int step) {
    const int node = board.Node(run.path[static_cast<std::size_t>(step)]);
    return std::popcount(static_cast<unsigned>(board.through[static_cast<std::size_t>(node)])) > 2;
}

int Gap(const Run& run, std::size_t link) {
    return run.gaps.empty() ? 1 : run.gaps[link];
}

// The steps of the run's stations with station i at `step` and those beyond it pushed on (or,
// going back, those before it pushed back) as far as their links need, none on a crossing;
// nothing where the run's ends leave no room.
std::optional<std::vector<int>> Pushed(const Board& board, const Run& run, std::size_t i,
                                       int step) {
    std::vector<int> steps = run.stationSteps;
    const int last = static_cast<int>(run.path.size()) - 1;
    const int way = step > steps[i] ? 1 : -1;
    steps[i] = step;
    for (std::size_t j = i;; j += static_cast<std::size_t>(way)) {
        if (steps[j] <= 0 || steps[j] >= last) {
            return std::nullopt;
        }
        while (Crossed(board, run, steps[j])) {
            steps[j] += way;
            if (steps[j] <= 0 || steps[j] >= last) {
                return std::nullopt;
            }
        }
        const std::size_t next = j + static_cast<std::size_t>(way);
        const int need = way > 0 ? Gap(run, j) : Gap(run, next);
        if ((steps[next] - steps[j]) * way >= need) {
            return steps;
        }
        if (next == 0 || next + 1 == run.places.size()) {
            return std::nullopt;
        }
        steps[next] = steps[j] + way * need;
    }
}

void PlaceAlong(Board& board, const Run& run) {
    for (std::size_t i = 1; i + 1 < run.places.size(); ++i) {
        Unplace(board, run.places[i]);
    }
    for (std::size_t i = 1; i + 1 < run.places.size(); ++i) {
        Place(board, run.places[i],
              board.Node(run.path[static_cast<std::size_t>(run.stationSteps[i])]));
    }
}

}  // namespace

bool SlideStations(Board& board, RunNetwork& network, const CostModel& model,
                   std::int64_t& current) {
    bool moved = false;
    for (Run& run : network.runs) {
        for (std::size_t i = 1; !run.path.empty() && i + 1 < run.places.size(); ++i) {
            for (const int shift : {-1, 1, -2, 2, -3, 3}) {
                const std::optional<std::vector<int>> steps =
                    Pushed(board, run, i, run.stationSteps[i] + shift);
                if (!steps) {
                    continue;
                }
                const std::vector<int> before = run.stationSteps;
                run.stationSteps = *steps;
                PlaceAlong(board, run);
                if (const std::int64_t cost = LayoutCost(board, network, model); cost < current) {
                    current = cost;
                    moved = true;
                    break;
                }
                run.stationSteps = before;
                PlaceAlong(board, run);
            }
        }
    }
    return moved;
}

}  // namespace qv::import::schematic
