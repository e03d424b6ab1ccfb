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

namespace qv::import {

namespace {

// East, south-east, south, ... : screen rows grow southwards.
constexpr std::array<GridPoint, 8> kSteps = {GridPoint{1, 0}, {1, 1},   {0, 1},  {-1, 1},
                                             {-1, 0},         {-1, -1}, {0, -1}, {1, -1}};
constexpr int kNoDirection = 8;
constexpr int kStraightStep = 10;
constexpr int kDiagonalStep = 14;
// By the change of direction in steps of 45 degrees: none, 45, 90, 135 (a sharp turn).
constexpr std::array<int, 5> kBendCost = {0, 20, 30, 400, 100000};
constexpr int kAwayCost = 8;           // per grid unit a step lies off the run's own course
constexpr int kDisplacementCost = 30;  // per grid unit away from the place's own spot
constexpr std::array<int, 3> kSearchRadii = {3, 6, 12};
constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::max();

int Opposite(int direction) {
    return (direction + 4) % 8;
}

int Change(int from, int to) {
    const int d = std::abs(from - to) % 8;
    return std::min(d, 8 - d);
}

int StepCost(int direction) {
    return direction % 2 == 0 ? kStraightStep : kDiagonalStep;
}

int DirectionOf(GridPoint from, GridPoint to) {
    const GridPoint step{(to.x > from.x) - (to.x < from.x), (to.y > from.y) - (to.y < from.y)};
    for (int d = 0; d < 8; ++d) {
        if (kSteps[static_cast<std::size_t>(d)] == step) {
            return d;
        }
    }
    return kNoDirection;
}

// Two places next to each other on some line record, with the records that link them.
struct PlaceEdge {
    int a = 0;  // a < b
    int b = 0;
    std::vector<int> chains;
};

// A run between two stations where lines meet, fork or end: the places along it, in order.
struct Run {
    std::vector<int> places;  // first and last are junctions
    std::vector<int> chains;  // the records using it, sorted
    std::vector<GridPoint> path;
    std::vector<int> stationSteps;  // step along the path of each place
};

class Router {
  public:
    explicit Router(const SchematicRequest& request) : request_(request) {
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
        for (const std::size_t index : order) {
            Route(runs_[index]);
        }
        return Draw();
    }

