#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "model/map_file.h"
#include "random_network.h"
#include "route/best_route_search.h"
#include "route/route_finder.h"
#include "route_oracle.h"
#include "text/utf.h"

namespace qv {
namespace {

using testing::MakeRandomNetwork;
using testing::OracleBetter;
using testing::OracleEvents;
using testing::OracleMeasure;
using testing::OracleScore;
using testing::OracleSearchRoute;
using testing::RandomNetworkShape;
using Points = std::vector<std::int32_t>;
using Matrix = std::vector<std::vector<std::uint8_t>>;

// The reference below borrows nothing from the finder: its links, measures, bounds and order are
// the oracle's own.
RouteRules RulesOf(const NetworkModel& model) {
    return {.algorithm = model.settings.algorithm,
            .maxTransfers = model.settings.maxTransfers,
            .maxLength = testing::OracleMaxLength(model)};
}

bool Admissible(const NetworkModel& model, std::int32_t point, const Points& before) {
    return model.Stations()[static_cast<std::size_t>(point)]->kind != 'F' &&
           std::find(before.begin(), before.end(), point) == before.end();
}

// Whether a path that has not arrived may take another step: the bounds test the path before it.
bool MayStep(const NetworkModel& model, const Points& path) {
    return static_cast<std::int64_t>(path.size()) < testing::OracleMaxLength(model) - 1 &&
           OracleMeasure(model, path).transfers <= model.settings.maxTransfers;
}

bool Choosable(const NetworkModel& model, const OracleScore& score) {
    return model.settings.algorithm == 0 || score.minutes < 9999;
}

bool Better(const NetworkModel& model, const Points& a, const Points& b) {
    return OracleBetter(OracleMeasure(model, a), OracleMeasure(model, b), model.settings.algorithm);
}

// Why a path breaks the rules of a search, or nothing when it keeps them.
std::optional<std::string> BrokenRule(const NetworkModel& model, const Points& path,
                                      std::int32_t from, std::int32_t to) {
    if (path.empty() || path.front() != from || path.back() != to) {
        return "wrong ends";
    }
    const Matrix links = testing::OracleAdjacency(model);
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Points before(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(i));
        if (links[static_cast<std::size_t>(path[i - 1])][static_cast<std::size_t>(path[i])] != 1) {
            return "no link at step " + std::to_string(i);
        }
        if (!Admissible(model, path[i], before) || !MayStep(model, before)) {
            return "step " + std::to_string(i) + " breaks a bound or enters a point it may not";
        }
    }
    return Choosable(model, OracleMeasure(model, path)) ? std::nullopt
                                                        : std::optional<std::string>("too long");
}

// The best score of every admissible simple path that continues `path` to `to`.
void BruteForce(const NetworkModel& model, const Matrix& links, Points& path, std::int32_t to,
                std::optional<OracleScore>& best) {
    if (path.back() == to) {
        const OracleScore score = OracleMeasure(model, path);
        if (Choosable(model, score) &&
            (!best || OracleBetter(score, *best, model.settings.algorithm))) {
            best = score;
        }
        return;
    }
    if (!MayStep(model, path)) {
        return;
    }
    const auto& row = links[static_cast<std::size_t>(path.back())];
    for (std::int32_t next = 0; next < static_cast<std::int32_t>(row.size()); ++next) {
        if (row[static_cast<std::size_t>(next)] == 1 && Admissible(model, next, path)) {
            path.push_back(next);
            BruteForce(model, links, path, to, best);
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
        std::optional<OracleScore> expected;
        Points start{from};
        BruteForce(*model, testing::OracleAdjacency(*model), start, to, expected);
        const SearchGraph graph(*model);
        const ScoredRoute best = SearchBestRoute(graph, RulesOf(*model), from, to);
        if (!expected || (model->settings.algorithm != 0 && model->settings.algorithm != 1)) {
            ASSERT_TRUE(best.points.empty());
            continue;
        }
        ASSERT_EQ(BrokenRule(*model, best.points, from, to), std::nullopt);
        const OracleScore measured = OracleMeasure(*model, best.points);
        EXPECT_EQ(measured.transfers, best.score.transfers);
        EXPECT_EQ(measured.minutes, best.score.minutes);
        EXPECT_EQ(measured.transfers, expected->transfers);
        EXPECT_EQ(measured.minutes, expected->minutes);
        // A known route as good as the best leaves nothing to find; a worse one, the best.
        const auto transfers = static_cast<std::int32_t>(expected->transfers);
        EXPECT_TRUE(
            SearchBestRoute(graph, RulesOf(*model), from, to, {{transfers, expected->minutes}})
                .points.empty());
        const RouteScore worse{transfers, expected->minutes + 1};
        EXPECT_EQ(SearchBestRoute(graph, RulesOf(*model), from, to, worse).score.minutes,
                  expected->minutes);
        ++found;
        bounded += testing::OracleMaxLength(*model) - 1 < model->StationCount();
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
            ASSERT_TRUE(expected.empty() || !Better(*model, expected, route));
            // The enumeration's choice stands where it has the best score; elsewhere the exact
            // search's route replaces it.
            const ScoredRoute best =
                SearchBestRoute(SearchGraph(*model), RulesOf(*model), from, to);
            ASSERT_TRUE(best.complete);
            const bool choiceIsBest =
                !expected.empty() && !best.points.empty() && !Better(*model, best.points, expected);
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
        EXPECT_EQ(OracleMeasure(london, SearchRoute(london, onTheLine, to)).transfers, 0);
    }
}

}  // namespace
}  // namespace qv
