#include "model/network_model.h"

#include <gtest/gtest.h>

#include "map_text.h"

namespace qv {
namespace {

// Adds a line of points at the given x positions (y = the line's number), all of kind 'S'.
Line& AddPoints(NetworkModel& model, std::int32_t number, std::initializer_list<std::int32_t> xs,
                bool ring = false) {
    Line& line = model.AddLine(number, u"Линия", 0, ring, static_cast<std::int32_t>(xs.size()), 0);
    for (const std::int32_t x : xs) {
        line.AddStation({.name = u"Станция", .x = x, .y = number});
    }
    return line;
}

std::vector<std::vector<std::int32_t>> Links(const NetworkModel& model) {
    std::vector<std::vector<std::int32_t>> links;
    for (std::int32_t point = 0; point < model.StationCount(); ++point) {
        const auto row = model.StationLinks().Neighbours(point);
        links.emplace_back(row.begin(), row.end());
    }
    return links;
}

using LinkTable = std::vector<std::vector<std::int32_t>>;

TEST(NetworkModel, JoinsNeighboursAlongEachLineAndARingsEndsButNotConsecutiveLines) {
    NetworkModel model;
    AddPoints(model, 1, {0, 10});
    AddPoints(model, 2, {0, 10, 20}, true);
    AddPoints(model, 3, {30, 40, 50});
    AddPoints(model, 4, {60, 70});
    model.BuildStationIndex();
    EXPECT_EQ(model.Lines()[2]->firstStationIndex, 5);
    EXPECT_EQ(Links(model),
              (LinkTable{{1}, {0}, {3, 4}, {2, 4}, {2, 3}, {6}, {5, 7}, {6}, {9}, {8}}));
    EXPECT_EQ(model.StationLinks().LinkCount(), 14);
    EXPECT_FALSE(model.StationLinks().Joined(0, 0));
}

TEST(NetworkModel, TransferJoinsTheFirstStationAtEachEnd) {
    // Each end of the first transfer lies where several points do; only the lowest-numbered
    // 'S' point of each place is joined.
    NetworkModel model;
    Line& first = model.AddLine(1, u"Линия", 0, false, 2, 0);
    first.AddStation({.name = u"Изгиб", .kind = kShapePointKind, .x = 10, .y = 1});  // 0
    first.AddStation({.name = u"А", .x = 10, .y = 1});                               // 1
    AddPoints(model, 2, {30, 40});                                                   // 2, 3
    AddPoints(model, 3, {20, 60});                                                   // 4, 5
    AddPoints(model, 4, {20, 70});                                                   // 6, 7
    model.Lines()[1]->stations[0]->x = 10;  // point 2 also at (10, 1)
    model.Lines()[1]->stations[0]->y = 1;
    model.Lines()[3]->stations[0]->y = 3;  // point 6 also at (20, 3), where point 4 is
    model.transfers.push_back({10, 1, 20, 3, 3});
    model.transfers.push_back({0, 1, 99, 99, 3});  // second end matches nothing
    model.BuildStationIndex();
    EXPECT_EQ(Links(model), (LinkTable{{1}, {0, 4}, {3}, {2}, {1, 5}, {4}, {7}, {6}}));
}

TEST(NetworkModel, ForbiddenStationLosesTransfersButKeepsItsLineAndOnlyStationsToggle) {
    NetworkModel model;
    AddPoints(model, 1, {0, 10, 20});
    AddPoints(model, 2, {10, 30});
    model.transfers.push_back({10, 1, 10, 2, 3});
    model.BuildStationIndex();
    ASSERT_TRUE(model.StationLinks().Joined(1, 3));

    Station& middle = *model.Stations()[1];
    ASSERT_TRUE(ToggleForbidden(middle));
    model.BuildAdjacency();
    EXPECT_FALSE(model.StationLinks().Joined(1, 3));
    EXPECT_FALSE(model.StationLinks().Joined(3, 1));
    EXPECT_TRUE(model.StationLinks().Joined(0, 1));

    ASSERT_TRUE(ToggleForbidden(middle));
    model.BuildAdjacency();
    EXPECT_TRUE(model.StationLinks().Joined(1, 3));

    Station shape{.kind = kShapePointKind};
    EXPECT_FALSE(ToggleForbidden(shape));
    EXPECT_EQ(shape.kind, kShapePointKind);
}

TEST(NetworkModel, RestoreSavedStationsChecksTheRange) {
    NetworkModel model;
    AddPoints(model, 1, {0, 10, 20});
    model.BuildStationIndex();
    model.settings.saveRoute = true;
    for (const std::int32_t outside : {-1, 3}) {
        model.settings.departureIndex = outside;
        model.settings.destinationIndex = outside;
        model.RestoreSavedStations();
        EXPECT_EQ(model.departure, nullptr);
        EXPECT_EQ(model.destination, nullptr);
    }
}

}  // namespace
}  // namespace qv
