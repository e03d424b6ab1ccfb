#include "route/search_graph.h"

#include <functional>

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

}  // namespace qv
