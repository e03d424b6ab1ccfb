#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/network_model.h"
#include "route/best_route_search.h"
#include "route/route_enumeration.h"

namespace qv {

// What a search shows the user, given by the caller so that the search needs no user interface.
class RouteSearchFeedback {
  public:
    virtual ~RouteSearchFeedback() = default;
    // A busy indication for the whole search.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    // The program's "route not found" box with the information icon; returns when the
    // user has closed it. Called while the busy indication is still on.
    virtual void ShowRouteNotFound() = 0;
};

// Shows nothing: for searches that run where no one is looking (tools, pictures, measurements).
class SilentRouteSearchFeedback : public RouteSearchFeedback {
  public:
    void BeginWait() override {}
    void EndWait() override {}
    void ShowRouteNotFound() override {}
};

// Replaces the model's route with the best path from its departure to its destination, by the
// settings' algorithm (0 = fewest transfers, 1 = shortest time) within their transfer limit.
// Rebuilds the adjacency first, so that forbidden stations are avoided.
void FindRoute(NetworkModel& model, RouteSearchFeedback& feedback);

// The search itself over the model's current adjacency: the station-index numbers of the chosen
// path in travel order, or nothing. The enumeration's choice, unless its bounds cut it short and
// the exact search finds a better route or the only one.
std::vector<std::int32_t> SearchRoute(const NetworkModel& model, std::int32_t departure,
                                      std::int32_t destination);
// The same, asking the exact search for the best score once the enumeration has made
// `settleAfterPaths` paths (above: 1,024, or the point count if more) or is cut short, so that it
// may end early; the route is the same whenever it is asked.
std::vector<std::int32_t> SearchRoute(const NetworkModel& model, std::int32_t departure,
                                      std::int32_t destination, std::size_t settleAfterPaths);

}  // namespace qv
