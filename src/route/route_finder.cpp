#include "route/route_finder.h"

#include <algorithm>

#include "route/route_measures.h"

namespace qv {

namespace {

constexpr std::int64_t kSlotsPerPoint = 100;
constexpr std::int32_t kArrivalsPerPass = 100;
constexpr std::int64_t kNoTimeLimit = 9999;
constexpr std::int32_t kNoNode = -1;

// Paths share their prefixes: a path is the node of its last point, each node names the node
// before it, and carries the transfer count of the path that ends in it.
struct PathNode {
    std::int32_t station = 0;
    std::int32_t parent = kNoNode;
    std::int32_t refs = 0;    // child nodes plus table slots that end here
    std::int32_t length = 0;  // points from the departure to here
    std::int32_t transfers = 0;
    std::int32_t lineNumber = 0;  // line of the last 'S' point so far, when there is one
    bool hasStation = false;
};

// Owns the nodes; a node returns to the free list when nothing refers to it any more, so memory
// follows the paths alive in the table, not all paths ever made.
class PathArena {
  public:
    std::int32_t Make(std::int32_t parent, const Station& point) {
        PathNode node;
        if (parent != kNoNode) {
            node = nodes_[static_cast<std::size_t>(parent)];
            ++nodes_[static_cast<std::size_t>(parent)].refs;
        }
        node.station = point.index;
        node.parent = parent;
        node.refs = 1;
        ++node.length;
        if (point.IsStation()) {
            if (node.hasStation && node.lineNumber != point.line->number) {
                ++node.transfers;
            }
            node.lineNumber = point.line->number;
            node.hasStation = true;
        }
        if (free_.empty()) {
            nodes_.push_back(node);
            return static_cast<std::int32_t>(nodes_.size() - 1);
        }
        const std::int32_t id = free_.back();
        free_.pop_back();
        nodes_[static_cast<std::size_t>(id)] = node;
        return id;
    }

    void Release(std::int32_t id) {
        while (id != kNoNode && --nodes_[static_cast<std::size_t>(id)].refs == 0) {
            free_.push_back(id);
            id = nodes_[static_cast<std::size_t>(id)].parent;
        }
    }

    const PathNode& operator[](std::int32_t id) const {
        return nodes_[static_cast<std::size_t>(id)];
    }

  private:
    std::vector<PathNode> nodes_;
    std::vector<std::int32_t> free_;
};

// Enumerates paths in passes over a table of slots, exactly as the route has always been chosen:
// in a sweep the first admissible neighbour (in index order) continues the path itself and each
// further one starts a copy in the next free slot; copies wait for the next pass.
class RouteSearch {
  public:
    RouteSearch(const NetworkModel& model, std::int32_t departure, std::int32_t destination)
        : model_(model),
          points_(model.Stations()),
          destination_(destination),
          maxLength_(MaxPathLength(model)),
          slotLimit_(kSlotsPerPoint * model.StationCount() - 2),
          onPath_(points_.size(), 0) {
        slots_.push_back(arena_.Make(kNoNode, *points_[static_cast<std::size_t>(departure)]));
    }

    std::vector<std::int32_t> Run() {
        std::vector<std::int32_t> live{0};
        do {
            live = Pass(live);
        } while (changed_);
        return PathOf(Choose());
    }

  private:
    bool EndsAtDestination(std::int32_t slot) const {
        return arena_[slots_[static_cast<std::size_t>(slot)]].station == destination_;
    }

    // Visits the slots alive at the start of the pass; returns those alive after it, in order.
    std::vector<std::int32_t> Pass(const std::vector<std::int32_t>& live) {
        changed_ = false;
        std::int32_t arrivals = 0;
        const auto firstNewSlot = static_cast<std::int32_t>(slots_.size());
        std::vector<std::int32_t> next;
        next.reserve(live.size());
        for (std::size_t i = 0; i < live.size(); ++i) {
            const std::int32_t slot = live[i];
            if (EndsAtDestination(slot)) {
                if (++arrivals > kArrivalsPerPass) {
                    next.insert(next.end(), live.begin() + static_cast<std::ptrdiff_t>(i),
                                live.end());
                    break;
                }
                next.push_back(slot);
                continue;
            }
            Extend(slot);
            if (EndsAtDestination(slot)) {
                next.push_back(slot);
            } else {
                arena_.Release(slots_[static_cast<std::size_t>(slot)]);
                slots_[static_cast<std::size_t>(slot)] = kNoNode;
            }
        }
        for (auto slot = firstNewSlot; slot < static_cast<std::int32_t>(slots_.size()); ++slot) {
            next.push_back(slot);
        }
        return next;
    }

