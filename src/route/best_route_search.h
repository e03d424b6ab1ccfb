#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "route/search_graph.h"

namespace qv {

// A route of this many minutes or more is never chosen by time.
inline constexpr std::int64_t kRouteMinutesLimit = 9999;

struct RouteScore {
    std::int32_t transfers = 0;
    std::int64_t minutes = 0;
};

// Fewest transfers, then minutes, for algorithm 0; fewest minutes, then transfers, for 1.
bool IsBetterRoute(const RouteScore& a, const RouteScore& b, std::int32_t algorithm);

struct ScoredRoute {
    std::vector<std::int32_t> points;  // station-index numbers in travel order; empty for none
    RouteScore score;
    // False when the search gave up (its memory budget, or a negative time, which would let walks
    // that repeat points crowd out the routes): an empty route then proves nothing.
    bool complete = true;
};

// The rules every path of a search keeps: a step is taken only while the path holds fewer than
// maxLength - 1 points and no more than maxTransfers transfers.
struct RouteRules {
    std::int32_t algorithm = 0;
    std::int32_t maxTransfers = 0;
    std::int64_t maxLength = 0;
};

// The best route among all simple paths that keep the rules, by the algorithm's order (0 or 1;
// any other chooses nothing). Exact whatever the network's size: a label-setting search over the
// point, the last station passed and the transfer count. With `toBeat`, only a route strictly
// better than that score, or nothing: a known route prunes the search.
ScoredRoute SearchBestRoute(const SearchGraph& graph, const RouteRules& rules,
                            std::int32_t departure, std::int32_t destination,
                            std::optional<RouteScore> toBeat = std::nullopt);

}  // namespace qv
