#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "model/map_file.h"
#include "random_network.h"
#include "route/best_route_search.h"
#include "route/route_finder.h"
#include "route/route_measures.h"
#include "route_oracle.h"
#include "text/utf.h"

namespace qv {
namespace {

using testing::MakeRandomNetwork;
using testing::OracleEvents;
using testing::OracleSearchRoute;
using testing::RandomNetworkShape;
using Points = std::vector<std::int32_t>;

RouteScore Measure(const NetworkModel& model, const Points& points) {
    std::vector<Station*> stations;
    for (const std::int32_t point : points) {
        stations.push_back(model.Stations()[static_cast<std::size_t>(point)]);
    }
    return {CountTransfers(stations),
            TravelTime(stations, model.transfers, model.settings.countWaitTime)};
}

RouteRules RulesOf(const NetworkModel& model) {
    return {.algorithm = model.settings.algorithm,
            .maxTransfers = model.settings.maxTransfers,
            .maxLength = MaxPathLength(model)};
}

bool Admissible(const NetworkModel& model, std::int32_t point, const Points& before) {
    return model.Stations()[static_cast<std::size_t>(point)]->kind != kForbiddenKind &&
           std::find(before.begin(), before.end(), point) == before.end();
}

// Whether a path that has not arrived may take another step: the bounds test the path before it.
bool MayStep(const NetworkModel& model, const Points& path) {
    const RouteRules rules = RulesOf(model);
    return static_cast<std::int64_t>(path.size()) < rules.maxLength - 1 &&
           Measure(model, path).transfers <= rules.maxTransfers;
}

bool Choosable(const NetworkModel& model, const RouteScore& score) {
    return model.settings.algorithm == 0 || score.minutes < kRouteMinutesLimit;
}

// Why a path breaks the rules of a search, or nothing when it keeps them.
std::optional<std::string> BrokenRule(const NetworkModel& model, const Points& path,
                                      std::int32_t from, std::int32_t to) {
    if (path.empty() || path.front() != from || path.back() != to) {
        return "wrong ends";
    }
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Points before(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(i));
        if (!model.StationLinks().Joined(path[i - 1], path[i])) {
            return "no link at step " + std::to_string(i);
        }
        if (!Admissible(model, path[i], before) || !MayStep(model, before)) {
            return "step " + std::to_string(i) + " breaks a bound or enters a point it may not";
        }
    }
    return Choosable(model, Measure(model, path)) ? std::nullopt
                                                  : std::optional<std::string>("too long");
}

// The best score of every admissible simple path that continues `path` to `to`.
void BruteForce(const NetworkModel& model, Points& path, std::int32_t to,
                std::optional<RouteScore>& best) {
    if (path.back() == to) {
        const RouteScore score = Measure(model, path);
        if (Choosable(model, score) &&
            (!best || IsBetterRoute(score, *best, model.settings.algorithm))) {
            best = score;
        }
        return;
    }
    if (!MayStep(model, path)) {
        return;
    }
    for (const std::int32_t next : model.StationLinks().Neighbours(path.back())) {
        if (Admissible(model, next, path)) {
            path.push_back(next);
            BruteForce(model, path, to, best);
            path.pop_back();
        }
    }
}

TEST(BestRouteSearch, ReachesTheBestOfEveryAdmissibleSimplePathOnSmallNetworks) {
    const RandomNetworkShape small{.maxLines = 3, .maxPointsPerLine = 5, .gridSize = 4};
    int found = 0;
    int bounded = 0;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        SCOPED_TRACE(seed);
        const auto model = MakeRandomNetwork(seed, small);
        const std::int32_t from = model->departure->index;
        const std::int32_t to = model->destination->index;
        std::optional<RouteScore> expected;
        Points start{from};
        BruteForce(*model, start, to, expected);
        const SearchGraph graph(*model);
        const ScoredRoute best = SearchBestRoute(graph, RulesOf(*model), from, to);
        if (!expected || (model->settings.algorithm != 0 && model->settings.algorithm != 1)) {
            ASSERT_TRUE(best.points.empty());
            continue;
        }
        ASSERT_EQ(BrokenRule(*model, best.points, from, to), std::nullopt);
        const RouteScore measured = Measure(*model, best.points);
        EXPECT_EQ(measured.transfers, best.score.transfers);
        EXPECT_EQ(measured.minutes, best.score.minutes);
        EXPECT_EQ(measured.transfers, expected->transfers);
        EXPECT_EQ(measured.minutes, expected->minutes);
        // A known route as good as the best leaves nothing to find; a worse one, the best.
        EXPECT_TRUE(SearchBestRoute(graph, RulesOf(*model), from, to, *expected).points.empty());
        const RouteScore worse{expected->transfers, expected->minutes + 1};
        EXPECT_EQ(SearchBestRoute(graph, RulesOf(*model), from, to, worse).score.minutes,
                  expected->minutes);
        ++found;
        bounded += MaxPathLength(*model) - 1 < model->StationCount();
    }
    EXPECT_GT(found, 1000);
    EXPECT_GT(bounded, 200);  // the point bound is often in force
}

struct Tally {
    int found = 0;
    int none = 0;
    int sameEnds = 0;
    int cut = 0;
    int bettered = 0;
    OracleEvents events;
};