    void Extend(std::int32_t slot) {
        ++stamp_;
        for (std::int32_t node = slots_[static_cast<std::size_t>(slot)]; node != kNoNode;
             node = arena_[node].parent) {
            onPath_[static_cast<std::size_t>(arena_[node].station)] = stamp_;
        }
        while (Sweep(slot)) {
        }
    }

    // One step of the path in `slot`; true when it took a step and may go on.
    bool Sweep(std::int32_t slot) {
        const std::int32_t start = slots_[static_cast<std::size_t>(slot)];
        const PathNode& node = arena_[start];
        if (node.length >= maxLength_ - 1) {
            return false;
        }
        const std::int32_t startTransfers = node.transfers;
        const std::int32_t last = node.station;
        bool taken = false;
        for (const std::int32_t candidate : model_.StationLinks().Neighbours(last)) {
            const Station& point = *points_[static_cast<std::size_t>(candidate)];
            if (point.kind == kForbiddenKind ||
                onPath_[static_cast<std::size_t>(candidate)] == stamp_) {
                continue;
            }
            // The limit is tested on the path before the step.
            if (startTransfers > model_.settings.maxTransfers) {
                return false;
            }
            changed_ = true;
            if (!taken) {
                taken = true;
                slots_[static_cast<std::size_t>(slot)] = arena_.Make(start, point);
                arena_.Release(start);  // the new node holds it now instead of the slot
                onPath_[static_cast<std::size_t>(candidate)] = stamp_;
                if (candidate == destination_) {
                    return false;
                }
            } else {
                if (static_cast<std::int64_t>(slots_.size()) >= slotLimit_) {
                    changed_ = false;
                    return false;
                }
                slots_.push_back(arena_.Make(start, point));
            }
        }
        return taken;
    }

    // The slot of the best path that reached the destination, lowest slot among equals; -1 if none.
    std::int32_t Choose() const {
        const std::int32_t algorithm = model_.settings.algorithm;
        if (algorithm != 0 && algorithm != 1) {
            return -1;
        }
        std::int64_t best = algorithm == 0 ? kSlotsPerPoint * model_.StationCount() : kNoTimeLimit;
        std::int32_t chosen = -1;
        std::vector<Station*> path;
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            const std::int32_t node = slots_[slot];
            if (node == kNoNode || arena_[node].station != destination_) {
                continue;
            }
            std::int64_t score = arena_[node].transfers;
            if (algorithm == 1) {
                path.clear();
                for (const std::int32_t index : PathOf(static_cast<std::int32_t>(slot))) {
                    path.push_back(points_[static_cast<std::size_t>(index)]);
                }
                score = TravelTime(path, model_.transfers, model_.settings.countWaitTime);
            }
            if (score < best) {
                best = score;
                chosen = static_cast<std::int32_t>(slot);
            }
        }
        return chosen;
    }

    std::vector<std::int32_t> PathOf(std::int32_t slot) const {
        std::vector<std::int32_t> path;
        if (slot < 0) {
            return path;
        }
        for (std::int32_t node = slots_[static_cast<std::size_t>(slot)]; node != kNoNode;
             node = arena_[node].parent) {
            path.push_back(arena_[node].station);
        }
        std::reverse(path.begin(), path.end());
        return path;
    }

    const NetworkModel& model_;
    std::span<Station* const> points_;
    const std::int32_t destination_;
    const std::int64_t maxLength_;
    const std::int64_t slotLimit_;
    PathArena arena_;
    std::vector<std::int32_t> slots_;  // the last node of each slot's path, kNoNode once emptied
    std::vector<std::uint32_t> onPath_;
    std::uint32_t stamp_ = 0;
    bool changed_ = false;
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

std::vector<std::int32_t> SearchRoute(const NetworkModel& model, std::int32_t departure,
                                      std::int32_t destination) {
    const std::int32_t count = model.StationCount();
    if (departure < 0 || departure >= count || destination < 0 || destination >= count) {
        return {};
    }
    return RouteSearch(model, departure, destination).Run();
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
