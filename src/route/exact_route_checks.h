#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "route/best_route_search.h"
#include "route/path_arena.h"
#include "route/search_graph.h"

namespace qv {

// Whether an enumeration that is not cut short makes `route`: no point of it before the last
// but one has the destination as its first admissible neighbour.
bool MadeWhenWhole(const SearchGraph& graph, std::size_t pointCount, std::int32_t destination,
                   const std::vector<std::int32_t>& route);

// Whether the path ending in `node` is the start of `route`.
bool StartsRoute(const PathArena& arena, std::int32_t node, const std::vector<std::int32_t>& route);

// Whether any path but the exact search's route may score the best primary score, or the best
// score.
struct Rivals {
    bool onlyBestPrimary = false;  // no path but the route scores the best primary score
    bool onlyBestScore = false;    // no path but the route scores the best score
};
Rivals FindRivals(const SearchGraph& graph, const RemainingBounds& bounds, std::size_t pointCount,
                  std::int32_t algorithm, std::int64_t bestPrimary, const RouteScore& best,
                  const std::vector<std::int32_t>& route);

}  // namespace qv
