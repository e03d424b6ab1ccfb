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

TEST(NetworkModel, ForbiddenStationLosesTransfersButKeepsItsLine) {
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
    EXPECT_TRUE(model.StationLinks().Joined(1, 2));

    ASSERT_TRUE(ToggleForbidden(middle));
    model.BuildAdjacency();
    EXPECT_TRUE(model.StationLinks().Joined(1, 3));
}

TEST(NetworkModel, OnlyStationsToggleForbidden) {
    Station shape{.kind = kShapePointKind};
    EXPECT_FALSE(ToggleForbidden(shape));
    EXPECT_EQ(shape.kind, kShapePointKind);
}

TEST(NetworkModel, LinesTakeTheModelsDrawingWidths) {
    NetworkModel model;
    model.lineWidth = 5;
    model.stationRadius = 6;
    model.outlineWidth = 2;
    const Line& line = model.AddLine(3, u"Линия", 0x123456, false, 2, 4);
    EXPECT_EQ(line.lineWidth, 5);
    EXPECT_EQ(line.stationRadius, 6);
    EXPECT_EQ(line.outlineWidth, 2);
    EXPECT_EQ(line.waitTime, 4);
    EXPECT_EQ(line.capacity, 2);
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
    model.settings.departureIndex = 0;
    model.settings.destinationIndex = 2;
    model.RestoreSavedStations();
    EXPECT_EQ(model.departure, model.Stations()[0]);
    EXPECT_EQ(model.destination, model.Stations()[2]);
}

TEST(NetworkModel, ClearLeavesNothingThatRefersToTheOldPoints) {
    NetworkModel model;
    AddPoints(model, 1, {0, 10});
    model.transfers.push_back({});
    model.BuildStationIndex();
    model.departure = model.destination = model.hotStation = model.Stations()[0];
    model.route = {model.Stations()[0]};
    model.Clear();
    EXPECT_EQ(model.LineCount(), 0);
    EXPECT_EQ(model.StationCount(), 0);
    EXPECT_EQ(model.TransferCount(), 0);
    EXPECT_EQ(model.StationLinks().PointCount(), 0);
    EXPECT_TRUE(model.route.empty());
    EXPECT_EQ(model.departure, nullptr);
    EXPECT_EQ(model.hotStation, nullptr);
}

TEST(NetworkModel, LinksGrowWithPointsNotTheirSquare) {
    NetworkModel model;
    for (std::int32_t line = 0; line < 50; ++line) {
        Line& added = model.AddLine(line, u"Линия", 0, line % 2 == 0, 100, 0);
        for (std::int32_t i = 0; i < 100; ++i) {
            added.AddStation({.name = u"С", .x = i * 7, .y = line * 3});
        }
    }
    for (std::int32_t line = 1; line < 50; ++line) {
        model.transfers.push_back({0, (line - 1) * 3, 0, line * 3, 2});
    }
    model.BuildStationIndex();
    EXPECT_EQ(model.StationCount(), 5000);
    // 99 links each way per line, plus each ring's closing pair, plus two per transfer.
    EXPECT_EQ(model.StationLinks().LinkCount(), 50 * 198 + 25 * 2 + 49 * 2);
}

TEST(RouteStops, AStationMetAgainOnTheSameLineNumberIsOneStopAndShapePointsNone) {
    NetworkModel model;
    const auto add = [&model](std::int32_t number, std::initializer_list<const char16_t*> names) {
        Line& line =
            model.AddLine(number, u"Линия", 0, false, static_cast<std::int32_t>(names.size()), 0);
        for (const char16_t* name : names) {
            line.AddStation(
                {.name = name, .kind = name[0] == u'~' ? kShapePointKind : kStationKind});
        }
    };
    add(1, {u"А", u"~", u"Б"});
    add(1, {u"Б", u"В"});
    add(2, {u"В", u"Г"});
    model.BuildStationIndex();
    std::vector<std::u16string> stops;
    for (const Station* stop : RouteStops(model.Stations())) {
        stops.push_back(stop->name);
    }
    EXPECT_EQ(stops, (std::vector<std::u16string>{u"А", u"Б", u"В", u"В", u"Г"}));
}

TEST(Adjacency, DropsLinksOutsideTheRangeAndRepeats) {
    Adjacency adjacency;
    adjacency.Build(3, {{0, 2}, {0, 1}, {0, 2}, {-1, 0}, {2, 3}, {5, 5}});
    EXPECT_EQ(adjacency.LinkCount(), 2);
    EXPECT_EQ(
        std::vector<std::int32_t>(adjacency.Neighbours(0).begin(), adjacency.Neighbours(0).end()),
        (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(adjacency.Neighbours(7).empty());
    EXPECT_FALSE(adjacency.Joined(-1, 0));
}

}  // namespace
}  // namespace qv
