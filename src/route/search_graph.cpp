#include "route/search_graph.h"

#include <deque>
#include <functional>
#include <limits>
#include <queue>

namespace qv {

TransferTimes::TransferTimes(const std::vector<Transfer>& transfers) {
    for (const Transfer& t : transfers) {
        times_.try_emplace(Key(t.x1, t.y1, t.x2, t.y2), t.time);
        times_.try_emplace(Key(t.x2, t.y2, t.x1, t.y1), t.time);
    }
}

std::int64_t TransferTimes::Between(const Station& from, const Station& to) const {
    const auto found = times_.find(Key(from.x, from.y, to.x, to.y));
    return found == times_.end() ? 0 : found->second;
}

std::size_t TransferTimes::PlacePairHash::operator()(const PlacePair& key) const {
    return std::hash<std::uint64_t>()(key.first * 0x9E3779B97F4A7C15ull ^ key.second);
}

TransferTimes::PlacePair TransferTimes::Key(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                            std::int32_t y2) {
    const auto place = [](std::int32_t x, std::int32_t y) {
        return (std::uint64_t{static_cast<std::uint32_t>(x)} << 32) | static_cast<std::uint32_t>(y);
    };
    return {place(x1, y1), place(x2, y2)};
}

SearchGraph::SearchGraph(const NetworkModel& model)
    : stations_(model.Stations()),
      transferTimes_(model.transfers),
      countWaitTime_(model.settings.countWaitTime) {
    isStation_.reserve(stations_.size());
    lines_.reserve(stations_.size());
    for (const Station* station : stations_) {
        isStation_.push_back(station->IsStation() ? 1 : 0);
        lines_.push_back(station->line);
        minutesNonNegative_ = minutesNonNegative_ && station->runTime >= 0 &&
                              (!countWaitTime_ || station->line->waitTime >= 0);
    }
    for (const Transfer& t : model.transfers) {
        minutesNonNegative_ = minutesNonNegative_ && t.time >= 0;
    }
    firstLink_.reserve(stations_.size() + 1);
    firstLink_.push_back(0);
    for (const Station* station : stations_) {
        for (const std::int32_t neighbour : model.StationLinks().Neighbours(station->index)) {
            const Station& next = *stations_[static_cast<std::size_t>(neighbour)];
            if (next.kind != kForbiddenKind) {
                links_.push_back(neighbour);
                linkCosts_.push_back(station->IsStation() && next.IsStation() ? Cost(*station, next)
                                                                              : StationStep{});
            }
        }
        firstLink_.push_back(static_cast<std::int32_t>(links_.size()));
    }
}

StationStep SearchGraph::Cost(const Station& from, const Station& to) const {
    StationStep step = StepBetween(from, to, countWaitTime_);
    if (step.transfers > 0) {
        step.minutes += transferTimes_.Between(from, to);
    }
    return step;
}

RemainingBounds::RemainingBounds(const SearchGraph& graph, std::int32_t destination)
    : destination_(destination) {
    const auto count = static_cast<std::size_t>(graph.PointCount());
    firstEdge_.assign(count + 1, 0);
    for (std::int32_t point = 0; point < graph.PointCount(); ++point) {
        for (std::size_t link = graph.FirstLink(point); link < graph.EndLink(point); ++link) {
            ++firstEdge_[static_cast<std::size_t>(graph.Link(link)) + 1];
        }
    }
    for (std::size_t point = 0; point < count; ++point) {
        firstEdge_[point + 1] += firstEdge_[point];
    }
    edges_.resize(static_cast<std::size_t>(firstEdge_[count]));
    std::vector<std::int32_t> next(firstEdge_.begin(), firstEdge_.end() - 1);
    for (std::int32_t point = 0; point < graph.PointCount(); ++point) {
        for (std::size_t link = graph.FirstLink(point); link < graph.EndLink(point); ++link) {
            const StationStep& cost = graph.LinkCost(link);
            const auto to = static_cast<std::size_t>(graph.Link(link));
            edges_[static_cast<std::size_t>(next[to]++)] = {point, cost.transfers, cost.minutes};
        }
    }

    // Steps add 0 or 1 transfer: a deque kept in order of transfers.
    transfers_.assign(count, kUnreachable);
    transfers_[static_cast<std::size_t>(destination)] = 0;
    std::deque<std::int32_t> byTransfers{destination};
    while (!byTransfers.empty()) {
        const std::int32_t point = byTransfers.front();
        byTransfers.pop_front();
        const std::int32_t here = transfers_[static_cast<std::size_t>(point)];
        for (const Edge& edge : Into(point)) {
            std::int32_t& there = transfers_[static_cast<std::size_t>(edge.from)];
            if (here + edge.transfers < there) {
                there = here + edge.transfers;
                if (edge.transfers == 0) {
                    byTransfers.push_front(edge.from);
                } else {
                    byTransfers.push_back(edge.from);
                }
            }
        }
    }
}

std::span<const RemainingBounds::Edge> RemainingBounds::Into(std::int32_t point) const {
    const auto at = static_cast<std::size_t>(point);
    return {edges_.data() + firstEdge_[at], edges_.data() + firstEdge_[at + 1]};
}

void RemainingBounds::AddMinutes(const SearchGraph& graph) {
    if (!minutes_.empty() || !graph.MinutesNonNegative()) {
        return;
    }
    const auto destination = destination_;
    minutes_.assign(transfers_.size(), std::numeric_limits<std::int64_t>::max());
    using Entry = std::pair<std::int64_t, std::int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> byMinutes;
    minutes_[static_cast<std::size_t>(destination)] = 0;
    byMinutes.push({0, destination});
    while (!byMinutes.empty()) {
        const auto [here, point] = byMinutes.top();
        byMinutes.pop();
        if (here != minutes_[static_cast<std::size_t>(point)]) {
            continue;
        }
        for (const Edge& edge : Into(point)) {
            std::int64_t& there = minutes_[static_cast<std::size_t>(edge.from)];
            if (here + edge.minutes < there) {
                there = here + edge.minutes;
                byMinutes.push({there, edge.from});
            }
        }
    }
}

}  // namespace qv
