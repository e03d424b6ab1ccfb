#include "schematic.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <queue>
#include <set>
#include <tuple>

#include "schematic_course.h"
#include "schematic_drawing.h"
#include "schematic_grid.h"
#include "schematic_ports.h"

namespace qv::import {

namespace {

using schematic::Change;
using schematic::CountLinkSteps;
using schematic::DirectionOf;
using schematic::DistanceFromCourse;
using schematic::DrawSchematic;
using schematic::InCyclicOrder;
using schematic::kNoDirection;
using schematic::kSteps;
using schematic::Opposite;
using schematic::ReservePorts;
using schematic::Run;
using schematic::SpreadAlong;

constexpr int kStraightStep = 10;
constexpr int kDiagonalStep = 14;
// By the change of direction in steps of 45 degrees: none, 45, 90, 135 (a sharp turn).
constexpr std::array<int, 5> kBendCost = {0, 20, 30, 400, 100000};
constexpr int kAwayCost = 8;           // per grid unit a step lies off the run's own course
constexpr int kDisplacementCost = 30;  // per grid unit away from the place's own spot
constexpr std::array<int, 3> kSearchRadii = {3, 6, 12};
constexpr int kRoutingRounds = 4;
// How a run may leave or enter a junction, from the strictest.
constexpr int kKeptOrder = 0;
constexpr int kAnyPort = 1;
// A run leaving a junction by another port than the one that keeps the runs there in order
// with the least turning.
constexpr int kOtherPortCost = 20;
constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::max();

int StepCost(int direction) {
    return direction % 2 == 0 ? kStraightStep : kDiagonalStep;
}

// Two places next to each other on some line record, with the records that link them.
struct PlaceEdge {
    int a = 0;  // a < b
    int b = 0;
    std::vector<int> chains;
};

class Router {
  public:
    // Routes the runs in `order` (run numbers), or, where it is empty, those with more line
    // records first, then those between busier junctions, then the longer ones.
    Router(const SchematicRequest& request, const std::vector<std::size_t>& order)
        : request_(request), order_(order) {
        width_ = static_cast<int>((request.box.right - request.box.left) / request.grid) + 1;
        height_ = static_cast<int>((request.box.bottom - request.box.top) / request.grid) + 1;
        const auto nodes = static_cast<std::size_t>(width_ * height_);
        edgeUsed_.assign(nodes * 8, false);
        through_.assign(nodes, 0);
        station_.assign(nodes, -1);
        ports_.assign(nodes, 0);
        nodeOf_.assign(request.places.size(), -1);
    }

    SchematicLayout Run() {
        FindEdges();
        FindRuns();
        ReservePorts(runs_, [this](int from, int to) { return Heading(from, to); });
        CountLinkSteps(runs_, request_.places, request_.roomForCrossings);
        if (order_.size() != runs_.size()) {
            order_ = DefaultOrder();
        }
        for (const std::size_t index : order_) {
            if (Route(runs_[index]) != kKeptOrder) {
                failed_.push_back(index);
            }
        }
        return DrawSchematic(request_, runs_, nodeOf_, width_, unrouted_);
    }

    const std::vector<std::size_t>& Order() const { return order_; }
    // The runs that found no way keeping the order round their stations, in routing order.
    const std::vector<std::size_t>& Failed() const { return failed_; }

  private:
    std::vector<std::size_t> DefaultOrder() const {
        std::vector<std::size_t> order(runs_.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            order[i] = i;
        }
        const auto degree = [&](int place) { return static_cast<int>(edgesAt_[place].size()); };
        std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
            const struct Run& a = runs_[x];
            const struct Run& b = runs_[y];
            const auto key = [&](const struct Run& r) {
                return std::make_tuple(r.chains.size(),
                                       degree(r.places.front()) + degree(r.places.back()),
                                       r.places.size());
            };
            return key(a) > key(b);
        });
        return order;
    }

    int Node(GridPoint p) const { return p.y * width_ + p.x; }
    GridPoint At(int node) const { return {node % width_, node / width_}; }
    bool Inside(GridPoint p) const { return p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_; }

    // Where the place would lie on the grid, in grid units.
    std::pair<double, double> Ideal(int place) const {
        const PlanePoint& p = request_.places[static_cast<std::size_t>(place)];
        return {(p.x - request_.box.left) / request_.grid,
                (p.y - request_.box.top) / request_.grid};
    }

