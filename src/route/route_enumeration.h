#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/network_model.h"
#include "route/best_route_search.h"
#include "route/search_graph.h"

namespace qv {

// The enumeration alone: paths in passes over a table of 100 slots a point, the first candidate
// continuing a path and copies for the others, the choice among the arrivals; and whether the full
// table or the cut-off after 101 arrivals in a pass left paths unexplored. Paths share their
// prefixes, so a copy costs one node; a path store past its memory budget counts as a full table.
struct EnumeratedRoute {
    ScoredRoute route;
    bool cutShort = false;
};
EnumeratedRoute EnumerateRoute(const NetworkModel& model, std::int32_t departure,
                               std::int32_t destination);

// The longest path a search extends, in points plus one.
std::int64_t MaxPathLength(const NetworkModel& model);

// What follows is shared with the route search alone.

// Paths the enumeration makes before it asks for the best route's score, unless cut short first.
inline constexpr std::size_t kSettleAfterPaths = 1024;

// The best score any route has, as the exact search found it: nothing when it gave up, no score
// when there is no route.
struct KnownBest {
    bool known = false;
    std::optional<RouteScore> score;
    const std::vector<std::int32_t>* points = nullptr;  // the exact search's route
};

// What lets an enumeration end before its bounds would: the best score, asked for once when the
// enumeration runs long, and lower bounds on what each path still adds.
struct Settling {
    std::function<KnownBest()> askBest;
    RemainingBounds* bounds = nullptr;
};

// How an enumeration ended.
enum class Ending {
    Exhausted,      // as its bounds end it
    ChoiceStands,   // its choice is known, and has the best score
    BestRouteWins,  // the outcome is the exact search's route
};

// One enumeration from a departure to a destination, run once.
class PathEnumeration {
  public:
    virtual ~PathEnumeration() = default;
    // The graph it searches, for the exact search and the bounds.
    virtual const SearchGraph& Graph() const = 0;
    virtual EnumeratedRoute Run(Settling settling) = 0;
    virtual Ending HowItEnded() const = 0;
};

// Both ends must be points of the model.
std::unique_ptr<PathEnumeration> MakePathEnumeration(const NetworkModel& model,
                                                     std::int32_t departure,
                                                     std::int32_t destination,
                                                     std::size_t settleAfterPaths);

}  // namespace qv
