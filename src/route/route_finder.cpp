#include "route/route_finder.h"

#include <algorithm>
#include <limits>

#include "route/best_route_search.h"
#include "route/search_graph.h"

namespace qv {

namespace {

constexpr std::int64_t kSlotsPerPoint = 100;
constexpr std::size_t kArrivalsPerPass = 100;
constexpr std::int32_t kNone = kNoPoint;
// The most the enumeration's path store may reserve; past it the table counts as full, which
// bounds the search's memory on any map the loader accepts. Growing storage briefly holds its old
// and new arrays, so the search's peak is about twice this.
constexpr std::size_t kPathStoreBudget = std::size_t{128} << 20;

template <typename T>
bool IsFull(const std::vector<T>& items) {
    return items.size() == items.capacity();
}

// What a vector holds once one more element is pushed: its storage doubles when full.
template <typename T>
std::size_t BytesAfterPush(const std::vector<T>& items) {
    const std::size_t capacity =
        IsFull(items) ? std::max<std::size_t>(1, 2 * items.capacity()) : items.capacity();
    return capacity * sizeof(T);
}

// Paths share their prefixes: a path is the node of its last point, each node names the node
// before it and carries the transfer count and minutes of the path that ends in it.
struct PathNode {
    std::int32_t first = 0;  // a node holds a run of consecutive points of one line, first..station
    std::int32_t station = 0;
    std::int32_t parent = kNone;
    std::int32_t refs = 0;    // child nodes plus table slots that end here
    std::int32_t length = 0;  // points from the departure to here
    std::int32_t transfers = 0;
    std::int32_t lastStation = kNone;  // the last 'S' point so far
    std::int64_t minutes = 0;
};

// Owns the nodes; a node returns to the free list when nothing refers to it any more, so memory
// follows the paths alive in the table, not all paths ever made.
class PathArena {
  public:
    // A node that adds a reference to its parent: a copy branching off a path.
    std::int32_t Branch(PathNode node) {
        if (node.parent != kNone) {
            ++At(node.parent).refs;
        }
        return Store(node);
    }

    // A node that takes over the caller's reference to its parent: a path growing by a point.
    std::int32_t Extend(PathNode node) { return Store(node); }

    // A node grown in place; only for a node that nothing but its own path refers to.
    void Replace(std::int32_t id, const PathNode& node) { At(id) = node; }

    void Release(std::int32_t id) {
        while (id != kNone && --At(id).refs == 0) {
            free_.push_back(id);
            id = At(id).parent;
        }
    }

    bool IsFull() const { return free_.empty() && qv::IsFull(nodes_); }
    // What the nodes would hold after one more is made.
    std::size_t BytesAfterOneMore() const {
        return free_.empty() ? BytesAfterPush(nodes_) : nodes_.capacity() * sizeof(PathNode);
    }

    const PathNode& operator[](std::int32_t id) const {
        return nodes_[static_cast<std::size_t>(id)];
    }

  private:
    PathNode& At(std::int32_t id) { return nodes_[static_cast<std::size_t>(id)]; }

    std::int32_t Store(PathNode node) {
        node.refs = 1;
        if (free_.empty()) {
            nodes_.push_back(node);
            return static_cast<std::int32_t>(nodes_.size() - 1);
        }
        const std::int32_t id = free_.back();
        free_.pop_back();
        At(id) = node;
        return id;
    }

    std::vector<PathNode> nodes_;
    std::vector<std::int32_t> free_;
};

// Enumerates paths in passes over a table of slots, exactly as the route has always been chosen:
// in a sweep the first admissible neighbour (in index order) continues the path itself and each
// further one starts a copy in the next free slot; copies wait for the next pass. A pass visits
// the slots in order and stops at the 101st that already ends at the destination, so only the
// slots still to be extended and the first 101 arrivals need to be kept in order. A full table
// and a pass stopped that way both cut the enumeration short.
class RouteSearch {
  public:
    RouteSearch(const NetworkModel& model, std::int32_t departure, std::int32_t destination)
        : graph_(model),
          destination_(destination),
          algorithm_(model.settings.algorithm),
          maxTransfers_(model.settings.maxTransfers),
          maxLength_(MaxPathLength(model)),
          slotLimit_(kSlotsPerPoint * model.StationCount() - 2),
          onPath_(static_cast<std::size_t>(model.StationCount()), 0) {
        PathNode start{.first = departure,
                       .station = departure,
                       .length = 1,
                       .lastStation = graph_.IsStation(departure) ? departure : kNone,
                       .minutes = graph_.Start(departure).minutes};
        AddSlot(arena_.Branch(start), departure);
    }