    void FindEdges() {
        std::map<std::pair<int, int>, int> edgeOf;
        edgesAt_.assign(request_.places.size(), {});
        for (std::size_t c = 0; c < request_.chains.size(); ++c) {
            const PlaceChain& chain = request_.chains[c];
            const std::size_t n = chain.places.size();
            const std::size_t links = chain.isRing && n > 2 ? n : n - 1;
            for (std::size_t i = 0; i < links; ++i) {
                const int from = chain.places[i];
                const int to = chain.places[(i + 1) % n];
                if (from == to) {
                    continue;
                }
                const auto key = std::minmax(from, to);
                auto [found, added] = edgeOf.emplace(key, static_cast<int>(edges_.size()));
                if (added) {
                    edges_.push_back({key.first, key.second, {}});
                    edgesAt_[static_cast<std::size_t>(key.first)].push_back(found->second);
                    edgesAt_[static_cast<std::size_t>(key.second)].push_back(found->second);
                }
                std::vector<int>& chains = edges_[static_cast<std::size_t>(found->second)].chains;
                if (std::find(chains.begin(), chains.end(), static_cast<int>(c)) == chains.end()) {
                    chains.push_back(static_cast<int>(c));
                }
            }
        }
        for (PlaceEdge& edge : edges_) {
            std::sort(edge.chains.begin(), edge.chains.end());
        }
    }

    bool IsJunction(int place) const {
        const std::vector<int>& at = edgesAt_[static_cast<std::size_t>(place)];
        return at.size() != 2 ||
               edges_[static_cast<std::size_t>(at[0])].chains !=
                   edges_[static_cast<std::size_t>(at[1])].chains ||
               junction_[static_cast<std::size_t>(place)];
    }

    void FindRuns() {
        junction_.assign(request_.places.size(), false);
        for (bool again = true; again;) {
            again = false;
            runs_.clear();
            std::vector<bool> used(edges_.size(), false);
            const auto walk = [&](int start, int firstEdge) {
                struct Run run;
                run.places.push_back(start);
                int here = start;
                int edge = firstEdge;
                while (true) {
                    used[static_cast<std::size_t>(edge)] = true;
                    const PlaceEdge& e = edges_[static_cast<std::size_t>(edge)];
                    run.chains = e.chains;
                    here = e.a == here ? e.b : e.a;
                    run.places.push_back(here);
                    if (IsJunction(here)) {
                        break;
                    }
                    const std::vector<int>& at = edgesAt_[static_cast<std::size_t>(here)];
                    edge = at[0] == edge ? at[1] : at[0];
                }
                return run;
            };
            for (std::size_t p = 0; p < request_.places.size(); ++p) {
                if (!IsJunction(static_cast<int>(p)) || edgesAt_[p].empty()) {
                    continue;
                }
                for (const int edge : edgesAt_[p]) {
                    if (!used[static_cast<std::size_t>(edge)]) {
                        runs_.push_back(walk(static_cast<int>(p), edge));
                    }
                }
            }
            // A loop without junctions gets one; a run back to its own start or a second run
            // between the same two junctions gets its middle place as a junction.
            for (std::size_t e = 0; e < edges_.size(); ++e) {
                if (!used[e]) {
                    junction_[static_cast<std::size_t>(edges_[e].a)] = true;
                    again = true;
                    break;
                }
            }
            std::set<std::pair<int, int>> ends;
            for (const struct Run& run : runs_) {
                const auto key = std::minmax(run.places.front(), run.places.back());
                if ((key.first == key.second || !ends.insert(key).second) &&
                    run.places.size() > 2) {
                    junction_[static_cast<std::size_t>(run.places[run.places.size() / 2])] = true;
                    again = true;
                }
            }
        }
    }

    // The cost of a line record arriving at or leaving a placed station through `port`, from
    // the bends it makes there with the runs already drawn through that station.
    int StationBend(int node, const std::vector<int>& chains, int port) const {
        int cost = 0;
        const auto found = portChains_.find(node);
        if (found == portChains_.end()) {
            return 0;
        }
        for (const auto& [otherPort, otherChains] : found->second) {
            for (const int chain : chains) {
                if (std::binary_search(otherChains.begin(), otherChains.end(), chain)) {
                    cost += kBendCost[static_cast<std::size_t>(Change(Opposite(otherPort), port))];
                }
            }
        }
        return cost;
    }

    // The direction from one place towards another, true to the geography, as an angle that
    // grows the way the port numbers do.
    double Heading(int from, int to) const {
        const auto [ax, ay] = Ideal(from);
        const auto [bx, by] = Ideal(to);
        return std::atan2(by - ay, bx - ax);
    }

