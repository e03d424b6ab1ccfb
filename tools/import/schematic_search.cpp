#include "schematic_search.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "schematic_grid.h"

namespace qv::import::schematic {
namespace {

constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::max();
// Costs and ways back per state in 32 bits: half the memory, and the search's working set.
// State numbers stay below 2^31: 32-bit costs for as many states would take 8 GiB.
constexpr std::int32_t kUnreachedState = std::numeric_limits<std::int32_t>::max();
// Most searches end within a few hundred states; one that goes on may be shut in.
constexpr std::int64_t kStatesBeforeWalk = 1000;

// The rules every way keeps, whatever it costs. Whether a way at `node`, come by `direction`
// (kNoDirection at its start), may go on by `next`: out of a placed start only by a port allowed,
// never turning sharply, nor where it crosses a run.
bool MayGoOn(const Board& board, const WayRequest& request, int node, int direction, int next) {
    if (direction == kNoDirection) {
        return request.firstNode < 0 || request.startPorts[static_cast<std::size_t>(next)] >= 0;
    }
    const int change = Change(direction, next);
    return change < 3 && (change == 0 || board.through[static_cast<std::size_t>(node)] == 0);
}

// Whether a way turning at `at` from `direction` to `next` wraps round a station: two diagonal
// steps at 90 degrees, the station at the node between their outer ends.
bool WrapsAStation(const Board& board, GridPoint at, int direction, int next) {
    if (direction % 2 == 0 || next % 2 == 0 || Change(direction, next) != 2) {
        return false;
    }
    const GridPoint in = kSteps[static_cast<std::size_t>(direction)];
    const GridPoint out = kSteps[static_cast<std::size_t>(next)];
    const GridPoint between{at.x + (out.x - in.x) / 2, at.y + (out.y - in.y) / 2};
    return board.station[static_cast<std::size_t>(board.Node(between))] >= 0;
}

// Whether a way may end at its placed last end stepping by `direction` (any where not placed).
bool MayEnd(const WayRequest& request, int direction) {
    return request.lastNode < 0 ||
           request.endPorts[static_cast<std::size_t>(Opposite(direction))] >= 0;
}

// Whether a way may go through `node` stepping by `direction`: never through a station, nor
// along another run or turning on it.
bool MayPass(const Board& board, int node, int direction) {
    const int mask = board.through[static_cast<std::size_t>(node)];
    return board.station[static_cast<std::size_t>(node)] < 0 &&
           (mask == 0 || CrossesStraight(mask, direction));
}

}  // namespace

std::optional<std::vector<GridPoint>> WaySearch::Cheapest(const Board& board,
                                                          const WayRequest& request,
                                                          std::int64_t& searched) {
    const int need = request.need;
    const int levels = need + 1;
    const auto nodes = board.width * board.height;
    const auto stateOf = [&](int node, int direction, int steps) {
        return (static_cast<std::size_t>(node) * 9 + static_cast<std::size_t>(direction)) *
                   static_cast<std::size_t>(levels) +
               static_cast<std::size_t>(steps);
    };
    const auto states = static_cast<std::size_t>(nodes) * 9 * static_cast<std::size_t>(levels);
    if (best_.size() < states) {
        best_.resize(states, kUnreachedState);
        from_.resize(states, -1);
    }
    touched_.clear();
    const auto reach = [&](std::size_t state, std::int64_t cost, std::int64_t via) {
        if (best_[state] == kUnreachedState) {
            touched_.push_back(state);
        }
        best_[state] = static_cast<std::int32_t>(cost);
        from_[state] = static_cast<std::int32_t>(via);
    };
    queue_.Clear();
    const auto push = [this](std::int64_t bound, std::size_t state) {
        queue_.Push(static_cast<std::uint64_t>(bound), state);
    };
    targets_.resize(static_cast<std::size_t>(nodes), -1);
    for (const int node : targetNodes_) {
        targets_[static_cast<std::size_t>(node)] = -1;
    }
    targetNodes_.clear();

    const int firstNode = request.firstNode;
    const int lastNode = request.lastNode;
    // The least the steps to a placed end cost: the search looks there first.
    const GridPoint goal = lastNode >= 0 ? board.At(lastNode) : GridPoint{};
    const auto estimate = [&](GridPoint p) -> std::int64_t {
        if (lastNode < 0) {
            return 0;
        }
        const int dx = std::abs(p.x - goal.x);
        const int dy = std::abs(p.y - goal.y);
        return kStraightStep * std::max(dx, dy) +
               (kDiagonalStep - kStraightStep) * std::min(dx, dy);
    };
    if (firstNode >= 0) {
        reach(stateOf(firstNode, kNoDirection, 0), 0, -1);
        push(estimate(board.At(firstNode)), stateOf(firstNode, kNoDirection, 0));
    } else {
        for (const auto& [node, cost] : request.starts) {
            reach(stateOf(node, kNoDirection, 0), cost, -1);
            push(cost + estimate(board.At(node)), stateOf(node, kNoDirection, 0));
        }
    }
    if (lastNode >= 0) {
        targets_[static_cast<std::size_t>(lastNode)] = 0;
        targetNodes_.push_back(lastNode);
    } else {
        for (const auto& [node, cost] : request.ends) {
            targets_[static_cast<std::size_t>(node)] = cost;
            targetNodes_.push_back(node);
        }
    }
    std::int64_t bestEnd = kUnreached;
    std::size_t endState = 0;
    int endNode = -1;
    // A search shut in would try every state it reaches: the walk finds that out for a fraction.
    std::int64_t tried = 0;
    while (!queue_.Empty()) {
        ++searched;
        if (++tried == kStatesBeforeWalk && !AnyWay(board, request)) {
            break;
        }
        const auto [least, taken] = queue_.Pop();
        const auto bound = static_cast<std::int64_t>(least);
        const auto state = static_cast<std::size_t>(taken);
        // Bounds never fall from one state taken to the next (the estimate never falls by more
        // than a step costs): none left can end cheaper.
        if (bound >= bestEnd) {
            break;
        }
        const int steps = static_cast<int>(state % static_cast<std::size_t>(levels));
        const int direction = static_cast<int>((state / static_cast<std::size_t>(levels)) % 9);
        const int node = static_cast<int>(state / static_cast<std::size_t>(levels) / 9);
        const GridPoint p = board.At(node);
        const std::int64_t cost = best_[state];
        if (bound != cost + estimate(p)) {
            continue;
        }
        const bool atStart = direction == kNoDirection;
        for (int next = 0; next < 8; ++next) {
            if (!MayGoOn(board, request, node, direction, next) || !board.Open(node, next)) {
                continue;
            }
            std::int64_t step = cost + StepCost(next);
            if (!atStart) {
                step += request.turns.bend[static_cast<std::size_t>(Change(direction, next))];
                if (request.wrap > 0 && WrapsAStation(board, p, direction, next)) {
                    step += request.wrap;
                }
            } else {
                step += request.startOtherPort[static_cast<std::size_t>(next)];
                if (firstNode >= 0) {
                    step += request.startPorts[static_cast<std::size_t>(next)];
                }
            }
            const GridPoint q{p.x + kSteps[static_cast<std::size_t>(next)].x,
                              p.y + kSteps[static_cast<std::size_t>(next)].y};
            const int target = node + kSteps[static_cast<std::size_t>(next)].x +
                               kSteps[static_cast<std::size_t>(next)].y * board.width;
            step += request.away[static_cast<std::size_t>(target)];
            // A node where the run crosses another can hold none of its stations.
            const int reached = std::min(
                steps + (board.through[static_cast<std::size_t>(target)] != 0 ? 0 : 1), need);
            if (const int end = targets_[static_cast<std::size_t>(target)];
                end >= 0 && reached >= need) {
                if (!MayEnd(request, next)) {
                    continue;
                }
                const auto entered = static_cast<std::size_t>(Opposite(next));
                std::int64_t total = step + end + request.endOtherPort[entered];
                if (lastNode >= 0) {
                    total += request.endPorts[entered];
                }
                if (total < bestEnd) {
                    bestEnd = total;
                    endState = state;
                    endNode = target;
                }
            }
            if (!MayPass(board, target, next)) {
                continue;
            }
            if (board.through[static_cast<std::size_t>(target)] != 0 && request.crossing) {
                step += request.crossing(steps, target);
            }
            const std::size_t nextState = stateOf(target, next, reached);
            if (step < best_[nextState]) {
                reach(nextState, step, static_cast<std::int64_t>(state));
                push(step + estimate(q), nextState);
            }
        }
    }
    if (endNode < 0) {
        Forget();
        return std::nullopt;
    }
    std::vector<GridPoint> path{board.At(endNode)};
    for (std::int64_t state = static_cast<std::int64_t>(endState); state >= 0;
         state = from_[static_cast<std::size_t>(state)]) {
        path.push_back(board.At(static_cast<int>(static_cast<std::size_t>(state) /
                                                 static_cast<std::size_t>(levels) / 9)));
    }
    Forget();
    std::reverse(path.begin(), path.end());
    return path;
}

bool WaySearch::AnyWay(const Board& board, const WayRequest& request) {
    const auto nodes = static_cast<std::size_t>(board.width * board.height);
    arrived_.resize(nodes, 0);
    leaving_.resize(nodes, 0);
    starts_.resize(nodes, 0);
    for (const int node : walkedNodes_) {
        arrived_[static_cast<std::size_t>(node)] = 0;
        leaving_[static_cast<std::size_t>(node)] = 0;
        starts_[static_cast<std::size_t>(node)] = 0;
    }
    walkedNodes_.clear();
    const auto touch = [this](int node) {
        const auto at = static_cast<std::size_t>(node);
        if (arrived_[at] == 0 && leaving_[at] == 0 && starts_[at] == 0) {
            walkedNodes_.push_back(node);
        }
    };
    ahead_.clear();
    behind_.clear();
    if (request.firstNode >= 0) {
        ahead_.emplace_back(request.firstNode, kNoDirection);
    } else {
        for (const auto& start : request.starts) {
            ahead_.emplace_back(start.first, kNoDirection);
        }
    }
    for (const auto& [node, direction] : ahead_) {
        touch(node);
        starts_[static_cast<std::size_t>(node)] = 1;
    }
    // Whether a direction of `bits` (walked from the other side) joins the way here.
    const auto joins = [](std::uint8_t bits, const auto& mayJoin) {
        for (int direction = 0; direction < 8; ++direction) {
            if (((bits >> direction) & 1) != 0 && mayJoin(direction)) {
                return true;
            }
        }
        return false;
    };
    // The node a step by `direction` comes from onto `node`, over a free edge; -1 where none.
    const auto stepFrom = [&board](int node, int direction) {
        const GridPoint p = board.At(node);
        const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
        const GridPoint q{p.x - step.x, p.y - step.y};
        if (q.x < 0 || q.y < 0 || q.x >= board.width || q.y >= board.height ||
            !board.Open(board.Node(q), direction)) {
            return -1;
        }
        return board.Node(q);
    };
    // The way's last steps, each into an end by a port it allows.
    const auto endsFrom = [&](int end) {
        for (int direction = 0; direction < 8; ++direction) {
            if (const int node = stepFrom(end, direction);
                node >= 0 && MayEnd(request, direction)) {
                behind_.emplace_back(node, direction);
            }
        }
    };
    if (request.lastNode >= 0) {
        endsFrom(request.lastNode);
    } else {
        for (const auto& end : request.ends) {
            endsFrom(end.first);
        }
    }
    for (const auto& [node, next] : behind_) {
        const auto at = static_cast<std::size_t>(node);
        if (starts_[at] != 0 && MayGoOn(board, request, node, kNoDirection, next)) {
            return true;
        }
        touch(node);
        leaving_[at] = static_cast<std::uint8_t>(leaving_[at] | (1 << next));
    }
    int goal = request.lastNode;
    if (goal < 0 && !request.ends.empty()) {
        goal = request.ends.front().first;
    }
    const GridPoint aim = goal >= 0 ? board.At(goal) : GridPoint{};
    const GridPoint source = board.At(ahead_.empty() ? 0 : ahead_.front().first);
    const auto away = [](GridPoint p, GridPoint q) {
        const int dx = std::abs(p.x - q.x);
        const int dy = std::abs(p.y - q.y);
        return std::max(dx, dy) * 3 + std::min(dx, dy);
    };
    // Steps onto nodes nearer the far side are walked first: pushed last.
    std::array<std::pair<int, int>, 8> order{};
    std::size_t count = 0;
    const auto queue = [&](int distance, int direction) {
        std::size_t at = count++;
        for (; at > 0 && order[at - 1].first < distance; --at) {
            order[at] = order[at - 1];
        }
        order[at] = {distance, direction};
    };
    // A step forwards from (node, come by direction); whether it met the way walked back.
    const auto forwards = [&]() {
        const auto [node, direction] = ahead_.back();
        ahead_.pop_back();
        const GridPoint p = board.At(node);
        count = 0;
        for (int next = 0; next < 8; ++next) {
            if (!MayGoOn(board, request, node, direction, next) || !board.Open(node, next)) {
                continue;
            }
            const GridPoint step = kSteps[static_cast<std::size_t>(next)];
            const int target = node + step.x + step.y * board.width;
            if (targets_[static_cast<std::size_t>(target)] >= 0 && MayEnd(request, next)) {
                return true;
            }
            if (!MayPass(board, target, next)) {
                continue;
            }
            std::uint8_t& arrived = arrived_[static_cast<std::size_t>(target)];
            if (((arrived >> next) & 1) != 0) {
                continue;
            }
            if (joins(leaving_[static_cast<std::size_t>(target)],
                      [&](int out) { return MayGoOn(board, request, target, next, out); })) {
                return true;
            }
            touch(target);
            arrived = static_cast<std::uint8_t>(arrived | (1 << next));
            queue(away({p.x + step.x, p.y + step.y}, aim), next);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const GridPoint step = kSteps[static_cast<std::size_t>(order[k].second)];
            ahead_.emplace_back(node + step.x + step.y * board.width, order[k].second);
        }
        return false;
    };
    // A step backwards from (node, leaving by next): the node entered by each direction the
    // rules allow, from the node before it; whether it met the way walked forwards.
    const auto backwards = [&]() {
        const auto [node, next] = behind_.back();
        behind_.pop_back();
        count = 0;
        for (int direction = 0; direction < 8; ++direction) {
            if (!MayGoOn(board, request, node, direction, next) ||
                !MayPass(board, node, direction)) {
                continue;
            }
            const int before = stepFrom(node, direction);
            if (before < 0) {
                continue;
            }
            const auto at = static_cast<std::size_t>(before);
            if (starts_[at] != 0 && MayGoOn(board, request, before, kNoDirection, direction)) {
                return true;
            }
            if (((leaving_[at] >> direction) & 1) != 0) {
                continue;
            }
            if (joins(arrived_[at],
                      [&](int in) { return MayGoOn(board, request, before, in, direction); })) {
                return true;
            }
            touch(before);
            leaving_[at] = static_cast<std::uint8_t>(leaving_[at] | (1 << direction));
            queue(away(board.At(before), source), direction);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const GridPoint step = kSteps[static_cast<std::size_t>(order[k].second)];
            behind_.emplace_back(node - step.x - step.y * board.width, order[k].second);
        }
        return false;
    };
    // A step from each side in turn: where either side runs out, no way joins the ends.
    while (!ahead_.empty() && !behind_.empty()) {
        if (forwards() || (!behind_.empty() && backwards())) {
            return true;
        }
    }
    return false;
}

void WaySearch::Forget() {
    for (const std::size_t state : touched_) {
        best_[state] = kUnreachedState;
    }
}

}  // namespace qv::import::schematic