    const SearchGraph& Graph() const { return graph_; }

    EnumeratedRoute Run() {
        do {
            Pass();
        } while (changed_);
        const std::int32_t chosen = Choose();
        EnumeratedRoute result{.route = {.points = PathOf(chosen), .score = {}},
                               .cutShort = cutShort_};
        if (chosen != kNone) {
            const PathNode& end = arena_[SlotNode(chosen)];
            result.route.score = {end.transfers, end.minutes};
        }
        return result;
    }

  private:
    std::int32_t LastPoint(std::int32_t slot) const { return arena_[SlotNode(slot)].station; }
    std::int32_t SlotNode(std::int32_t slot) const {
        return slots_[static_cast<std::size_t>(slot)];
    }

    // Moves the end of the path in `node` onto `point`, reached through graph link `link`. The
    // same rule as SearchGraph::Reach, spelled out: this is the enumeration's innermost step.
    void Advance(PathNode& node, std::int32_t point, std::size_t link) const {
        const bool fromStation = node.lastStation != kNone && node.lastStation == node.station;
        node.station = point;
        ++node.length;
        if (!graph_.IsStation(point)) {
            return;
        }
        if (fromStation) {
            const StationStep& cost = graph_.LinkCost(link);
            node.transfers += cost.transfers;
            node.minutes += cost.minutes;
        } else if (node.lastStation != kNone) {
            const StationStep cost = graph_.StepCost(node.lastStation, point);
            node.transfers += cost.transfers;
            node.minutes += cost.minutes;
        } else {
            node.minutes += graph_.Start(point).minutes;
        }
        node.lastStation = point;
    }

    // A new node: the path ending in `parent` (kNone: the empty path), whose last node is
    // `before`, followed by `point`.
    PathNode Step(std::int32_t parent, const PathNode& before, std::int32_t point,
                  std::size_t link) const {
        PathNode node = before;
        node.parent = parent;
        node.first = point;
        Advance(node, point, link);
        return node;
    }

    // A new slot for the path ending in `node`: kept in order among arrivals or among the paths
    // still to be extended.
    void AddSlot(std::int32_t node, std::int32_t lastPoint) {
        const auto slot = static_cast<std::int32_t>(slots_.size());
        slots_.push_back(node);
        if (lastPoint == destination_) {
            AddArrival(slot);
        } else {
            pending_.push_back(slot);
        }
    }

    void AddArrival(std::int32_t slot) {
        firstArrivals_.insert(std::upper_bound(firstArrivals_.begin(), firstArrivals_.end(), slot),
                              slot);
        if (firstArrivals_.size() > kArrivalsPerPass + 1) {
            firstArrivals_.pop_back();
        }
    }

    void Pass() {
        changed_ = false;
        cutShort_ = cutShort_ || firstArrivals_.size() > kArrivalsPerPass;
        const std::int32_t stopAt = firstArrivals_.size() > kArrivalsPerPass
                                        ? firstArrivals_[kArrivalsPerPass]
                                        : std::numeric_limits<std::int32_t>::max();
        const std::size_t passEnd = pending_.size();
        while (pendingHead_ < passEnd && pending_[pendingHead_] < stopAt) {
            const std::int32_t slot = pending_[pendingHead_++];
            Extend(slot);
            if (LastPoint(slot) == destination_) {
                AddArrival(slot);
            } else {
                arena_.Release(SlotNode(slot));
                slots_[static_cast<std::size_t>(slot)] = kNone;
            }
        }
        if (pendingHead_ * 2 > pending_.size()) {
            pending_.erase(pending_.begin(),
                           pending_.begin() + static_cast<std::ptrdiff_t>(pendingHead_));
            pendingHead_ = 0;
        }
    }

    // Grows the path in `slot` sweep by sweep until a sweep takes no step or the path arrives.
    // The path's last node is worked on here and written back whenever a node is made.
    void Extend(std::int32_t slot) {
        std::int32_t leaf = SlotNode(slot);
        PathNode node = arena_[leaf];
        // A path too long or past the transfer limit takes no step, whatever its neighbours.
        if (node.length >= maxLength_ - 1 || node.transfers > maxTransfers_) {
            return;
        }
        MarkPath(leaf);
        while (Sweep(leaf, node)) {
        }
        arena_.Replace(leaf, node);
        slots_[static_cast<std::size_t>(slot)] = leaf;
        marked_ = leaf;
    }