    int OtherPortCost(const struct Run& run, std::size_t end, int port) const {
        return way_ != kAnyPort && run.ports[end] >= 0 && run.ports[end] != port ? kOtherPortCost
                                                                                 : 0;
    }

    // Whether a run leaving the station at `node` through `port` towards `heading` keeps the
    // runs there in their geographic order round it.
    bool KeepsOrder(int node, int port, double heading) const {
        const auto found = portHeading_.find(node);
        if (way_ == kAnyPort || found == portHeading_.end()) {
            return true;
        }
        std::map<int, double> around = found->second;
        around[port] = heading;
        return InCyclicOrder(around);
    }

    bool EdgeFree(int node, int direction) const {
        if (edgeUsed_[static_cast<std::size_t>(node * 8 + direction)]) {
            return false;
        }
        if (direction % 2 == 1) {
            // The other diagonal of the same square.
            const GridPoint p = At(node);
            const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
            const GridPoint corner{p.x + step.x, p.y};
            const int crossing = DirectionOf(corner, {p.x, p.y + step.y});
            if (edgeUsed_[static_cast<std::size_t>(Node(corner) * 8 + crossing)]) {
                return false;
            }
        }
        return true;
    }

    std::vector<std::pair<int, int>> Candidates(int place, int radius) const {
        std::vector<std::pair<int, int>> found;  // node, cost
        const auto [ix, iy] = Ideal(place);
        const int cx = static_cast<int>(std::lround(ix));
        const int cy = static_cast<int>(std::lround(iy));
        for (int y = cy - radius; y <= cy + radius; ++y) {
            for (int x = cx - radius; x <= cx + radius; ++x) {
                const GridPoint p{x, y};
                if (!Inside(p)) {
                    continue;
                }
                const int node = Node(p);
                if (station_[static_cast<std::size_t>(node)] >= 0 ||
                    through_[static_cast<std::size_t>(node)] != 0) {
                    continue;
                }
                const double distance = std::hypot(x - ix, y - iy);
                found.emplace_back(node,
                                   static_cast<int>(std::lround(distance * kDisplacementCost)));
            }
        }
        return found;
    }

    void Place(int place, int node) {
        nodeOf_[static_cast<std::size_t>(place)] = node;
        station_[static_cast<std::size_t>(node)] = place;
    }

