#include "route/route_list.h"

#include <gtest/gtest.h>

#include "network_builder.h"

namespace qv {
namespace {

using Role = RouteListRow::Role;
using testing::NetworkBuilder;

void SetRoute(NetworkModel& model, std::initializer_list<std::int32_t> indices) {
    model.route.clear();
    for (const std::int32_t index : indices) {
        model.route.push_back(model.Stations()[static_cast<std::size_t>(index)]);
    }
    model.departure = model.route.front();
    model.destination = model.route.back();
}

TEST(RouteList, OneChangeOfLineAddsATransferRowAndTheQuotedLineName) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"Арбат", 0, 0, 2},
                               {u"p", 5, 0, 9, kShapePointKind},
                               {u"Смоленская", 10, 0, 3}})
                     .Line(2, {{u"Киевская", 11, 1, 4}, {u"Парк", 20, 0, 1}})
                     .Transfer(10, 0, 11, 1, 3)
                     .Build();
    model->settings.countWaitTime = false;
    SetRoute(*model, {0, 1, 2, 3, 4});
    const std::vector<RouteListRow> rows = BuildRouteList(*model);
    ASSERT_EQ(rows.size(), 4u + 4u + 2u);

    const std::vector<Role> roles = {
        Role::Departure, Role::Destination, Role::Summary,  Role::Time,    Role::Station,
        Role::Station,   Role::Transfer,    Role::LineName, Role::Station, Role::Station};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].role, roles[i]) << "row " << i;
    }
    EXPECT_EQ(rows[0].text, u"Арбат");
    EXPECT_EQ(rows[1].text, u"Парк");
    EXPECT_EQ(rows[2].text, u"Станций 4 пересадок 1");
    EXPECT_EQ(rows[3].text,
              u"Время в пути 9 мин");  // 2 + 3 (transfer) + 4: the shape point adds nothing
    EXPECT_EQ(rows[6].text, u"Пересадка на линию");
    EXPECT_EQ(rows[7].text, u"\"Линия 2\"");
    EXPECT_EQ(rows[7].line, model->Lines()[1].get());
    EXPECT_EQ(rows[7].station, nullptr);
    EXPECT_EQ(rows[8].station, model->Stations()[3]);
    EXPECT_EQ(rows[8].text, u"Киевская");
}

TEST(RouteList, SameLineNumberOnAnotherRecordIsNoTransfer) {
    auto model = NetworkBuilder()
                     .Line(4, {{u"А", 0, 0, 2}, {u"Б", 10, 0, 3}})
                     .Line(4, {{u"Б'", 11, 1, 4}, {u"В", 20, 0, 1}})
                     .Build();
    SetRoute(*model, {0, 1, 2, 3});
    const std::vector<RouteListRow> rows = BuildRouteList(*model);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[2].text, u"Станций 4 пересадок 0");
    EXPECT_EQ(RouteTravelTime(*model), 2 + 3 + 4);  // countWaitTime is on, the wait is 0
}

TEST(RouteList, NoRouteNoRows) {
    auto model = NetworkBuilder().Line(1, {{u"А", 0, 0}, {u"Б", 10, 0}}).Build();
    EXPECT_TRUE(BuildRouteList(*model).empty());
}

}  // namespace
}  // namespace qv