    // Counts the points of the path ending in `leaf` in onPath_. Consecutive slots mostly share
    // long prefixes, so only the points below the common part of the old and new path change.
    // The old path may have been released since it was marked; its nodes are then on the free
    // list but unchanged, because no node is made between the end of one extension and this.
    void MarkPath(std::int32_t leaf) {
        std::int32_t old = marked_;
        std::int32_t now = leaf;
        std::int32_t oldLength = old == kNone ? 0 : arena_[old].length;
        std::int32_t nowLength = now == kNone ? 0 : arena_[now].length;
        while (old != now) {
            if (oldLength >= nowLength) {
                oldLength -= CountOnPath(arena_[old], -1);
                old = arena_[old].parent;
            } else {
                nowLength -= CountOnPath(arena_[now], +1);
                now = arena_[now].parent;
            }
        }
        marked_ = leaf;
    }

    // Adds `change` to the count of each point of the node; returns how many points it holds.
    std::int32_t CountOnPath(const PathNode& node, std::int8_t change) {
        const std::int32_t step = node.station >= node.first ? 1 : -1;
        for (std::int32_t point = node.first;; point += step) {
            onPath_[static_cast<std::size_t>(point)] =
                static_cast<std::uint8_t>(onPath_[static_cast<std::size_t>(point)] + change);
            if (point == node.station) {
                return (node.station - node.first) * step + 1;
            }
        }
    }

    // Whether `next` continues the node's run: the next point of the same line in the run's
    // direction.
    bool ContinuesRun(const PathNode& node, std::int32_t next) const {
        if (!graph_.OnOneLine(node.station, next)) {
            return false;
        }
        if (node.first == node.station) {
            return next == node.station + 1 || next == node.station - 1;
        }
        return next - node.station == (node.station > node.first ? 1 : -1);
    }

    // One sweep over the path whose last node is `node`, stored at `leaf`; both follow the path
    // when it takes a step. True when it took one and the path may go on.
    bool Sweep(std::int32_t& leaf, PathNode& node) {
        if (node.length >= maxLength_ - 1) {
            return false;
        }
        const std::size_t end = graph_.EndLink(node.station);
        std::size_t firstTaken = end;
        std::int32_t admissible = 0;
        for (std::size_t link = graph_.FirstLink(node.station); link < end; ++link) {
            if (onPath_[static_cast<std::size_t>(graph_.Link(link))] == 0 && admissible++ == 0) {
                firstTaken = link;
            }
        }
        // The limit is tested on the path before the step.
        if (admissible == 0 || node.transfers > maxTransfers_) {
            return false;
        }
        changed_ = true;
        const std::int32_t candidate = graph_.Link(firstTaken);
        ++onPath_[static_cast<std::size_t>(candidate)];

        // The first candidate continues the path itself: within its last node when nothing else
        // refers to that node and no copy will need it as it is now.
        if (admissible == 1 && node.refs == 1 && ContinuesRun(node, candidate)) {
            Advance(node, candidate, firstTaken);
            return candidate != destination_;
        }
        arena_.Replace(leaf, node);
        const std::int32_t start = leaf;
        const PathNode before = node;
        node = Step(start, before, candidate, firstTaken);
        leaf = arena_.Extend(node);
        node.refs = 1;
        if (candidate == destination_) {
            return false;
        }

        // Each further candidate starts a copy of the path as it was before the sweep.
        for (std::size_t link = firstTaken + 1; link < end; ++link) {
            const std::int32_t further = graph_.Link(link);
            if (onPath_[static_cast<std::size_t>(further)] != 0) {
                continue;
            }
            if (static_cast<std::int64_t>(slots_.size()) >= slotLimit_ || !StoreHasRoom()) {
                changed_ = false;
                cutShort_ = true;
                return false;
            }
            AddSlot(arena_.Branch(Step(start, before, further, link)), further);
        }
        return true;
    }

    // Whether one more copy keeps the path store within its budget; worked out only when some
    // part of the store is about to grow.
    bool StoreHasRoom() const {
        if (!arena_.IsFull() && !IsFull(slots_) && !IsFull(pending_)) {
            return true;
        }
        return arena_.BytesAfterOneMore() + BytesAfterPush(slots_) + BytesAfterPush(pending_) <=
               kPathStoreBudget;
    }