// The enumeration must choose the oracle's route; where its bounds cut it short, the finder may
// only replace that choice by a route that keeps the rules and is better.
void CompareOnSeeds(std::uint32_t first, std::uint32_t last, const RandomNetworkShape& shape,
                    Tally& tally) {
    for (std::uint32_t seed = first; seed <= last; ++seed) {
        SCOPED_TRACE(seed);
        const auto model = MakeRandomNetwork(seed, shape);
        const auto matrix = testing::OracleAdjacency(*model);
        for (std::int32_t a = 0; a < model->StationCount(); ++a) {
            for (std::int32_t b = 0; b < model->StationCount(); ++b) {
                ASSERT_EQ(model->StationLinks().Joined(a, b), matrix[a][b] == 1) << a << "-" << b;
            }
        }
        const std::int32_t from = model->departure->index;
        const std::int32_t to = model->destination->index;
        OracleEvents events;
        const Points expected = OracleSearchRoute(*model, from, to, &events);
        const EnumeratedRoute enumerated = EnumerateRoute(*model, from, to);
        ASSERT_EQ(enumerated.route.points, expected);
        ASSERT_EQ(enumerated.cutShort, events.tableFilled || events.arrivalsCut);
        const Points route = SearchRoute(*model, from, to);
        // Asked for the best score from the first path on, the search ends as early as it can.
        ASSERT_EQ(SearchRoute(*model, from, to, 1), route);
        if (!enumerated.cutShort) {
            ASSERT_EQ(route, expected);
        } else {
            ++tally.cut;
            ASSERT_EQ(route.empty() ? std::nullopt : BrokenRule(*model, route, from, to),
                      std::nullopt);
            ASSERT_TRUE(!route.empty() || expected.empty());
            ASSERT_TRUE(expected.empty() ||
                        !IsBetterRoute(Measure(*model, expected), Measure(*model, route),
                                       model->settings.algorithm));
            // The enumeration's choice stands where it has the best score; elsewhere the exact
            // search's route replaces it.
            const ScoredRoute best =
                SearchBestRoute(SearchGraph(*model), RulesOf(*model), from, to);
            ASSERT_TRUE(best.complete);
            const bool choiceIsBest =
                !expected.empty() && !best.points.empty() &&
                !IsBetterRoute(best.score, Measure(*model, expected), model->settings.algorithm);
            ASSERT_EQ(route, choiceIsBest ? expected : best.points);
            tally.bettered += route != expected;
        }
        (expected.empty() ? tally.none : tally.found) += 1;
        tally.sameEnds += from == to;
        tally.events.tableFilled |= events.tableFilled;
        tally.events.arrivalsCut |= events.arrivalsCut;
    }
}

TEST(RouteEquivalence, FastFinderChoosesTheOraclesRouteOnSmallRandomNetworks) {
    Tally tally;
    CompareOnSeeds(1, 4000, {}, tally);
    // The comparison means something only if both outcomes are common.
    EXPECT_GT(tally.found, 1000);
    EXPECT_GT(tally.none, 500);
    EXPECT_GT(tally.sameEnds, 200);
}

constexpr RandomNetworkShape kDense{.maxLines = 8,
                                    .maxPointsPerLine = 14,
                                    .gridSize = 4,
                                    .minTransferRecords = 20,
                                    .maxTransferRecords = 60};

TEST(RouteEquivalence, DenseNetworksCutTheEnumerationAndTheSearchBettersItsChoice) {
    Tally tally;
    CompareOnSeeds(10001, 10150, kDense, tally);
    EXPECT_TRUE(tally.events.tableFilled);
    EXPECT_TRUE(tally.events.arrivalsCut);
    EXPECT_GT(tally.found, 30);
    EXPECT_GT(tally.cut, 30);
    EXPECT_GT(tally.bettered, 5);
}

TEST(RouteEquivalence, PassEndsAtTheHundredAndFirstArrivalNotTheHundredth) {
    // The one network among thousands where the difference changes the choice.
    Tally tally;
    CompareOnSeeds(14927, 14927, kDense, tally);
    EXPECT_TRUE(tally.events.arrivalsCut);
}

// The first station of that name, on a line of that number when one is given.
std::int32_t StationNamed(const NetworkModel& model, std::u16string_view name,
                          std::optional<std::int32_t> lineNumber = std::nullopt) {
    for (const Station* station : model.Stations()) {
        if (station->IsStation() && station->name == name &&
            (!lineNumber || station->line->number == *lineNumber)) {
            return station->index;
        }
    }
    return -1;
}

TEST(BestRouteSearch, LondonFindsBakerStreetToCheshamWhereTheEnumerationIsCutShort) {
    NetworkModel london;
    const std::string path = std::string(QV_MAPS_DIR) + "/london.qvn";
    ASSERT_EQ(LoadMapFile(london, *Utf8ToUtf16(path), Settings{}), 0);
    london.BuildAdjacency();
    const std::int32_t to = StationNamed(london, u"Chesham");
    ASSERT_GE(to, 0);
    const std::int32_t line = london.Stations()[static_cast<std::size_t>(to)]->line->number;
    const std::int32_t firstByName = StationNamed(london, u"Baker Street");
    const std::int32_t onTheLine = StationNamed(london, u"Baker Street", line);
    ASSERT_GE(onTheLine, 0);
    for (const std::int32_t algorithm : {0, 1}) {
        london.settings.algorithm = algorithm;
        const EnumeratedRoute enumerated = EnumerateRoute(london, firstByName, to);
        EXPECT_TRUE(enumerated.cutShort);
        EXPECT_TRUE(enumerated.route.points.empty());
        const Points route = SearchRoute(london, firstByName, to);
        EXPECT_EQ(BrokenRule(london, route, firstByName, to), std::nullopt) << algorithm;
        EXPECT_EQ(Measure(london, SearchRoute(london, onTheLine, to)).transfers, 0);
    }
}

}  // namespace
}  // namespace qv
