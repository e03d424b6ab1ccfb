#include "route/route_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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
template <std::int32_t kARunTime = 1>
std::unique_ptr<NetworkModel> Detour() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0, kARunTime}, {u"B", 10, 0}, {u"C", 20, 0}})
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

// Line 1: A0 B1 C2 Y3; line 2: C'4 D5, joined at C. D lies five points from A, the most six points
// and one transfer record allow, through the copy the path makes at C.
std::unique_ptr<NetworkModel> Fork() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}, {u"Y", 30, 0}})
        .Line(2, {{u"C'", 20, 10}, {u"D", 30, 10}})
        .Transfer(20, 0, 20, 10, 1)
        .Build();
}

// Two ways from A to Z of 4 minutes: along line 1, or in fewer points over line 2 with two
// transfers of a minute. Line 2 comes first when kSecondFirst.
template <bool kSecondFirst>
std::unique_ptr<NetworkModel> EqualWays() {
    NetworkBuilder builder;
    for (const bool second : {kSecondFirst, !kSecondFirst}) {
        second ? builder.Line(2, {{u"A'", 0, 10, 2}, {u"Z'", 40, 10}})
               : builder.Line(
                     1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}, {u"D", 30, 0}, {u"Z", 40, 0}});
    }
    return builder.Transfer(0, 0, 0, 10, 1).Transfer(40, 0, 40, 10, 1).Build();
}

// A ring; a step takes the minutes of the station it reaches. Ring<2, 0, 2>: 0 -> 2 takes 2 either
// way; Ring<0, 1, 0, 0, 1, 0, 0>: 0 -> 3 takes 1 either way, the longer way begun first.
template <std::int32_t... kRunTimes>
std::unique_ptr<NetworkModel> Ring() {
    return NetworkBuilder().Line(1, {{u"S", 0, 0, kRunTimes}...}, 0, true).Build();
}

// A and B with a shape point between them, A's run time and the line's wait given.
template <std::int32_t kRunTime, std::int32_t kWait = 4>
std::unique_ptr<NetworkModel> AroundAShapePoint() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0, kRunTime}, {u"p", 5, 5, 1, kShapePointKind}, {u"B", 10, 0}}, kWait)
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
    std::optional<RouteScore> toBeat = {};  // for the exact search alone
};

const RouteCase kRouteCases[] = {
    {"departure is the destination", AroundAShapePoint<1>, 2, 2, {2}, 1},
    // A route holds fewer points than its bound: the points and one more without transfers, the
    // points times the transfer records below ten, else two thirds of the points.
    {"no transfers: along a line", IdleLine<5, 0>, 0, 4, {0, 1, 2, 3, 4}},
    {"one transfer: all points but one", IdleLine<5, 1>, 0, 3, {0, 1, 2, 3}},
    {"one transfer: not all points", IdleLine<5, 1>, 0, 4, {}},
    {"nine transfers: all points", IdleLine<5, 9>, 0, 4, {0, 1, 2, 3, 4}},
    {"ten transfers: six of eleven points", IdleLine<11, 10>, 0, 5, {0, 1, 2, 3, 4, 5}},
    {"ten transfers: not seven of eleven", IdleLine<11, 10>, 0, 6, {}},
    {"thirty transfers: five of ten", IdleLine<10, 30>, 0, 4, {0, 1, 2, 3, 4}},
    {"thirty transfers: not six of ten", IdleLine<10, 30>, 0, 5, {}},
    {"a copy one point short of the longest", Fork, 0, 5, {0, 1, 2, 4, 5}},
    {"limit 0 still reaches the station of the transfer", Cross, 0, 5, {0, 1, 2, 5}, 0, 0},
    {"limit 0 stops after it", Cross, 0, 6, {}, 0, 0},
    {"unknown algorithm", Cross, 0, 3, {}, 2},
    {"forbidden station forces a detour", Detour<>, 0, 2, {0, 3, 4, 5, 2}, 0, 3, {1}},
    // The limit is tested before a step: a path with one transfer may still take a second.
    {"detour of two transfers under limit 1", Detour<>, 0, 2, {0, 3, 4, 5, 2}, 0, 1, {1}},
    {"detour past limit 0", Detour<>, 0, 2, {}, 0, 0, {1}},
    {"forbidden destination", Detour<>, 0, 2, {}, 0, 3, {2}},
    {"forbidden destination that is the departure", Detour<>, 2, 2, {2}, 0, 3, {2}},
    {"equal transfers: the lowest slot", Ring<2, 0, 2>, 0, 2, {0, 1, 2}},
    {"equal minutes: the lowest slot", Ring<2, 0, 2>, 0, 2, {0, 1, 2}, 1},
    {"fewer minutes", Ring<2, 1, 2>, 0, 2, {0, 2}, 1},
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

// Detour<9>: along line 1 no transfer and 10 minutes, the detour two and 6.
const RouteCase kBestCases[] = {
    {"fewer transfers than known", Detour<9>, 0, 2, {0, 1, 2}, 0, 3, {}, RouteScore{1, 8}},
    {"as many transfers, a minute fewer", Detour<9>, 0, 2, {0, 1, 2}, 0, 3, {}, RouteScore{0, 11}},
    {"fewer minutes than known", Detour<9>, 0, 2, {0, 3, 4, 5, 2}, 1, 3, {}, RouteScore{9, 7}},
    {"equal transfers: the fewest points", Ring<2, 0, 2>, 0, 2, {0, 2}, 0, 0},
    {"equal minutes: the fewest points", Ring<0, 1, 0, 0, 1, 0, 0>, 0, 3, {0, 1, 2, 3}, 1, 0},
    // As fast: the fewer transfers, in more points, whichever line is listed first; known as fast,
    // only one with fewer transfers is better.
    {"as fast", EqualWays<false>, 0, 4, {0, 1, 2, 3, 4}, 1},
    {"as fast, listed second", EqualWays<true>, 2, 6, {2, 3, 4, 5, 6}, 1},
    {"known: two transfers", EqualWays<true>, 2, 6, {2, 3, 4, 5, 6}, 1, 3, {}, RouteScore{2, 4}},
    {"known: none", EqualWays<true>, 2, 6, {}, 1, 3, {}, RouteScore{0, 4}},
    {"known: the departure itself", Ring<2, 0, 2>, 1, 1, {}, 0, 3, {}, RouteScore{0, 0}},
    {"9999 minutes: none", AroundAShapePoint<9999>, 0, 2, {}, 1},
    {"a negative wait left uncounted", AroundAShapePoint<1, -4>, 0, 2, {0, 1, 2}},
};

TEST(BestRouteSearch, OrdersByTheAlgorithmThenByTheOtherMeasureThenTakesTheFewestPoints) {
    for (const RouteCase& c : kBestCases) {
        SCOPED_TRACE(c.what);
        auto model = c.network();
        model->settings.countWaitTime = false;
        const RouteRules rules{c.algorithm, c.maxTransfers, 9};
        const auto found = SearchBestRoute(SearchGraph(*model), rules, c.from, c.to, c.toBeat);
        EXPECT_EQ(found.points, c.expected);
        EXPECT_TRUE(found.complete);  // no step costs negative minutes: the search never gives up
    }
}

TEST(SearchRoute, EndsOutsideTheNetworkFindNothing) {
    auto model = Cross();
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
