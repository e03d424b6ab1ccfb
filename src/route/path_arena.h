#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "route/search_graph.h"

namespace qv {

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
    std::int32_t parent = kNoPoint;
    std::int32_t refs = 0;    // child nodes plus table slots that end here
    std::int32_t length = 0;  // points from the departure to here
    std::int32_t transfers = 0;
    std::int32_t lastStation = kNoPoint;  // the last 'S' point so far
    std::int64_t minutes = 0;
};

// Owns the nodes; a node returns to the free list when nothing refers to it any more, so memory
// follows the paths alive in the table, not all paths ever made.
class PathArena {
  public:
    // A node that adds a reference to its parent: a copy branching off a path.
    std::int32_t Branch(PathNode node) {
        if (node.parent != kNoPoint) {
            ++At(node.parent).refs;
        }
        return Store(node);
    }

    // A node that takes over the caller's reference to its parent: a path growing by a point.
    std::int32_t Extend(PathNode node) { return Store(node); }

    // A node grown in place; only for a node that nothing but its own path refers to.
    void Replace(std::int32_t id, const PathNode& node) { At(id) = node; }

    void Release(std::int32_t id) {
        Release(id, [](const PathNode&) {});
    }

    // Lets go of a path, showing each node it frees to `onFree`; returns the node where the path
    // still lives on in others (kNoPoint if nowhere).
    template <typename OnFree>
    std::int32_t Release(std::int32_t id, OnFree onFree) {
        while (id != kNoPoint && --At(id).refs == 0) {
            onFree(At(id));
            free_.push_back(id);
            id = At(id).parent;
        }
        return id;
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

// Moves the end of the path in `node` onto `point`, reached through graph link `link`. The
// same rule as SearchGraph::Reach, spelled out: this is the enumeration's innermost step.
inline void AdvancePath(const SearchGraph& graph, PathNode& node, std::int32_t point,
                        std::size_t link) {
    const bool fromStation = node.lastStation != kNoPoint && node.lastStation == node.station;
    node.station = point;
    ++node.length;
    if (!graph.IsStation(point)) {
        return;
    }
    if (fromStation) {
        const StationStep& cost = graph.LinkCost(link);
        node.transfers += cost.transfers;
        node.minutes += cost.minutes;
    } else if (node.lastStation != kNoPoint) {
        const StationStep cost = graph.StepCost(node.lastStation, point);
        node.transfers += cost.transfers;
        node.minutes += cost.minutes;
    } else {
        node.minutes += graph.Start(point).minutes;
    }
    node.lastStation = point;
}

}  // namespace qv
