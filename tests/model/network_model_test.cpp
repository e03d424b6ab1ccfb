#include "model/network_model.h"

#include <gtest/gtest.h>

#include "network_builder.h"

namespace qv {
namespace {

TEST(NetworkModel, ForbiddenStationLosesTransfersButKeepsItsLineAndOnlyStationsToggle) {
    const auto model = testing::NetworkBuilder()
                           .Line(1, {{u"А", 0, 1}, {u"Б", 10, 1}, {u"В", 20, 1}})
                           .Line(2, {{u"Г", 10, 2}, {u"Д", 30, 2}})
                           .Line(3, {{u"Е", 50, 5}}, 0, true)  // a ring of one point
                           .Transfer(10, 1, 10, 2, 3)
                           .Build();
    ASSERT_TRUE(model->StationLinks().Joined(1, 3));

    Station& middle = *model->Stations()[1];
    ASSERT_TRUE(ToggleForbidden(middle));
    model->BuildAdjacency();
    EXPECT_FALSE(model->StationLinks().Joined(1, 3));
    EXPECT_TRUE(model->StationLinks().Joined(0, 1));
    EXPECT_TRUE(model->StationLinks().Neighbours(5).empty());

    ASSERT_TRUE(ToggleForbidden(middle));
    model->BuildAdjacency();
    EXPECT_TRUE(model->StationLinks().Joined(1, 3));

    Adjacency partly;  // a link with either end outside the points is no link
    partly.Build(2, {{0, 1}, {1, 2}, {-1, 0}});
    EXPECT_EQ(partly.LinkCount(), 1);

    Station shape{.kind = kShapePointKind};
    EXPECT_FALSE(ToggleForbidden(shape));
    EXPECT_EQ(shape.kind, kShapePointKind);
}

// The saved ends come back only with "save route" on, and only where the map has them.
TEST(NetworkModel, RestoreSavedStationsOnlyWhenAskedAndInRange) {
    struct Case {
        bool saveRoute;
        std::int32_t departure, destination;
        bool restored;
    };
    const Case cases[] = {
        {true, 0, 2, true}, {false, 0, 2, false}, {true, -1, -1, false}, {true, 3, 3, false}};
    for (const Case& c : cases) {
        const auto model =
            testing::NetworkBuilder().Line(1, {{u"А", 0, 0}, {u"Б", 10, 0}, {u"В", 20, 0}}).Build();
        model->settings.saveRoute = c.saveRoute;
        model->settings.departureIndex = c.departure;
        model->settings.destinationIndex = c.destination;
        model->RestoreSavedStations();
        EXPECT_EQ(model->departure, c.restored ? model->Stations()[0] : nullptr) << c.departure;
        EXPECT_EQ(model->destination, c.restored ? model->Stations()[2] : nullptr);
    }
}

}  // namespace
}  // namespace qv
