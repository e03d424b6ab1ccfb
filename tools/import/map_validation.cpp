#include "map_validation.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <queue>
#include <set>

#include "route/route_finder.h"
#include "route/route_measures.h"

namespace qv::import {

TravelTimes::TravelTimes(const NetworkModel& model, bool countWaitTime)
    : model_(model), countWaitTime_(countWaitTime) {}

std::int64_t TravelTimes::StepMinutes(const Station& from, const Station& to) const {
    if (from.line->number != to.line->number) {
        const Transfer* transfer = FindTransferBetween(from, to, model_.transfers);
        return (countWaitTime_ ? to.line->waitTime : 0) + (transfer ? transfer->time : 0);
    }
    return from.index > to.index || to.line->isRing ? to.runTime : from.runTime;
}

std::vector<std::int64_t> TravelTimes::From(std::int32_t departure) const {
    const auto stations = model_.Stations();
    std::vector<std::int64_t> minutes(stations.size(), -1);
    using Entry = std::pair<std::int64_t, std::int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    const Station& start = *stations[static_cast<std::size_t>(departure)];
    queue.push({countWaitTime_ ? start.line->waitTime : 0, departure});
    while (!queue.empty()) {
        const auto [time, point] = queue.top();
        queue.pop();
        if (minutes[static_cast<std::size_t>(point)] >= 0) {
            continue;
        }
        minutes[static_cast<std::size_t>(point)] = time;
        const Station& here = *stations[static_cast<std::size_t>(point)];
        for (const std::int32_t next : model_.StationLinks().Neighbours(point)) {
            const Station& there = *stations[static_cast<std::size_t>(next)];
            if (minutes[static_cast<std::size_t>(next)] < 0 && there.kind != kForbiddenKind) {
                queue.push({time + StepMinutes(here, there), next});
            }
        }
    }
    return minutes;
}

std::vector<bool> ReachableWithin(const NetworkModel& model, std::int32_t departure,
                                  std::int32_t maxTransfers) {
    const auto stations = model.Stations();
    // A state is a point and the line number of the last station passed (none before the first);
    // fewer transfers to a state never allow fewer steps from it, so each keeps its fewest.
    using State = std::pair<std::int32_t, std::optional<std::int32_t>>;
    std::map<State, std::int32_t> fewest;
    std::deque<std::pair<State, std::int32_t>> queue;
    std::vector<bool> reached(stations.size(), false);
    const auto lineAfter = [&](std::int32_t point, std::optional<std::int32_t> line) {
        const Station& here = *stations[static_cast<std::size_t>(point)];
        return here.IsStation() ? std::optional<std::int32_t>(here.line->number) : line;
    };
    queue.push_back({{departure, lineAfter(departure, std::nullopt)}, 0});
    reached[static_cast<std::size_t>(departure)] = true;
    while (!queue.empty()) {
        const auto [state, transfers] = queue.front();
        queue.pop_front();
        const auto [known, added] = fewest.try_emplace(state, transfers);
        if (!added && known->second <= transfers) {
            continue;
        }
        known->second = transfers;
        if (transfers > maxTransfers) {
            continue;
        }
        for (const std::int32_t next : model.StationLinks().Neighbours(state.first)) {
            const Station& there = *stations[static_cast<std::size_t>(next)];
            if (there.kind == kForbiddenKind) {
                continue;
            }
            reached[static_cast<std::size_t>(next)] = true;
            const std::optional<std::int32_t> line = lineAfter(next, state.second);
            const bool change = there.IsStation() && state.second && *state.second != *line;
            if (change) {
                queue.push_back({{next, line}, transfers + 1});
            } else {
                queue.push_front({{next, line}, transfers});
            }
        }
    }
    return reached;
}

std::vector<std::int32_t> FindStationsByName(const NetworkModel& model, std::u16string_view name) {
    std::vector<std::int32_t> found;
    for (const Station* point : model.Stations()) {
        if (point->IsStation() && point->name == name) {
            found.push_back(point->index);
        }
    }
    return found;
}

std::int64_t TripMinutes(const TravelTimes& times, const NetworkModel& model,
                         std::u16string_view from, std::u16string_view to) {
    std::int64_t best = -1;
    const std::vector<std::int32_t> ends = FindStationsByName(model, to);
    for (const std::int32_t start : FindStationsByName(model, from)) {
        const std::vector<std::int64_t> minutes = times.From(start);
        for (const std::int32_t end : ends) {
            const std::int64_t value = minutes[static_cast<std::size_t>(end)];
            if (value >= 0 && (best < 0 || value < best)) {
                best = value;
            }
        }
    }
    return best;
}

MapCheck CheckMap(NetworkModel& model, std::int32_t maxTransfers, bool everyPair) {
    MapCheck check;
    check.lines = model.LineCount();
    for (const Station* point : model.Stations()) {
        ++(point->IsStation() ? check.points : check.corners);
    }
    check.transfers = model.TransferCount();
    check.zoomFactor = model.zoomFactor;
    check.labelMinZoom = model.labelMinZoom;
    std::set<std::u16string> names;
    for (const Station* point : model.Stations()) {
        if (point->IsStation()) {
            names.insert(point->name);
        }
    }
    check.stations = static_cast<std::int32_t>(names.size());

    model.settings.maxTransfers = maxTransfers;
    model.settings.algorithm = 1;
    model.BuildAdjacency();
    const TravelTimes times(model, model.settings.countWaitTime);
    std::vector<std::pair<std::int32_t, std::int32_t>> pairs;
    // Only stations are ends of a route; the corners of lines are passed through.
    const auto isEnd = [&](std::int32_t point) {
        return model.Stations()[static_cast<std::size_t>(point)]->IsStation();
    };
    for (std::int32_t from = 0; from < model.StationCount(); ++from) {
        if (!isEnd(from)) {
            continue;
        }
        const std::vector<std::int64_t> minutes = times.From(from);
        std::vector<std::pair<std::int64_t, std::int32_t>> byTime;
        for (std::int32_t to = 0; to < model.StationCount(); ++to) {
            if (!isEnd(to)) {
                continue;
            }
            if (minutes[static_cast<std::size_t>(to)] < 0) {
                ++check.unreachablePairs;
                continue;
            }
            byTime.emplace_back(minutes[static_cast<std::size_t>(to)], to);
            if (minutes[static_cast<std::size_t>(to)] > check.longest.minutes) {
                check.longest = {from, to, minutes[static_cast<std::size_t>(to)]};
            }
        }
        std::sort(byTime.rbegin(), byTime.rend());
        for (std::size_t i = 0; i < byTime.size(); ++i) {
            if (byTime[i].second != from && (everyPair || i < 3)) {
                pairs.emplace_back(from, byTime[i].second);
            }
        }
    }

    std::vector<std::int64_t> best(static_cast<std::size_t>(model.StationCount()));
    std::vector<bool> withinLimit;
    std::int32_t bestFrom = -1;
    for (const auto& [from, to] : pairs) {
        if (from != bestFrom) {
            best = times.From(from);
            withinLimit = ReachableWithin(model, from, maxTransfers);
            bestFrom = from;
        }
        ++check.searchedPairs;
        const std::vector<std::int32_t> route = SearchRoute(model, from, to);
        if (route.empty()) {
            const bool exists = withinLimit[static_cast<std::size_t>(to)];
            check.beyondLimit += !exists;
            check.finderMisses += exists;
            continue;
        }
        std::vector<Station*> path;
        for (const std::int32_t point : route) {
            path.push_back(model.Stations()[static_cast<std::size_t>(point)]);
        }
        const std::int64_t found = TravelTime(path, model.transfers, model.settings.countWaitTime);
        check.finderSlower += found > best[static_cast<std::size_t>(to)];
        if (from == check.longest.from && to == check.longest.to) {
            check.longestByFinder = found;
        }
    }
    if (check.longestByFinder < 0 && check.longest.from >= 0) {
        const std::vector<std::int32_t> route =
            SearchRoute(model, check.longest.from, check.longest.to);
        std::vector<Station*> path;
        for (const std::int32_t point : route) {
            path.push_back(model.Stations()[static_cast<std::size_t>(point)]);
        }
        check.longestByFinder =
            route.empty() ? -1 : TravelTime(path, model.transfers, model.settings.countWaitTime);
    }
    return check;
}

}  // namespace qv::import