    // The cheapest way for the run on the grid with at least one step per place along it.
    bool Search(struct Run& run, int radius) {
        const int first = run.places.front();
        const int last = run.places.back();
        int need = 0;
        for (const int gap : run.gaps) {
            need += gap;
        }
        const int levels = need + 1;
        const auto nodes = width_ * height_;
        const auto stateOf = [&](int node, int direction, int steps) {
            return (static_cast<std::size_t>(node) * 9 + static_cast<std::size_t>(direction)) *
                       static_cast<std::size_t>(levels) +
                   static_cast<std::size_t>(steps);
        };
        std::vector<std::int64_t> best(static_cast<std::size_t>(nodes) * 9 * levels, kUnreached);
        std::vector<std::int64_t> from(best.size(), -1);
        using Entry = std::pair<std::int64_t, std::size_t>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;

        // Steps far from the run's own course cost more: the stations along it stay near theirs.
        const std::vector<int> away = DistanceFromCourse(Spots(run), width_, height_, kAwayCost);
        const double startHeading = Heading(run.places[0], run.places[1]);
        const double endHeading = Heading(last, run.places[run.places.size() - 2]);
        std::map<int, int> targets;  // node, cost of ending there
        const int firstNode = nodeOf_[static_cast<std::size_t>(first)];
        const int lastNode = nodeOf_[static_cast<std::size_t>(last)];
        if (firstNode >= 0) {
            best[stateOf(firstNode, kNoDirection, 0)] = 0;
            queue.push({0, stateOf(firstNode, kNoDirection, 0)});
        } else {
            for (const auto& [node, cost] : Candidates(first, radius)) {
                best[stateOf(node, kNoDirection, 0)] = cost;
                queue.push({cost, stateOf(node, kNoDirection, 0)});
            }
        }
        if (lastNode >= 0) {
            targets[lastNode] = 0;
        } else if (first != last) {
            for (const auto& [node, cost] : Candidates(last, radius)) {
                targets[node] = cost;
            }
        }
        std::int64_t bestEnd = kUnreached;
        std::size_t endState = 0;
        int endNode = -1;
        while (!queue.empty()) {
            const auto [cost, state] = queue.top();
            queue.pop();
            if (cost != best[state] || cost >= bestEnd) {
                continue;
            }
            const int steps = static_cast<int>(state % static_cast<std::size_t>(levels));
            const int direction = static_cast<int>((state / static_cast<std::size_t>(levels)) % 9);
            const int node = static_cast<int>(state / static_cast<std::size_t>(levels) / 9);
            const bool atStart = direction == kNoDirection;
            const bool crossingHere = !atStart && through_[static_cast<std::size_t>(node)] != 0;
            for (int next = 0; next < 8; ++next) {
                std::int64_t step = cost + StepCost(next);
                if (!atStart) {
                    const int change = Change(direction, next);
                    if (change >= 3 || (crossingHere && change != 0)) {
                        continue;
                    }
                    step += kBendCost[static_cast<std::size_t>(change)];
                } else {
                    step += OtherPortCost(run, 0, next);
                }
                if (atStart && firstNode >= 0) {
                    if (((ports_[static_cast<std::size_t>(node)] >> next) & 1) ||
                        !KeepsOrder(node, next, startHeading)) {
                        continue;
                    }
                    step += StationBend(node, run.chains, next);
                }
                const GridPoint p = At(node);
                const GridPoint q{p.x + kSteps[static_cast<std::size_t>(next)].x,
                                  p.y + kSteps[static_cast<std::size_t>(next)].y};
                if (!Inside(q) || !EdgeFree(node, next)) {
                    continue;
                }
                const int target = Node(q);
                step += away[static_cast<std::size_t>(target)];
                // A node where the run crosses another can hold none of its stations.
                const int reached = std::min(
                    steps + (through_[static_cast<std::size_t>(target)] != 0 ? 0 : 1), need);
                if (const auto end = targets.find(target);
                    end != targets.end() && reached >= need) {
                    std::int64_t total = step + end->second + OtherPortCost(run, 1, Opposite(next));
                    if (lastNode >= 0) {
                        if (((ports_[static_cast<std::size_t>(target)] >> Opposite(next)) & 1) ||
                            !KeepsOrder(target, Opposite(next), endHeading)) {
                            continue;
                        }
                        total += StationBend(target, run.chains, Opposite(next));
                    }
                    if (total < bestEnd) {
                        bestEnd = total;
                        endState = state;
                        endNode = target;
                    }
                }
                if (station_[static_cast<std::size_t>(target)] >= 0) {
                    continue;
                }
                if (const int mask = through_[static_cast<std::size_t>(target)]; mask != 0) {
                    // Cross straight over another run, never along it or turning on it.
                    const int across = next % 4;
                    bool straight = false;
                    for (int d = 0; d < 4; ++d) {
                        straight = straight || (mask == ((1 << d) | (1 << (d + 4))) && d != across);
                    }
                    if (!straight) {
                        continue;
                    }
                }
                const std::size_t nextState = stateOf(target, next, reached);
                if (step < best[nextState]) {
                    best[nextState] = step;
                    from[nextState] = static_cast<std::int64_t>(state);
                    queue.push({step, nextState});
                }
            }
        }
        if (endNode < 0) {
            return false;
        }
        std::vector<GridPoint> path{At(endNode)};
        for (std::int64_t state = static_cast<std::int64_t>(endState); state >= 0;
             state = from[static_cast<std::size_t>(state)]) {
            path.push_back(At(static_cast<int>(static_cast<std::size_t>(state) /
                                               static_cast<std::size_t>(levels) / 9)));
        }
        std::reverse(path.begin(), path.end());
        run.path = std::move(path);
        return true;
    }

