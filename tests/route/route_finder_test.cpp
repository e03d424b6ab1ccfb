#include "route/route_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "network_builder.h"

namespace qv {
namespace {

using testing::NetworkBuilder;
using Indices = std::vector<std::int32_t>;
using Network = std::unique_ptr<NetworkModel> (*)();

Indices Find(NetworkModel& model, std::int32_t from, std::int32_t to) {
    model.departure = model.Stations()[static_cast<std::size_t>(from)];
    model.destination = model.Stations()[static_cast<std::size_t>(to)];
    SilentRouteSearchFeedback feedback;
    FindRoute(model, feedback);
    Indices indices(model.route.size());
    std::ranges::transform(model.route, indices.begin(), [](const Station* p) { return p->index; });
    return indices;
}

// Line 1: A0 B1 C2 D3; line 2: E4 C'5 G6 H7; C and C' joined by a transfer.
std::unique_ptr<NetworkModel> Cross() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}, {u"D", 30, 0}})
        .Line(2, {{u"E", 21, -20}, {u"C'", 21, 1}, {u"G", 21, 20}, {u"H", 21, 30}})
        .Transfer(20, 0, 21, 1, 3)
        .Build();
}

// Line 1: A0 B1 C2; line 2: A'3 X4 C'5, joined to line 1 at both ends.
std::unique_ptr<NetworkModel> Detour() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}})
        .Line(2, {{u"A'", 1, 1}, {u"X", 10, 10}, {u"C'", 21, 1}})
        .Transfer(0, 0, 1, 1, 2)
        .Transfer(20, 0, 21, 1, 2)
        .Build();
}

template <std::int32_t kPoints, std::int32_t kRecords>
std::unique_ptr<NetworkModel> IdleLine() {
    auto model = std::make_unique<NetworkModel>();
    Line& line = model->AddLine(1, u"Линия", 0, false, kPoints, 0);
    for (std::int32_t i = 0; i < kPoints; ++i) {
        line.AddStation({.name = u"Точка", .runTime = 1, .x = 10 * i});
    }
    for (std::int32_t i = 0; i < kRecords; ++i) {
        model->transfers.push_back({999, i, 998, i, 1});  // joins nothing but counts
    }
    model->BuildStationIndex();
    return model;
}

// A ring of three: 0 -> 2 either through 1 (found first) or directly, in 0 + 2 minutes or 2.
template <std::int32_t kBRunTime = 0>
std::unique_ptr<NetworkModel> Ring() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, kBRunTime}, {u"C", 5, 10, 2}}, 0, true)
        .Build();
}

// A and B with a shape point between them, A's run time given.
template <std::int32_t kRunTime>
std::unique_ptr<NetworkModel> AroundAShapePoint() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0, kRunTime}, {u"p", 5, 5, 1, kShapePointKind}, {u"B", 10, 0}}, 4)
        .Build();
}

struct RouteCase {
    const char* what;
    Network network;
    std::int32_t from;
    std::int32_t to;
    Indices expected;
    std::int32_t algorithm = 0;
    std::int32_t maxTransfers = 3;
    Indices forbidden = {};
};

const RouteCase kRouteCases[] = {
    {"departure is the destination", AroundAShapePoint<1>, 2, 2, {2}, 1},
    {"no transfers: along a line", IdleLine<5, 0>, 0, 4, {0, 1, 2, 3, 4}},
    {"ten transfers: within two thirds of the points", IdleLine<11, 10>, 0, 5, {0, 1, 2, 3, 4, 5}},
    {"ten transfers: past them", IdleLine<11, 10>, 0, 6, {}},
    {"limit 0 still reaches the station of the transfer", Cross, 0, 5, {0, 1, 2, 5}, 0, 0},
    {"limit 0 stops after it", Cross, 0, 6, {}, 0, 0},
    {"unknown algorithm", Cross, 0, 3, {}, 2},
    {"forbidden station forces a detour", Detour, 0, 2, {0, 3, 4, 5, 2}, 0, 3, {1}},
    // The limit is tested before a step: a path with one transfer may still take a second.
    {"detour of two transfers under limit 1", Detour, 0, 2, {0, 3, 4, 5, 2}, 0, 1, {1}},
    {"detour past limit 0", Detour, 0, 2, {}, 0, 0, {1}},
    {"forbidden destination", Detour, 0, 2, {}, 0, 3, {2}},
    {"forbidden destination that is the departure", Detour, 2, 2, {2}, 0, 3, {2}},
    {"equal transfers: the lowest slot", Ring<>, 0, 2, {0, 1, 2}},
    {"equal minutes: the lowest slot", Ring<>, 0, 2, {0, 1, 2}, 1},
    {"fewer minutes", Ring<1>, 0, 2, {0, 2}, 1},
    {"9999 minutes are never chosen", AroundAShapePoint<9999>, 0, 2, {}, 1},
    {"9998 minutes are, shape point and all", AroundAShapePoint<9998>, 0, 2, {0, 1, 2}, 1},
};

TEST(FindRoute, ChoosesByTheRulesBoundsAndTieBreaks) {
    for (const RouteCase& c : kRouteCases) {
        SCOPED_TRACE(c.what);
        auto model = c.network();
        model->settings.algorithm = c.algorithm;
        model->settings.maxTransfers = c.maxTransfers;
        model->settings.countWaitTime = c.algorithm != 1;  // the times above leave waits out
        for (const std::int32_t point : c.forbidden) {
            ToggleForbidden(*model->Stations()[static_cast<std::size_t>(point)]);
        }
        EXPECT_EQ(Find(*model, c.from, c.to), c.expected);
    }
}

TEST(BestRouteSearch, OrdersByTheAlgorithmThenTakesTheFewestPoints) {
    // Detour: two transfers, 6 minutes; line 1: none, 10; each known score lies between them.
    auto detour = Detour();
    detour->Stations()[0]->runTime = 9;
    auto ring = Ring<>();
    for (auto* model : {detour.get(), ring.get()}) {
        model->settings.countWaitTime = false;
        model->BuildAdjacency();
    }
    for (const std::int32_t algorithm : {0, 1}) {
        const RouteRules rules{.algorithm = algorithm, .maxTransfers = 3, .maxLength = 9};
        const RouteScore known = algorithm == 0 ? RouteScore{1, 8} : RouteScore{9, 7};
        EXPECT_EQ(SearchBestRoute(SearchGraph(*detour), rules, 0, 2, known).points,
                  algorithm == 0 ? (Indices{0, 1, 2}) : (Indices{0, 3, 4, 5, 2}));
        const RouteRules ringRules{.algorithm = algorithm, .maxTransfers = 0, .maxLength = 4};
        EXPECT_EQ(SearchBestRoute(SearchGraph(*ring), ringRules, 0, 2).points, (Indices{0, 2}));
    }
}

TEST(SearchRoute, EndsOutsideTheNetworkFindNothing) {
    auto model = Cross();
    model->BuildAdjacency();
    const SearchGraph graph(*model);
    for (const auto& [from, to] : {std::pair{-1, 3}, {0, -1}, {8, 3}, {0, 8}}) {
        EXPECT_TRUE(SearchRoute(*model, from, to).empty()) << from << " " << to;
        EXPECT_TRUE(EnumerateRoute(*model, from, to).route.points.empty());
        EXPECT_TRUE(
            SearchBestRoute(graph, {.maxTransfers = 3, .maxLength = 9}, from, to).points.empty());
    }
}

}  // namespace
}  // namespace qv
