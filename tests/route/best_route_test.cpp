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
using testing::RandomNetworkShape;
using Points = std::vector<std::int32_t>;

std::vector<Station*> StationsOf(const NetworkModel& model, const Points& points) {
    std::vector<Station*> stations;
    for (const std::int32_t point : points) {
        stations.push_back(model.Stations()[static_cast<std::size_t>(point)]);
    }
    return stations;
}

RouteScore Measure(const NetworkModel& model, const Points& points) {
    const std::vector<Station*> stations = StationsOf(model, points);
    return {CountTransfers(stations),
            TravelTime(stations, model.transfers, model.settings.countWaitTime)};
}

RouteRules RulesOf(const NetworkModel& model) {
    return {.algorithm = model.settings.algorithm,
            .maxTransfers = model.settings.maxTransfers,
            .maxLength = MaxPathLength(model)};
}

// Why a path breaks the rules of a search, or nothing when it keeps them: it starts and ends at the
// ends asked, steps only along links, never enters a forbidden point or a point twice, and takes
// each step within the point bound and the transfer limit of the path before it.
std::optional<std::string> BrokenRule(const NetworkModel& model, const Points& path,
                                      std::int32_t from, std::int32_t to) {
    if (path.empty() || path.front() != from || path.back() != to) {
        return "wrong ends";
    }
    const RouteRules rules = RulesOf(model);
    for (std::size_t i = 1; i < path.size(); ++i) {
        const Points before(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(i));
        if (!model.StationLinks().Joined(path[i - 1], path[i])) {
            return "no link at step " + std::to_string(i);
        }
        if (model.Stations()[static_cast<std::size_t>(path[i])]->kind == kForbiddenKind) {
            return "forbidden point entered";
        }
        if (std::find(before.begin(), before.end(), path[i]) != before.end()) {
            return "point twice";
        }
        if (static_cast<std::int64_t>(i) >= rules.maxLength - 1) {
            return "past the point bound";
        }
        if (Measure(model, before).transfers > rules.maxTransfers) {
            return "step past the transfer limit";
        }
    }
    if (rules.algorithm == 1 && Measure(model, path).minutes >= kRouteMinutesLimit) {
        return "too long to be chosen";
    }
    return std::nullopt;
}

// Every admissible simple path, walked one by one: the best score, or nothing.
class BruteForce {
  public:
    explicit BruteForce(const NetworkModel& model, std::int32_t to) : model_(model), to_(to) {}

    std::optional<RouteScore> Best(std::int32_t from) {
        path_ = {from};
        Walk();
        return best_;
    }

  private:
    void Walk() {
        const RouteRules rules = RulesOf(model_);
        if (path_.back() == to_) {
            const RouteScore score = Measure(model_, path_);
            if ((rules.algorithm == 0 || score.minutes < kRouteMinutesLimit) &&
                (!best_ || IsBetterRoute(score, *best_, rules.algorithm))) {
                best_ = score;
            }
            return;
        }
        if (static_cast<std::int64_t>(path_.size()) >= rules.maxLength - 1 ||
            Measure(model_, path_).transfers > rules.maxTransfers) {
            return;
        }
        for (const std::int32_t next : model_.StationLinks().Neighbours(path_.back())) {
            if (model_.Stations()[static_cast<std::size_t>(next)]->kind == kForbiddenKind ||
                std::find(path_.begin(), path_.end(), next) != path_.end()) {
                continue;
            }
            path_.push_back(next);
            Walk();
            path_.pop_back();
        }
    }

    const NetworkModel& model_;
    const std::int32_t to_;
    Points path_;
    std::optional<RouteScore> best_;
};

TEST(BestRouteSearch, ReachesTheBestOfEveryAdmissibleSimplePathOnSmallNetworks) {
    const RandomNetworkShape small{.maxLines = 3, .maxPointsPerLine = 5, .gridSize = 4};
    int found = 0;
    int bounded = 0;
    for (std::uint32_t seed = 1; seed <= 3000; ++seed) {
        const auto model = MakeRandomNetwork(seed, small);
        const std::int32_t from = model->departure->index;
        const std::int32_t to = model->destination->index;
        const std::optional<RouteScore> expected = BruteForce(*model, to).Best(from);
        const ScoredRoute best = SearchBestRoute(SearchGraph(*model), RulesOf(*model), from, to);
        if (!expected || (model->settings.algorithm != 0 && model->settings.algorithm != 1)) {
            ASSERT_TRUE(best.points.empty()) << "seed " << seed;
            continue;
        }
        ASSERT_FALSE(best.points.empty()) << "seed " << seed;
        ASSERT_EQ(BrokenRule(*model, best.points, from, to), std::nullopt) << "seed " << seed;
        const RouteScore measured = Measure(*model, best.points);
        EXPECT_EQ(measured.transfers, best.score.transfers) << "seed " << seed;
        EXPECT_EQ(measured.minutes, best.score.minutes) << "seed " << seed;
        EXPECT_EQ(measured.transfers, expected->transfers) << "seed " << seed;
        EXPECT_EQ(measured.minutes, expected->minutes) << "seed " << seed;
        // A known route as good as the best leaves nothing to find; a worse one, the best.
        const SearchGraph graph(*model);
        EXPECT_TRUE(SearchBestRoute(graph, RulesOf(*model), from, to, *expected).points.empty())
            << "seed " << seed;
        const RouteScore worse{expected->transfers, expected->minutes + 1};
        EXPECT_EQ(SearchBestRoute(graph, RulesOf(*model), from, to, worse).score.minutes,
                  expected->minutes)
            << "seed " << seed;
        ++found;
        bounded += MaxPathLength(*model) - 1 < model->StationCount();
    }
    EXPECT_GT(found, 1000);
    EXPECT_GT(bounded, 200);  // the point bound is often in force
}

