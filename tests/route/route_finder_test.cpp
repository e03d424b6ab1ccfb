#include "route/route_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network_builder.h"
#include "route/route_measures.h"

namespace qv {
namespace {

using testing::NetworkBuilder;

class RecordingFeedback : public RouteSearchFeedback {
  public:
    void BeginWait() override { events.push_back("wait"); }
    void EndWait() override { events.push_back("done"); }
    void ShowRouteNotFound() override { events.push_back("not found"); }
    std::vector<std::string> events;
};

std::vector<std::int32_t> RouteIndices(const NetworkModel& model) {
    std::vector<std::int32_t> indices;
    for (const Station* point : model.route) {
        indices.push_back(point->index);
    }
    return indices;
}

using Indices = std::vector<std::int32_t>;

std::vector<std::int32_t> Find(NetworkModel& model, std::int32_t from, std::int32_t to) {
    model.departure = model.Stations()[static_cast<std::size_t>(from)];
    model.destination = model.Stations()[static_cast<std::size_t>(to)];
    RecordingFeedback feedback;
    FindRoute(model, feedback);
    return RouteIndices(model);
}

// Line 1: A0 B1 C2 D3; line 2: E4 C'5 G6 H7; C and C' joined by a transfer.
std::unique_ptr<NetworkModel> CrossNetwork() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}, {u"D", 30, 0}})
        .Line(2, {{u"E", 21, -20}, {u"C'", 21, 1}, {u"G", 21, 20}, {u"H", 21, 30}})
        .Transfer(20, 0, 21, 1, 3)
        .Build();
}

// Line 1: A0 B1 C2; line 2: A'3 X4 C'5, joined to line 1 at both ends.
std::unique_ptr<NetworkModel> DetourNetwork() {
    return NetworkBuilder()
        .Line(1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}})
        .Line(2, {{u"A'", 1, 1}, {u"X", 10, 10}, {u"C'", 21, 1}})
        .Transfer(0, 0, 1, 1, 2)
        .Transfer(20, 0, 21, 1, 2)
        .Build();
}

TEST(FindRoute, DepartureEqualToDestinationIsARouteOfOnePoint) {
    auto model = NetworkBuilder().Line(1, {{u"A", 0, 0}, {u"B", 10, 0}}, 4).Build();
    model->settings.algorithm = 1;
    EXPECT_EQ(Find(*model, 1, 1), (Indices{1}));
    EXPECT_EQ(TravelTime(model->route, model->transfers, true), 4);
    EXPECT_EQ(TravelTime(model->route, model->transfers, false), 0);
}

TEST(FindRoute, NetworkWithoutTransfersStillFindsRoutesAlongALine) {
    auto model =
        NetworkBuilder()
            .Line(1, {{u"A", 0, 0}, {u"B", 10, 0}, {u"C", 20, 0}, {u"D", 30, 0}, {u"E", 40, 0}})
            .Build();
    EXPECT_EQ(MaxPathLength(*model), 6);
    EXPECT_EQ(Find(*model, 0, 4), (Indices{0, 1, 2, 3, 4}));
    EXPECT_EQ(Find(*model, 4, 0), (Indices{4, 3, 2, 1, 0}));
}

TEST(FindRoute, TenTransfersBoundThePathToTwoThirdsOfThePoints) {
    NetworkBuilder builder;
    builder
        .Line(1, {{u"0", 0, 0},
                  {u"1", 10, 0},
                  {u"2", 20, 0},
                  {u"3", 30, 0},
                  {u"4", 40, 0},
                  {u"5", 50, 0},
                  {u"6", 60, 0},
                  {u"7", 70, 0},
                  {u"8", 80, 0}})
        .Line(2, {{u"9", 0, 50}, {u"10", 10, 50}});
    for (int i = 0; i < 10; ++i) {
        builder.Transfer(999, i, 998, i, 1);  // joins nothing, but counts
    }
    auto model = builder.Build();
    ASSERT_EQ(MaxPathLength(*model), 7);  // (2 x 11) / 3
    EXPECT_EQ(Find(*model, 0, 5).size(), 6u);
    EXPECT_TRUE(Find(*model, 0, 6).empty());
}

