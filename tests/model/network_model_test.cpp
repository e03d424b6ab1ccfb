#include "model/network_model.h"

#include <gtest/gtest.h>

#include "network_builder.h"

namespace qv {
namespace {

TEST(NetworkModel, ForbiddenStationLosesTransfersButKeepsItsLineAndOnlyStationsToggle) {
    const auto model = testing::NetworkBuilder()
                           .Line(1, {{u"А", 0, 1}, {u"Б", 10, 1}, {u"В", 20, 1}})
                           .Line(2, {{u"Г", 10, 2}, {u"Д", 30, 2}})
                           .Transfer(10, 1, 10, 2, 3)
                           .Build();
    ASSERT_TRUE(model->StationLinks().Joined(1, 3));

    Station& middle = *model->Stations()[1];
    ASSERT_TRUE(ToggleForbidden(middle));
    model->BuildAdjacency();
    EXPECT_FALSE(model->StationLinks().Joined(1, 3));
    EXPECT_FALSE(model->StationLinks().Joined(3, 1));
    EXPECT_TRUE(model->StationLinks().Joined(0, 1));

    ASSERT_TRUE(ToggleForbidden(middle));
    model->BuildAdjacency();
    EXPECT_TRUE(model->StationLinks().Joined(1, 3));

    Station shape{.kind = kShapePointKind};
    EXPECT_FALSE(ToggleForbidden(shape));
    EXPECT_EQ(shape.kind, kShapePointKind);
}

TEST(NetworkModel, RestoreSavedStationsChecksTheRange) {
    const auto model =
        testing::NetworkBuilder().Line(1, {{u"А", 0, 0}, {u"Б", 10, 0}, {u"В", 20, 0}}).Build();
    model->settings.saveRoute = true;
    for (const std::int32_t outside : {-1, 3}) {
        model->settings.departureIndex = outside;
        model->settings.destinationIndex = outside;
        model->RestoreSavedStations();
        EXPECT_EQ(model->departure, nullptr);
        EXPECT_EQ(model->destination, nullptr);
    }
}

}  // namespace
}  // namespace qv
