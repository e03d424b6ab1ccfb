#include "schematic_cost.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "schematic_course.h"
#include "schematic_ports.h"

namespace qv::import::schematic {

namespace {

constexpr int kCrossingChangeCost = 600;  // per pair of links crossing on one plane only
constexpr int kOrderCost = 600;           // per junction whose runs leave in another order
constexpr int kNoWayCost = 100000;        // per run drawn straight, off the grid
// Per line record beyond the first where lines side by side turn at a station.
constexpr int kSideBySideTurnCost = 60;

// The edge of the run's link over step `step` of its path.
int EdgeAtStep(const RunNetwork& network, const Run& run, int step) {
    const auto link = std::upper_bound(run.stationSteps.begin(), run.stationSteps.end(), step) -
                      run.stationSteps.begin() - 1;
    if (link < 0 || static_cast<std::size_t>(link) + 1 >= run.places.size()) {
        return -1;
    }
    return EdgeBetween(network, run.places[static_cast<std::size_t>(link)],
                       run.places[static_cast<std::size_t>(link) + 1]);
}

std::int64_t PathCost(const Run& run, const std::vector<int>& away, int width,
                      const TurnCosts& turns) {
    if (run.path.empty()) {
        return kNoWayCost;
    }
    std::int64_t cost = 0;
    int before = kNoDirection;
    for (std::size_t s = 1; s < run.path.size(); ++s) {
        const int d = DirectionOf(run.path[s - 1], run.path[s]);
        cost += StepCost(d) + away[static_cast<std::size_t>(run.path[s].y * width + run.path[s].x)];
        if (before != kNoDirection && before != d) {
            cost += turns.bend[static_cast<std::size_t>(Change(before, d))];
            // Lines side by side turning at a station squeeze its points together.
            if (std::binary_search(run.stationSteps.begin(), run.stationSteps.end(),
                                   static_cast<int>(s) - 1)) {
                cost += kSideBySideTurnCost * static_cast<std::int64_t>(run.chains.size() - 1);
            }
        }
        before = d;
    }
    return cost;
}

// Pairs of edges crossing on the grid, each the smaller first, in order: where one run passes
// straight over another. Read off the runs' paths, as most nodes hold no run.
std::vector<std::pair<int, int>> GridCrossings(const Board& board, const RunNetwork& network) {
    std::vector<std::pair<int, int>> passing;  // node, the edge of a run passing it
    for (const Run& run : network.runs) {
        for (std::size_t s = 1; s + 1 < run.path.size(); ++s) {
            const auto node = static_cast<std::size_t>(board.Node(run.path[s]));
            // A node one run passes holds two directions.
            if (std::popcount(static_cast<unsigned>(board.through[node])) > 2 &&
                board.station[node] < 0) {
                passing.emplace_back(static_cast<int>(node),
                                     EdgeAtStep(network, run, static_cast<int>(s)));
            }
        }
    }
    std::sort(passing.begin(), passing.end());
    passing.erase(std::unique(passing.begin(), passing.end()), passing.end());
    // Sorted by node, then edge: of a node's pairs the smaller edge comes first.
    std::vector<std::pair<int, int>> found;
    for (std::size_t i = 0; i < passing.size(); ++i) {
        for (std::size_t j = i + 1; j < passing.size() && passing[j].first == passing[i].first;
             ++j) {
            if (passing[i].second >= 0) {
                found.emplace_back(passing[i].second, passing[j].second);
            }
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace

int EdgeBetween(const RunNetwork& network, int a, int b) {
    for (const int edge : network.edgesAt[static_cast<std::size_t>(a)]) {
        const PlaceEdge& e = network.edges[static_cast<std::size_t>(edge)];
        if ((e.a == a && e.b == b) || (e.a == b && e.b == a)) {
            return edge;
        }
    }
    return -1;
}

int EdgePassing(const Board& board, const RunNetwork& network, int node) {
    const GridPoint here = board.At(node);
    for (int d = 0; d < 8; ++d) {
        const int run =
            board.passedBy[static_cast<std::size_t>(node) * 8 + static_cast<std::size_t>(d)];
        if (run < 0) {
            continue;
        }
        const Run& r = network.runs[static_cast<std::size_t>(run)];
        for (std::size_t s = 1; s + 1 < r.path.size(); ++s) {
            if (r.path[s] == here) {
                return EdgeAtStep(network, r, static_cast<int>(s));
            }
        }
    }
    return -1;
}

std::set<std::pair<int, int>> PlaneCrossings(const RunNetwork& network,
                                             std::span<const PlanePoint> spots) {
    std::set<std::pair<int, int>> found;
    const std::vector<PlaceEdge>& edges = network.edges;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        for (std::size_t j = i + 1; j < edges.size(); ++j) {
            if (Cross({edges[i].a, edges[i].b}, {edges[j].a, edges[j].b}, spots)) {
                found.emplace(static_cast<int>(i), static_cast<int>(j));
            }
        }
    }
    return found;
}

int DisplacementCost(int node, int width, PlanePoint spot) {
    const double distance = std::hypot(node % width - spot.x, node / width - spot.y);
    return static_cast<int>(std::lround(distance * kDisplacementCost));
}

int StationBend(const Board& board, int node, const std::vector<int>& chains, int port,
                const TurnCosts& turns) {
    int cost = 0;
    const auto found = board.portChains.find(node);
    if (found == board.portChains.end()) {
        return 0;
    }
    for (const auto& [otherPort, otherChains] : found->second) {
        for (const int chain : chains) {
            if (std::binary_search(otherChains.begin(), otherChains.end(), chain)) {
                cost += turns.bend[static_cast<std::size_t>(Change(Opposite(otherPort), port))];
            }
        }
    }
    return cost;
}

std::vector<std::pair<int, int>> FreeNodesNear(const Board& board, PlanePoint spot, int radius) {
    std::vector<std::pair<int, int>> found;
    const int cx = static_cast<int>(std::lround(spot.x));
    const int cy = static_cast<int>(std::lround(spot.y));
    for (int y = std::max(0, cy - radius); y <= std::min(board.height - 1, cy + radius); ++y) {
        for (int x = std::max(0, cx - radius); x <= std::min(board.width - 1, cx + radius); ++x) {
            const int node = board.Node({x, y});
            if (board.station[static_cast<std::size_t>(node)] < 0 &&
                board.through[static_cast<std::size_t>(node)] == 0) {
                found.emplace_back(node, DisplacementCost(node, board.width, spot));
            }
        }
    }
    return found;
}

CostModel MakeCostModel(std::span<const PlanePoint> spots, std::set<std::pair<int, int>> crossings,
                        const TurnCosts& turns, std::vector<std::vector<int>> away) {
    CostModel model;
    model.turns = turns;
    model.spots.assign(spots.begin(), spots.end());
    model.away = std::move(away);
    model.crossings = std::move(crossings);
    return model;
}

std::int64_t LayoutCost(const Board& board, const RunNetwork& network, const CostModel& model) {
    std::int64_t cost = 0;
    // A sorted list, not a set: the layout's cost is weighed for every move tried.
    std::vector<int> junctions;
    junctions.reserve(2 * network.runs.size());
    for (std::size_t r = 0; r < network.runs.size(); ++r) {
        const Run& run = network.runs[r];
        cost += PathCost(run, model.away[r], board.width, model.turns);
        junctions.push_back(run.places.front());
        junctions.push_back(run.places.back());
    }
    std::sort(junctions.begin(), junctions.end());
    junctions.erase(std::unique(junctions.begin(), junctions.end()), junctions.end());
    for (const int place : junctions) {
        const int node = board.nodeOf[static_cast<std::size_t>(place)];
        if (node >= 0) {
            cost +=
                DisplacementCost(node, board.width, model.spots[static_cast<std::size_t>(place)]);
        }
    }
    for (const auto& [node, chainsByPort] : board.portChains) {
        for (auto one = chainsByPort.begin(); one != chainsByPort.end(); ++one) {
            for (auto other = std::next(one); other != chainsByPort.end(); ++other) {
                const int change = Change(Opposite(one->first), other->first);
                const std::int64_t lines = CountShared(one->second, other->second);
                if (change >= 3) {
                    cost += lines * kNoWayCost;
                } else if (change > 0 && lines > 1) {
                    cost += lines * model.turns.bend[static_cast<std::size_t>(change)] +
                            (lines - 1) * kSideBySideTurnCost;
                } else {
                    cost += lines * model.turns.bend[static_cast<std::size_t>(change)];
                }
            }
        }
    }
    for (const auto& [node, headings] : board.portHeading) {
        if (!InCyclicOrder(headings)) {
            cost += kOrderCost;
        }
    }
    cost += static_cast<std::int64_t>(ChangedCrossings(board, network, model).size()) *
            kCrossingChangeCost;
    return cost;
}

std::vector<std::pair<int, int>> ChangedCrossings(const Board& board, const RunNetwork& network,
                                                  const CostModel& model) {
    const std::vector<std::pair<int, int>> drawn = GridCrossings(board, network);
    std::vector<std::pair<int, int>> changed;
    std::set_symmetric_difference(drawn.begin(), drawn.end(), model.crossings.begin(),
                                  model.crossings.end(), std::back_inserter(changed));
    return changed;
}

}  // namespace qv::import::schematic