    // The slot of the best path that reached the destination, lowest slot among equals; -1 if none.
    std::int32_t Choose() const {
        if (algorithm_ != 0 && algorithm_ != 1) {
            return kNone;
        }
        std::int64_t best = algorithm_ == 0
                                ? kSlotsPerPoint * static_cast<std::int64_t>(onPath_.size())
                                : kRouteMinutesLimit;
        std::int32_t chosen = kNone;
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            if (slots_[slot] == kNone) {
                continue;
            }
            const PathNode& path = arena_[slots_[slot]];
            const std::int64_t score = algorithm_ == 0 ? path.transfers : path.minutes;
            if (path.station == destination_ && score < best) {
                best = score;
                chosen = static_cast<std::int32_t>(slot);
            }
        }
        return chosen;
    }

    std::vector<std::int32_t> PathOf(std::int32_t slot) const {
        std::vector<std::int32_t> path;
        if (slot == kNone) {
            return path;
        }
        for (std::int32_t id = SlotNode(slot); id != kNone; id = arena_[id].parent) {
            const PathNode& node = arena_[id];
            const std::int32_t step = node.station >= node.first ? 1 : -1;
            for (std::int32_t point = node.station;; point -= step) {
                path.push_back(point);
                if (point == node.first) {
                    break;
                }
            }
        }
        std::reverse(path.begin(), path.end());
        return path;
    }

    // Held by value: the hot loops read it beside the path store, one load nearer.
    const SearchGraph graph_;
    const std::int32_t destination_;
    const std::int32_t algorithm_;
    const std::int32_t maxTransfers_;
    const std::int64_t maxLength_;
    const std::int64_t slotLimit_;
    PathArena arena_;
    std::vector<std::int32_t> slots_;    // the last node of each slot's path, kNone once emptied
    std::vector<std::int32_t> pending_;  // slots still to be extended, in order, from pendingHead_
    std::size_t pendingHead_ = 0;
    std::vector<std::int32_t> firstArrivals_;  // the lowest slots that end at the destination
    std::vector<std::uint8_t> onPath_;  // how often each point occurs on the marked path: 0 or 1
    std::int32_t marked_ = kNone;       // the last node of the marked path
    bool changed_ = false;
    bool cutShort_ = false;
};

}  // namespace

std::int64_t MaxPathLength(const NetworkModel& model) {
    const std::int64_t points = model.StationCount();
    const std::int64_t transfers = model.TransferCount();
    // Without transfers the bound would be 0 and no route along a line could be found.
    if (transfers == 0) {
        return points + 1;
    }
    return transfers < 10 ? points * transfers : (2 * points) / 3;
}

EnumeratedRoute EnumerateRoute(const NetworkModel& model, std::int32_t departure,
                               std::int32_t destination) {
    const std::int32_t count = model.StationCount();
    if (departure < 0 || departure >= count || destination < 0 || destination >= count) {
        return {};
    }
    return RouteSearch(model, departure, destination).Run();
}

std::vector<std::int32_t> SearchRoute(const NetworkModel& model, std::int32_t departure,
                                      std::int32_t destination) {
    const std::int32_t count = model.StationCount();
    if (departure < 0 || departure >= count || destination < 0 || destination >= count) {
        return {};
    }
    RouteSearch search(model, departure, destination);
    EnumeratedRoute enumerated = search.Run();
    if (!enumerated.cutShort) {
        return std::move(enumerated.route.points);
    }
    // The bounds stopped the enumeration before it saw every path: a route it did not see may
    // be better, or be the only one.
    const RouteRules rules{.algorithm = model.settings.algorithm,
                           .maxTransfers = model.settings.maxTransfers,
                           .maxLength = MaxPathLength(model)};
    const bool chosen = !enumerated.route.points.empty();
    ScoredRoute best =
        SearchBestRoute(search.Graph(), rules, departure, destination,
                        chosen ? std::optional<RouteScore>(enumerated.route.score) : std::nullopt);
    if (!best.points.empty()) {
        return std::move(best.points);
    }
    return std::move(enumerated.route.points);
}

void FindRoute(NetworkModel& model, RouteSearchFeedback& feedback) {
    feedback.BeginWait();
    model.BuildAdjacency();
    std::vector<std::int32_t> path;
    if (model.departure && model.destination) {
        path = SearchRoute(model, model.departure->index, model.destination->index);
    }
    model.ClearRoute();
    if (path.empty()) {
        feedback.ShowRouteNotFound();
    }
    for (const std::int32_t index : path) {
        model.route.push_back(model.Stations()[static_cast<std::size_t>(index)]);
    }
    feedback.EndWait();
}

}  // namespace qv
