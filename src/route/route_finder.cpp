#include "route/route_finder.h"

#include <algorithm>
#include <optional>

#include "route/best_route_search.h"
#include "route/route_enumeration.h"
#include "route/search_graph.h"

namespace qv {

std::vector<std::int32_t> SearchRoute(const NetworkModel& model, std::int32_t departure,
                                      std::int32_t destination) {
    return SearchRoute(
        model, departure, destination,
        std::max<std::size_t>(kSettleAfterPaths, static_cast<std::size_t>(model.StationCount())));
}

std::vector<std::int32_t> SearchRoute(const NetworkModel& model, std::int32_t departure,
                                      std::int32_t destination, std::size_t settleAfterPaths) {
    const std::int32_t count = model.StationCount();
    const std::int32_t algorithm = model.settings.algorithm;
    // Any other algorithm chooses nothing, whatever the paths.
    if (departure < 0 || departure >= count || destination < 0 || destination >= count ||
        (algorithm != 0 && algorithm != 1)) {
        return {};
    }
    const std::unique_ptr<PathEnumeration> enumeration =
        MakePathEnumeration(model, departure, destination, settleAfterPaths);
    PathEnumeration& search = *enumeration;
    const RouteRules rules{.algorithm = algorithm,
                           .maxTransfers = model.settings.maxTransfers,
                           .maxLength = MaxPathLength(model)};
    std::optional<RemainingBounds> bounds;
    ScoredRoute best;
    bool bestKnown = false;
    Settling settling;
    if (departure != destination) {
        bounds.emplace(search.Graph(), destination);
        // No walk leads there, or every one changes lines more often than a route may.
        if (!bounds->Reaches(departure) ||
            bounds->Transfers(departure) > std::int64_t{rules.maxTransfers} + 1) {
            return {};
        }
        settling = {.askBest = [&]() -> KnownBest {
                        best = SearchBestRoute(search.Graph(), rules, departure, destination);
                        bestKnown = best.complete;
                        return {.known = best.complete,
                                .score = best.points.empty()
                                             ? std::nullopt
                                             : std::optional<RouteScore>(best.score),
                                .points = &best.points};
                    },
                    .bounds = &*bounds};
    }
    EnumeratedRoute enumerated = search.Run(std::move(settling));
    const bool chosen = !enumerated.route.points.empty();
    switch (search.HowItEnded()) {
        case Ending::ChoiceStands:
            return std::move(enumerated.route.points);
        case Ending::BestRouteWins:
            return std::move(best.points);
        case Ending::Exhausted:
            break;
    }
    if (!enumerated.cutShort) {
        return std::move(enumerated.route.points);
    }
    // The bounds stopped the enumeration before it saw every path: a route it did not see may
    // be better, or be the only one.
    if (bestKnown) {
        const bool bestChosen = chosen &&
                                enumerated.route.score.transfers == best.score.transfers &&
                                enumerated.route.score.minutes == best.score.minutes;
        return std::move(bestChosen ? enumerated.route.points : best.points);
    }
    best =
        SearchBestRoute(search.Graph(), rules, departure, destination,
                        chosen ? std::optional<RouteScore>(enumerated.route.score) : std::nullopt);
    if (!best.points.empty()) {
        return std::move(best.points);
    }
    return std::move(enumerated.route.points);
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