    void Commit(struct Run& run) {
        const int first = run.places.front();
        const int last = run.places.back();
        if (nodeOf_[static_cast<std::size_t>(first)] < 0) {
            Place(first, Node(run.path.front()));
        }
        if (nodeOf_[static_cast<std::size_t>(last)] < 0) {
            Place(last, Node(run.path.back()));
        }
        std::vector<bool> crossed;
        for (const GridPoint& p : run.path) {
            crossed.push_back(through_[static_cast<std::size_t>(Node(p))] != 0);
        }
        for (std::size_t i = 0; i + 1 < run.path.size(); ++i) {
            const int a = Node(run.path[i]);
            const int b = Node(run.path[i + 1]);
            const int d = DirectionOf(run.path[i], run.path[i + 1]);
            edgeUsed_[static_cast<std::size_t>(a * 8 + d)] = true;
            edgeUsed_[static_cast<std::size_t>(b * 8 + Opposite(d))] = true;
            if (i > 0) {
                through_[static_cast<std::size_t>(a)] |= 1 << d;
            }
            if (i + 2 < run.path.size()) {
                through_[static_cast<std::size_t>(b)] |= 1 << Opposite(d);
            }
            if (i == 0) {
                ports_[static_cast<std::size_t>(a)] |= 1 << d;
                portChains_[a][d] = run.chains;
                portHeading_[a][d] = Heading(first, run.places[1]);
            }
            if (i + 2 == run.path.size()) {
                ports_[static_cast<std::size_t>(b)] |= 1 << Opposite(d);
                portChains_[b][Opposite(d)] = run.chains;
                portHeading_[b][Opposite(d)] = Heading(last, run.places[run.places.size() - 2]);
            }
        }
        // The places along the run, each on the node nearest its own spot, in their order.
        const auto count = static_cast<int>(run.places.size()) - 1;
        run.stationSteps = SpreadAlong(run.path, Spots(run), crossed, run.gaps);
        for (int i = 1; i < count; ++i) {
            const int node = Node(
                run.path[static_cast<std::size_t>(run.stationSteps[static_cast<std::size_t>(i)])]);
            Place(run.places[static_cast<std::size_t>(i)], node);
        }
    }

    // The places of a run where they would lie on the grid, in grid units.
    std::vector<PlanePoint> Spots(const struct Run& run) const {
        std::vector<PlanePoint> spots;
        for (const int place : run.places) {
            const auto [x, y] = Ideal(place);
            spots.push_back({x, y});
        }
        return spots;
    }

    // Which way the run was drawn: keeping the order round its stations (preferring the ports
    // kept for it), through any free ports, or (kAnyPort + 1) straight.
    int Route(struct Run& run) {
        for (const int way : {kKeptOrder, kAnyPort}) {
            way_ = way;
            for (const int radius : kSearchRadii) {
                if (Search(run, radius)) {
                    Commit(run);
                    return way;
                }
            }
        }
        // No free way: each place on the free node nearest its spot, joined straight.
        ++unrouted_;
        for (const int place : run.places) {
            if (nodeOf_[static_cast<std::size_t>(place)] >= 0) {
                continue;
            }
            for (int radius = 1; radius <= width_ + height_; ++radius) {
                const auto candidates = Candidates(place, radius);
                if (!candidates.empty()) {
                    Place(place, std::min_element(candidates.begin(), candidates.end(),
                                                  [](const auto& x, const auto& y) {
                                                      return x.second < y.second;
                                                  })
                                     ->first);
                    break;
                }
            }
        }
        run.path.clear();
        return kAnyPort + 1;
    }

    const SchematicRequest& request_;
    std::vector<std::size_t> order_;
    std::vector<std::size_t> failed_;
    int width_ = 0;
    int height_ = 0;
    std::vector<PlaceEdge> edges_;
    std::vector<std::vector<int>> edgesAt_;
    std::vector<bool> junction_;
    std::vector<struct Run> runs_;
    std::vector<bool> edgeUsed_;  // per node and direction
    std::vector<int> through_;    // per node: directions of runs passing it
    std::vector<int> station_;    // per node: the place drawn there, or -1
    std::vector<int> ports_;      // per node: directions runs leave a station by
    std::map<int, std::map<int, std::vector<int>>> portChains_;
    std::map<int, std::map<int, double>> portHeading_;  // per station node and port
    int way_ = kKeptOrder;

    std::vector<int> nodeOf_;  // per place
    int unrouted_ = 0;
};

}  // namespace

SchematicLayout LayOutSchematic(const SchematicRequest& request) {
    // Runs that found no way keeping the order round their stations go first in the next
    // layout; the layout with the fewest such runs is kept.
    std::vector<std::size_t> order;
    std::optional<SchematicLayout> best;
    std::size_t fewest = 0;
    for (int round = 0; round < kRoutingRounds; ++round) {
        Router router(request, order);
        SchematicLayout layout = router.Run();
        const std::size_t faults = router.Failed().size();
        if (!best || faults < fewest) {
            best = std::move(layout);
            fewest = faults;
        }
        std::vector<std::size_t> next = router.Order();
        const auto move = [&next](std::size_t run, std::size_t before) {
            next.erase(std::find(next.begin(), next.end(), run));
            next.insert(std::find(next.begin(), next.end(), before), run);
        };
        for (auto failed = router.Failed().rbegin(); failed != router.Failed().rend(); ++failed) {
            move(*failed, next.front());
        }
        if (faults == 0 || next == router.Order()) {
            break;
        }
        order = std::move(next);
    }
    return std::move(*best);
}

}  // namespace qv::import