  private:
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
        const int need = static_cast<int>(run.places.size()) - 1;
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
        std::vector<int> away(static_cast<std::size_t>(nodes), 0);
        for (int node = 0; node < nodes; ++node) {
            const GridPoint p = At(node);
            double nearest = std::numeric_limits<double>::infinity();
            for (std::size_t i = 0; i + 1 < run.places.size(); ++i) {
                const auto [ax, ay] = Ideal(run.places[i]);
                const auto [bx, by] = Ideal(run.places[i + 1]);
                const double dx = bx - ax;
                const double dy = by - ay;
                const double length2 = dx * dx + dy * dy;
                const double t =
                    length2 > 0
                        ? std::clamp(((p.x - ax) * dx + (p.y - ay) * dy) / length2, 0.0, 1.0)
                        : 0.0;
                nearest = std::min(nearest, std::hypot(ax + t * dx - p.x, ay + t * dy - p.y));
            }
            away[static_cast<std::size_t>(node)] =
                static_cast<int>(std::lround(nearest * kAwayCost));
        }
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
                } else if (firstNode >= 0) {
                    if ((ports_[static_cast<std::size_t>(node)] >> next) & 1) {
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
                const int reached = std::min(steps + 1, need);
                if (const auto end = targets.find(target);
                    end != targets.end() && reached >= need) {
                    std::int64_t total = step + end->second;
                    if (lastNode >= 0) {
                        if ((ports_[static_cast<std::size_t>(target)] >> Opposite(next)) & 1) {
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
            }
            if (i + 2 == run.path.size()) {
                ports_[static_cast<std::size_t>(b)] |= 1 << Opposite(d);
                portChains_[b][Opposite(d)] = run.chains;
            }
        }
        // The places along the run, each on the node nearest its own spot, in their order.
        const auto steps = static_cast<int>(run.path.size()) - 1;
        const auto count = static_cast<int>(run.places.size()) - 1;
        run.stationSteps = SpreadAlong(run, steps, count);
        for (int i = 1; i < count; ++i) {
            const int node = Node(
                run.path[static_cast<std::size_t>(run.stationSteps[static_cast<std::size_t>(i)])]);
            Place(run.places[static_cast<std::size_t>(i)], node);
        }
    }

    // Steps 0 < s1 < ... < s(count-1) < steps for the places inside the run, least total
    // distance from their spots (ties to the earlier step).
    std::vector<int> SpreadAlong(const struct Run& run, int steps, int count) const {
        std::vector<int> chosen(static_cast<std::size_t>(count) + 1, 0);
        chosen[static_cast<std::size_t>(count)] = steps;
        const int inner = count - 1;
        if (inner <= 0) {
            return chosen;
        }
        const auto cost = [&](int i, int step) {
            const auto [ix, iy] = Ideal(run.places[static_cast<std::size_t>(i)]);
            const GridPoint p = run.path[static_cast<std::size_t>(step)];
            return static_cast<std::int64_t>(std::lround(10 * std::hypot(p.x - ix, p.y - iy)));
        };
        const auto width = static_cast<std::size_t>(steps) + 1;
        std::vector<std::int64_t> total(static_cast<std::size_t>(count) * width, kUnreached);
        std::vector<int> previous(total.size(), -1);
        const auto at = [&](int i, int step) {
            return static_cast<std::size_t>(i) * width + static_cast<std::size_t>(step);
        };
        for (int step = 1; step < steps; ++step) {
            total[at(1, step)] = cost(1, step);
        }
        for (int i = 2; i <= inner; ++i) {
            std::int64_t best = kUnreached;
            int bestStep = -1;
            for (int step = i; step < steps; ++step) {
                if (total[at(i - 1, step - 1)] < best) {
                    best = total[at(i - 1, step - 1)];
                    bestStep = step - 1;
                }
                if (best != kUnreached) {
                    total[at(i, step)] = best + cost(i, step);
                    previous[at(i, step)] = bestStep;
                }
            }
        }
        int step = -1;
        std::int64_t best = kUnreached;
        for (int s = inner; s < steps; ++s) {
            if (total[at(inner, s)] < best) {
                best = total[at(inner, s)];
                step = s;
            }
        }
        for (int i = inner; i >= 1; --i) {
            chosen[static_cast<std::size_t>(i)] = step;
            step = previous[at(i, step)];
        }
        return chosen;
    }

    void Route(struct Run& run) {
        for (const int radius : kSearchRadii) {
            if (Search(run, radius)) {
                Commit(run);
                return;
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
    }

    // Map units of a grid node.
    GridPoint MapPoint(GridPoint node) const {
        return {static_cast<int>(std::lround(request_.box.left)) + node.x * request_.grid,
                static_cast<int>(std::lround(request_.box.top)) + node.y * request_.grid};
    }

    // The offset of a line record's stroke from the run's centre line, for a segment of the
    // run going in `direction`, in map units.
    GridPoint Offset(int direction, int slot) const {
        const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
        const int amount =
            direction % 2 == 0
                ? request_.separation
                : std::max(1, static_cast<int>(std::lround(request_.separation / std::sqrt(2.0))));
        return {-step.y * slot * amount, step.x * slot * amount};
    }

    struct Stroke {
        GridPoint node;  // map units, where the run's centre line turns or a station is
        bool station = false;
        int direction = kNoDirection;  // of the segment after it
        GridPoint offset;              // of the segment after it
    };

    SchematicLayout Draw() {
        // Each pair of neighbouring places: its run and where along it.
        struct Piece {
            const struct Run* run;
            int from;  // step indices on the run's path
            int to;
        };
        std::map<std::pair<int, int>, Piece> pieces;
        for (const struct Run& run : runs_) {
            for (std::size_t i = 0; !run.path.empty() && i + 1 < run.places.size(); ++i) {
                pieces[{run.places[i], run.places[i + 1]}] = {&run, run.stationSteps[i],
                                                              run.stationSteps[i + 1]};
            }
        }
        SchematicLayout layout;
        layout.unrouted = unrouted_;
        for (std::size_t c = 0; c < request_.chains.size(); ++c) {
            const PlaceChain& chain = request_.chains[c];
            const std::size_t n = chain.places.size();
            const std::size_t links = chain.isRing && n > 2 ? n : n - 1;
            std::vector<Stroke> strokes;
            for (std::size_t i = 0; i < links; ++i) {
                const int a = chain.places[i];
                const int b = chain.places[(i + 1) % n];
                std::vector<GridPoint> nodes;
                const struct Run* run = nullptr;
                bool reversed = false;
                if (const auto f = pieces.find({a, b}); f != pieces.end()) {
                    run = f->second.run;
                    for (int s = f->second.from; s <= f->second.to; ++s) {
                        nodes.push_back(run->path[static_cast<std::size_t>(s)]);
                    }
                } else if (const auto r = pieces.find({b, a}); r != pieces.end()) {
                    run = r->second.run;
                    reversed = true;
                    for (int s = r->second.to; s >= r->second.from; --s) {
                        nodes.push_back(run->path[static_cast<std::size_t>(s)]);
                    }
                } else {
                    nodes = {At(std::max(0, nodeOf_[static_cast<std::size_t>(a)])),
                             At(std::max(0, nodeOf_[static_cast<std::size_t>(b)]))};
                }
                int slot = 0;
                if (run != nullptr) {
                    const auto position =
                        std::find(run->chains.begin(), run->chains.end(), static_cast<int>(c)) -
                        run->chains.begin();
                    slot =
                        static_cast<int>(position) - (static_cast<int>(run->chains.size()) - 1) / 2;
                }
                // The run's own direction decides which side a slot lies on.
                for (std::size_t k = 0; k + 1 < nodes.size(); ++k) {
                    const int d = DirectionOf(nodes[k], nodes[k + 1]);
                    const int runDirection = reversed ? Opposite(d) : d;
                    Stroke stroke{MapPoint(nodes[k]), k == 0, d,
                                  d == kNoDirection ? GridPoint{} : Offset(runDirection, slot)};
                    if (run == nullptr || DirectionOf(nodes[k], nodes[k + 1]) == kNoDirection ||
                        !IsGridStep(nodes[k], nodes[k + 1])) {
                        stroke.direction = kNoDirection;
                        stroke.offset = {};
                    }
                    strokes.push_back(stroke);
                }
            }
            if (!chain.isRing || n <= 2) {
                const int last = chain.places.back();
                strokes.push_back(
                    {MapPoint(At(std::max(0, nodeOf_[static_cast<std::size_t>(last)]))),
                     true,
                     kNoDirection,
                     {}});
            }
            layout.chains.push_back(Trace(strokes, chain.isRing && n > 2, n));
        }
        Separate(layout);
        return layout;
    }

    static bool IsGridStep(GridPoint a, GridPoint b) {
        return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1 && !(a == b);
    }

    // Where two offset strokes meet: the corner of the line drawn beside the centre line.
    static GridPoint Meet(GridPoint node, int inDirection, GridPoint inOffset, int outDirection,
                          GridPoint outOffset) {
        const GridPoint u = kSteps[static_cast<std::size_t>(inDirection)];
        const GridPoint v = kSteps[static_cast<std::size_t>(outDirection)];
        // node + inOffset + s u = node + outOffset + t v
        const int rx = outOffset.x - inOffset.x;
        const int ry = outOffset.y - inOffset.y;
        const int det = u.x * (-v.y) - u.y * (-v.x);
        if (det == 0) {
            return {node.x + inOffset.x, node.y + inOffset.y};
        }
        const double s = static_cast<double>(rx * (-v.y) - ry * (-v.x)) / det;
        return {node.x + inOffset.x + static_cast<int>(std::lround(s * u.x)),
                node.y + inOffset.y + static_cast<int>(std::lround(s * u.y))};
    }

    SchematicChain Trace(const std::vector<Stroke>& strokes, bool ring, std::size_t stations) {
        SchematicChain chain;
        chain.corners.assign(ring ? stations : stations - 1, {});
        const std::size_t count = strokes.size();
        int link = -1;
        for (std::size_t k = 0; k < count; ++k) {
            const Stroke& here = strokes[k];
            const bool hasBefore = ring || k > 0;
            const Stroke& before = strokes[(k + count - 1) % count];
            const bool hasAfter = here.direction != kNoDirection;
            std::vector<GridPoint> points;
            if (hasBefore && before.direction != kNoDirection && hasAfter) {
                if (Change(before.direction, here.direction) == 0 &&
                    !(before.offset == here.offset)) {
                    // A step sideways to another slot: 45 degrees out and back.
                    const GridPoint start{here.node.x + before.offset.x,
                                          here.node.y + before.offset.y};
                    const GridPoint u = kSteps[static_cast<std::size_t>(here.direction)];
                    const int shift = std::max(std::abs(here.offset.x - before.offset.x),
                                               std::abs(here.offset.y - before.offset.y));
                    const int along = here.direction % 2 == 0 ? shift : shift;
                    points = {start,
                              {here.node.x + here.offset.x + u.x * along,
                               here.node.y + here.offset.y + u.y * along}};
                } else if (Change(before.direction, here.direction) == 0) {
                    points = {{here.node.x + here.offset.x, here.node.y + here.offset.y}};
                } else {
                    points = {Meet(here.node, before.direction, before.offset, here.direction,
                                   here.offset)};
                }
            } else if (hasAfter) {
                points = {{here.node.x + here.offset.x, here.node.y + here.offset.y}};
            } else if (hasBefore && before.direction != kNoDirection) {
                points = {{here.node.x + before.offset.x, here.node.y + before.offset.y}};
            } else {
                points = {here.node};
            }
            if (here.station) {
                ++link;
                chain.stations.push_back(points.front());
                if (link > 0) {
                    // Drop a corner that is the station itself.
                    auto& corners = chain.corners[static_cast<std::size_t>(link - 1)];
                    if (!corners.empty() && corners.back() == points.front()) {
                        corners.pop_back();
                    }
                }
                for (std::size_t i = 1; i < points.size(); ++i) {
                    if (static_cast<std::size_t>(link) < chain.corners.size()) {
                        chain.corners[static_cast<std::size_t>(link)].push_back(points[i]);
                    }
                }
            } else if (link >= 0 && static_cast<std::size_t>(link) < chain.corners.size()) {
                auto& corners = chain.corners[static_cast<std::size_t>(link)];
                const bool straight =
                    hasBefore && before.direction == here.direction && before.offset == here.offset;
                if (!straight) {
                    corners.insert(corners.end(), points.begin(), points.end());
                }
            }
        }
        if (ring && !chain.corners.empty() && !chain.stations.empty()) {
            auto& corners = chain.corners.back();
            if (!corners.empty() && corners.back() == chain.stations.front()) {
                corners.pop_back();
            }
        }
        return chain;
    }

    // Stations of different records drawn on one spot: all but the first slide along their
    // line by a line's separation, leaving a corner where they stood when the line turns there.
    void Separate(SchematicLayout& layout) const {
        std::map<std::pair<int, int>, int> taken;
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            SchematicChain& chain = layout.chains[c];
            const std::size_t n = chain.stations.size();
            const bool ring = chain.corners.size() == n && n > 2;
            for (std::size_t i = 0; i < n; ++i) {
                GridPoint& spot = chain.stations[i];
                if (taken.emplace(std::make_pair(spot.x, spot.y), 1).second) {
                    continue;
                }
                const auto nextOf = [&]() -> std::optional<GridPoint> {
                    if (i < chain.corners.size()) {
                        return chain.corners[i].empty() ? chain.stations[(i + 1) % n]
                                                        : chain.corners[i].front();
                    }
                    return std::nullopt;
                };
                const auto previousOf = [&]() -> std::optional<GridPoint> {
                    if (i > 0 || ring) {
                        const std::size_t link = (i + n - 1) % n;
                        return chain.corners[link].empty() ? chain.stations[link]
                                                           : chain.corners[link].back();
                    }
                    return std::nullopt;
                };
                const std::optional<GridPoint> next = nextOf();
                const std::optional<GridPoint> previous = previousOf();
                bool moved = false;
                for (int amount = request_.separation; amount <= 3 * request_.separation && !moved;
                     amount += request_.separation) {
                    for (const bool forward : {true, false}) {
                        const std::optional<GridPoint> toward = forward ? next : previous;
                        if (!toward) {
                            continue;
                        }
                        const int d = DirectionOf(spot, *toward);
                        if (d == kNoDirection) {
                            continue;
                        }
                        const GridPoint step = kSteps[static_cast<std::size_t>(d)];
                        const int unit = d % 2 == 0 ? amount : std::max(1, amount * 7 / 10);
                        const GridPoint to{spot.x + step.x * unit, spot.y + step.y * unit};
                        const int room =
                            std::max(std::abs(toward->x - spot.x), std::abs(toward->y - spot.y));
                        if (std::max(std::abs(to.x - spot.x), std::abs(to.y - spot.y)) >= room ||
                            taken.contains({to.x, to.y})) {
                            continue;
                        }
                        const std::optional<GridPoint> other = forward ? previous : next;
                        const bool corner =
                            other && DirectionOf(*other, spot) != DirectionOf(spot, *toward);
                        if (corner) {
                            auto& list =
                                forward ? chain.corners[(i + n - 1) % n] : chain.corners[i];
                            if (forward) {
                                list.push_back(spot);
                            } else {
                                list.insert(list.begin(), spot);
                            }
                        }
                        spot = to;
                        moved = true;
                        break;
                    }
                }
                taken.emplace(std::make_pair(spot.x, spot.y), 1);
            }
        }
    }

    const SchematicRequest& request_;
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
    std::vector<int> nodeOf_;  // per place
    int unrouted_ = 0;
};

}  // namespace

SchematicLayout LayOutSchematic(const SchematicRequest& request) {
    return Router(request).Run();
}

}  // namespace qv::import
