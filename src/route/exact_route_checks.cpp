#include "route/exact_route_checks.h"

namespace qv {

bool MadeWhenWhole(const SearchGraph& graph, std::size_t pointCount, std::int32_t destination,
                   const std::vector<std::int32_t>& route) {
    std::vector<std::uint8_t> passed(pointCount, 0);
    for (std::size_t i = 0; i + 1 < route.size(); ++i) {
        passed[static_cast<std::size_t>(route[i])] = 1;
        for (std::size_t link = graph.FirstLink(route[i]); link < graph.EndLink(route[i]); ++link) {
            const std::int32_t first = graph.Link(link);
            if (passed[static_cast<std::size_t>(first)] == 0) {
                if (first == destination && route[i + 1] != first) {
                    return false;
                }
                break;
            }
        }
    }
    return true;
}

bool StartsRoute(const PathArena& arena, std::int32_t node,
                 const std::vector<std::int32_t>& route) {
    if (node == kNoPoint || static_cast<std::size_t>(arena[node].length) > route.size()) {
        return false;
    }
    for (std::int32_t id = node; id != kNoPoint; id = arena[id].parent) {
        const PathNode& run = arena[id];
        const std::int32_t step = run.station >= run.first ? 1 : -1;
        std::int32_t at = run.length - 1;
        for (std::int32_t point = run.station;; point -= step, --at) {
            if (route[static_cast<std::size_t>(at)] != point) {
                return false;
            }
            if (point == run.first) {
                break;
            }
        }
    }
    return true;
}

// Every other path leaves the route somewhere, and what it holds there plus what it must still add
// shows whether it can.
Rivals FindRivals(const SearchGraph& graph, const RemainingBounds& bounds, std::size_t pointCount,
                  std::int32_t algorithm, std::int64_t bestPrimary, const RouteScore& best,
                  const std::vector<std::int32_t>& route) {
    std::vector<std::uint8_t> passed(pointCount, 0);
    PathNode at{.first = route.front(),
                .station = route.front(),
                .length = 1,
                .lastStation = graph.IsStation(route.front()) ? route.front() : kNoPoint,
                .minutes = graph.Start(route.front()).minutes};
    Rivals rivals{.onlyBestPrimary = true, .onlyBestScore = true};
    for (std::size_t i = 0; i + 1 < route.size(); ++i) {
        passed[static_cast<std::size_t>(route[i])] = 1;
        std::size_t onward = graph.EndLink(at.station);
        for (std::size_t link = graph.FirstLink(at.station); link < graph.EndLink(at.station);
             ++link) {
            const std::int32_t next = graph.Link(link);
            if (next == route[i + 1]) {
                onward = link;
                continue;
            }
            if (passed[static_cast<std::size_t>(next)] != 0 || !bounds.Reaches(next)) {
                continue;
            }
            PathNode off = at;
            AdvancePath(graph, off, next, link);
            const std::int64_t transfers = std::int64_t{off.transfers} + bounds.Transfers(next);
            const std::int64_t minutes = off.minutes + bounds.Minutes(next);
            rivals.onlyBestPrimary =
                rivals.onlyBestPrimary && (algorithm == 0 ? transfers : minutes) > bestPrimary;
            rivals.onlyBestScore =
                rivals.onlyBestScore && (transfers > best.transfers || minutes > best.minutes);
            if (!rivals.onlyBestScore) {
                rivals.onlyBestPrimary = false;
                return rivals;
            }
        }
        if (onward == graph.EndLink(at.station)) {
            rivals.onlyBestPrimary = rivals.onlyBestScore = false;
            return rivals;
        }
        AdvancePath(graph, at, route[i + 1], onward);
    }
    return rivals;
}

}  // namespace qv