TEST(BestRouteSearch, RouteOfTheSearchIsNeverWorseThanTheEnumerationsWhereBoundsCutIt) {
    const RandomNetworkShape dense{.maxLines = 8,
                                   .maxPointsPerLine = 14,
                                   .gridSize = 4,
                                   .minTransferRecords = 20,
                                   .maxTransferRecords = 60};
    int cut = 0;
    int bettered = 0;
    for (std::uint32_t seed = 10001; seed <= 10150; ++seed) {
        const auto model = MakeRandomNetwork(seed, dense);
        const std::int32_t from = model->departure->index;
        const std::int32_t to = model->destination->index;
        const EnumeratedRoute enumerated = EnumerateRoute(*model, from, to);
        const Points route = SearchRoute(*model, from, to);
        if (!enumerated.cutShort) {
            ASSERT_EQ(route, enumerated.route.points) << "seed " << seed;
            continue;
        }
        ++cut;
        if (route.empty()) {
            ASSERT_TRUE(enumerated.route.points.empty()) << "seed " << seed;
            continue;
        }
        ASSERT_EQ(BrokenRule(*model, route, from, to), std::nullopt) << "seed " << seed;
        if (!enumerated.route.points.empty()) {
            const RouteScore literal = Measure(*model, enumerated.route.points);
            ASSERT_FALSE(IsBetterRoute(literal, Measure(*model, route), model->settings.algorithm))
                << "seed " << seed;
        }
        bettered += route != enumerated.route.points;
    }
    EXPECT_GT(cut, 30);
    EXPECT_GT(bettered, 5);
}

TEST(BestRouteSearch, EqualScoresKeepTheEnumerationsChoice) {
    // A ring of three: 0 -> 2 through 1 or directly, both 0 transfers and 2 minutes.
    auto model = std::make_unique<NetworkModel>();
    Line& ring = model->AddLine(1, u"Кольцо", 0, true, 3, 0);
    ring.AddStation({.name = u"A", .runTime = 2, .x = 0, .y = 0});
    ring.AddStation({.name = u"B", .runTime = 0, .x = 10, .y = 0});
    ring.AddStation({.name = u"C", .runTime = 2, .x = 5, .y = 10});
    model->BuildStationIndex();
    model->BuildAdjacency();
    model->settings.countWaitTime = false;
    const ScoredRoute best = SearchBestRoute(SearchGraph(*model), RulesOf(*model), 0, 2);
    EXPECT_EQ(best.points, (Points{0, 2}));  // fewer points among equals
    EXPECT_EQ(EnumerateRoute(*model, 0, 2).route.points, (Points{0, 1, 2}));
    EXPECT_FALSE(EnumerateRoute(*model, 0, 2).cutShort);
    EXPECT_EQ(SearchRoute(*model, 0, 2), (Points{0, 1, 2}));
}

std::unique_ptr<NetworkModel> LoadLondon() {
    auto model = std::make_unique<NetworkModel>();
    const std::string path = std::string(QV_MAPS_DIR) + "/london.qvn";
    if (LoadMapFile(*model, *Utf8ToUtf16(path), Settings{}) != 0) {
        return nullptr;
    }
    model->BuildAdjacency();
    return model;
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
    const auto london = LoadLondon();
    ASSERT_TRUE(london);
    const std::int32_t to = StationNamed(*london, u"Chesham");
    ASSERT_GE(to, 0);
    const std::int32_t line = london->Stations()[static_cast<std::size_t>(to)]->line->number;
    const std::int32_t firstByName = StationNamed(*london, u"Baker Street");
    const std::int32_t onTheLine = StationNamed(*london, u"Baker Street", line);
    ASSERT_GE(onTheLine, 0);
    for (const std::int32_t algorithm : {0, 1}) {
        london->settings.algorithm = algorithm;
        const EnumeratedRoute enumerated = EnumerateRoute(*london, firstByName, to);
        EXPECT_TRUE(enumerated.cutShort);
        EXPECT_TRUE(enumerated.route.points.empty());
        const Points route = SearchRoute(*london, firstByName, to);
        ASSERT_FALSE(route.empty()) << "algorithm " << algorithm;
        EXPECT_EQ(BrokenRule(*london, route, firstByName, to), std::nullopt);
        EXPECT_EQ(Measure(*london, SearchRoute(*london, onTheLine, to)).transfers, 0);
    }
}

}  // namespace
}  // namespace qv