TEST(FindRoute, NoTransfersAllowedStillReachesTheStationOfTheTransferStep) {
    auto model = CrossNetwork();
    model->settings.maxTransfers = 0;
    EXPECT_EQ(Find(*model, 0, 3), (Indices{0, 1, 2, 3}));
    EXPECT_EQ(Find(*model, 0, 5), (Indices{0, 1, 2, 5}));
    EXPECT_EQ(CountTransfers(model->route), 1);
    EXPECT_TRUE(Find(*model, 0, 6).empty());
    model->settings.maxTransfers = 1;
    EXPECT_EQ(Find(*model, 0, 6), (Indices{0, 1, 2, 5, 6}));
}

TEST(FindRoute, ForbiddenStationForcesADetourWithinTheTransferLimit) {
    auto model = DetourNetwork();
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 1, 2}));
    ToggleForbidden(*model->Stations()[1]);
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 3, 4, 5, 2}));
    // The limit is tested before a step: a path with one transfer may still take a second.
    model->settings.maxTransfers = 1;
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 3, 4, 5, 2}));
    model->settings.maxTransfers = 0;
    EXPECT_TRUE(Find(*model, 0, 2).empty());
}

TEST(FindRoute, ForbiddenDestinationIsNeverReachedUnlessItIsTheDeparture) {
    auto model = DetourNetwork();
    ToggleForbidden(*model->Stations()[2]);
    EXPECT_TRUE(Find(*model, 0, 2).empty());
    EXPECT_EQ(Find(*model, 2, 2), (Indices{2}));
}

TEST(FindRoute, RebuildsTheAdjacencySoThatNewKindsCount) {
    auto model = DetourNetwork();
    model->settings.algorithm = 1;
    EXPECT_EQ(Find(*model, 0, 3), (Indices{0, 3}));
    // The departure made forbidden loses its transfer once the search rebuilds the links.
    ToggleForbidden(*model->Stations()[0]);
    EXPECT_EQ(Find(*model, 0, 3), (Indices{0, 1, 2, 5, 4, 3}));
}

TEST(FindRoute, AmongEqualScoresTheLowestSlotWins) {
    // A ring of three: 0 -> 2 either through 1 (slot 0, found first) or directly (slot 1).
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, 0}, {u"C", 5, 10, 2}}, 0, true)
                     .Build();
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 1, 2}));
    model->settings.algorithm = 1;
    model->settings.countWaitTime = false;
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 1, 2}));  // 0 + 2 minutes against 2
    model->Stations()[1]->runTime = 1;
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 2}));
}

TEST(FindRoute, TimesOf9999MinutesOrMoreAreNeverChosen) {
    auto model = NetworkBuilder().Line(1, {{u"A", 0, 0, 9999}, {u"B", 10, 0}}).Build();
    model->settings.algorithm = 1;
    model->settings.countWaitTime = false;
    EXPECT_TRUE(Find(*model, 0, 1).empty());
    model->Stations()[0]->runTime = 9998;
    EXPECT_EQ(Find(*model, 0, 1), (Indices{0, 1}));
}

TEST(FindRoute, UnknownAlgorithmChoosesNothing) {
    auto model = CrossNetwork();
    model->settings.algorithm = 2;
    EXPECT_TRUE(Find(*model, 0, 3).empty());
}

TEST(FindRoute, TellsTheUserWhileWaitingAndDropsTheOldRoute) {
    auto model = CrossNetwork();
    RecordingFeedback found;
    model->departure = model->Stations()[0];
    model->destination = model->Stations()[3];
    FindRoute(*model, found);
    EXPECT_EQ(found.events, (std::vector<std::string>{"wait", "done"}));
    ASSERT_EQ(model->route.size(), 4u);

    model->settings.maxTransfers = 0;
    model->destination = model->Stations()[7];
    RecordingFeedback missing;
    FindRoute(*model, missing);
    EXPECT_EQ(missing.events, (std::vector<std::string>{"wait", "not found", "done"}));
    EXPECT_TRUE(model->route.empty());
}

TEST(FindRoute, ShapePointsAreRouteEntriesButNotStations) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 0, 0}, {u"p", 5, 5, 1, kShapePointKind}, {u"B", 10, 0}})
                     .Build();
    EXPECT_EQ(Find(*model, 0, 2), (Indices{0, 1, 2}));
    EXPECT_EQ(CountTransfers(model->route), 0);
}

}  // namespace
}  // namespace qv
