#include "model/network_model.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

Line& AddPoints(NetworkModel& model, std::int32_t number, std::initializer_list<std::int32_t> xs,
                bool ring = false) {
    Line& line = model.AddLine(number, u"Линия", 0, ring, static_cast<std::int32_t>(xs.size()), 0);
    for (const std::int32_t x : xs) {
        line.AddStation({.name = u"Станция", .x = x, .y = number});
    }
    return line;
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
