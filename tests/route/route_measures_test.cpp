#include "route/route_measures.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/map_file.h"
#include "network_builder.h"
#include "route/route_finder.h"
#include "route/route_list.h"
#include "text/utf.h"

namespace qv {
namespace {

using testing::NetworkBuilder;

// Line 1: A0 p1 B2 C3, then on another record of the same number C'4 D5; line 2: D'6 E7;
// line 3: E'8 q9 F10; a ring: R11 S12 T13. p and q are shape points.
std::unique_ptr<NetworkModel> Network() {
    return NetworkBuilder()
        .Line(1,
              {{u"A", 0, 0, 2},
               {u"p", 5, 0, 50, kShapePointKind},
               {u"B", 10, 0, 3},
               {u"C", 20, 0, 7}},
              4)
        .Line(1, {{u"C'", 21, 1, 5}, {u"D", 30, 0, 9}}, 4)
        .Line(2, {{u"D'", 31, 1, 1}, {u"E", 40, 0, 9}}, 6)
        .Line(3, {{u"E'", 41, 1, 1}, {u"q", 45, 0, 50, kShapePointKind}, {u"F", 50, 0, 1}}, 1)
        .Line(4, {{u"R", 0, 50, 2}, {u"S", 10, 50, 3}, {u"T", 20, 50, 7}}, 0, true)
        .Transfer(31, 1, 30, 0, 3)  // given the other way round
        .Transfer(30, 0, 31, 1, 8)  // a later duplicate is not used
        .Build();                   // E to E' has no transfer record
}

std::vector<Station*> Path(const NetworkModel& model, std::initializer_list<std::int32_t> indices) {
    std::vector<Station*> path;
    for (const std::int32_t index : indices) {
        path.push_back(model.Stations()[static_cast<std::size_t>(index)]);
    }
    return path;
}

struct MeasureCase {
    const char* what;
    std::initializer_list<std::int32_t> path;
    std::int64_t minutes;
    std::int64_t minutesWithWaits;
    std::int32_t transfers;
};

const MeasureCase kMeasureCases[] = {
    {"one station: the wait only", {2}, 0, 4, 0},
    // Forwards the departing station's time counts, backwards the arriving one's; shape points
    // add nothing and the last station before one keeps counting.
    {"forwards", {0, 1, 2, 3}, 2 + 3, 4 + 2 + 3, 0},
    {"backwards", {3, 2, 1, 0}, 3 + 2, 4 + 3 + 2, 0},
    {"lines sharing a number are one line", {2, 3, 4, 5}, 3 + 7 + 5, 4 + 3 + 7 + 5, 0},
    {"a transfer adds its first record's time", {5, 6, 7}, 3 + 1, 4 + 6 + 3 + 1, 1},
    {"a transfer without a record adds none", {7, 8, 9, 10}, 0 + 1, 6 + 1 + 1, 1},
    {"a shape point of another line is no transfer", {7, 9}, 0, 6, 0},
    {"on a ring every step adds the arriving station's time", {11, 12, 13}, 3 + 7, 3 + 7, 0},
    {"the ring's closing step too", {13, 11}, 2, 2, 0},
};

TEST(TravelTime, CountsRunsTransfersAndWaitsOfStationsOnly) {
    const auto model = Network();
    for (const MeasureCase& c : kMeasureCases) {
        SCOPED_TRACE(c.what);
        const std::vector<Station*> path = Path(*model, c.path);
        EXPECT_EQ(TravelTime(path, model->transfers, false), c.minutes);
        EXPECT_EQ(TravelTime(path, model->transfers, true), c.minutesWithWaits);
        EXPECT_EQ(CountTransfers(path), c.transfers);
    }
}

TEST(RouteList, ListsStationsWithARowAndTheQuotedNameBeforeEachChangeOfLineNumber) {
    auto model = Network();
    EXPECT_TRUE(BuildRouteList(*model).empty());  // no route
    model->route = Path(*model, {0, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_TRUE(BuildRouteList(*model).empty());  // no departure or destination
    model->departure = model->route.front();
    model->destination = model->route.back();
    model->settings.countWaitTime = false;
    const std::vector<RouteListRow> rows = BuildRouteList(*model);

    using Role = RouteListRow::Role;
    const std::vector<std::pair<Role, std::u16string>> expected = {
        {Role::Departure, u"A"},
        {Role::Destination, u"E"},
        {Role::Summary, u"Станций 7 пересадок 1"},
        {Role::Time, u"Время в пути 21 мин"},
        {Role::Station, u"A"},
        {Role::Station, u"B"},
        {Role::Station, u"C"},
        {Role::Station, u"C'"},
        {Role::Station, u"D"},
        {Role::Transfer, u"Пересадка на линию"},
        {Role::LineName, u"\"Линия 2\""},
        {Role::Station, u"D'"},
        {Role::Station, u"E"}};
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Role role = rows[i].role;
        EXPECT_EQ(role, expected[i].first) << i;
        EXPECT_EQ(rows[i].text, expected[i].second) << i;
        EXPECT_EQ(rows[i].station != nullptr,
                  role == Role::Station || role == Role::Departure || role == Role::Destination)
            << i;
        EXPECT_EQ(rows[i].line != nullptr, role == Role::LineName) << i;
    }
    EXPECT_EQ(rows[10].line, model->Lines()[2].get());
    EXPECT_EQ(rows[11].station, model->Stations()[6]);
    EXPECT_EQ(RouteTravelTime(*model), 21);
    EXPECT_EQ(RouteStationCount(*model), 7);
    model->settings.countWaitTime = true;
    EXPECT_EQ(RouteTravelTime(*model), 4 + 21 + 6);
}

// Where a line forks, its junction ends one line record and starts another of the same number,
// so a route through it meets the junction twice: it is one stop, listed and counted once.
TEST(RouteList, AJunctionWhereALineForksIsOneStop) {
    struct Trip {
        const char* map;
        const char* line;
        const char* from;
        const char* to;
        std::vector<const char*> stops;
    };
    const Trip trips[] = {
        {"london.qvn",
         "Northern Line",
         "Mornington Crescent",
         "King's Cross St. Pancras",
         {"Mornington Crescent", "Euston", "King's Cross St. Pancras"}},
        {"moscow.qvn",
         "Филевская",
         "Выставочная",
         "Студенческая",
         {"Выставочная", "Киевская", "Студенческая"}},
    };
    for (const Trip& trip : trips) {
        SCOPED_TRACE(trip.map);
        NetworkModel model;
        ASSERT_EQ(LoadMapFileAt(model, std::filesystem::path(QV_MAPS_DIR) / trip.map, Settings{}),
                  0);
        const auto named = [&](const char* name) {
            for (Station* station : model.Stations()) {
                if (station->IsStation() && station->name == Utf8ToUtf16(name) &&
                    station->line->name == Utf8ToUtf16(trip.line)) {
                    return station;
                }
            }
            ADD_FAILURE() << name;
            return model.Stations().front();
        };
        model.departure = named(trip.from);
        model.destination = named(trip.to);
        SilentRouteSearchFeedback silent;
        FindRoute(model, silent);
        ASSERT_FALSE(model.route.empty());

        std::vector<std::string> listed;
        for (const RouteListRow& row : BuildRouteList(model)) {
            if (row.role == RouteListRow::Role::Station) {
                listed.push_back(Utf16ToUtf8(row.text));
            }
        }
        EXPECT_EQ(listed, std::vector<std::string>(trip.stops.begin(), trip.stops.end()));
        EXPECT_EQ(RouteStationCount(model), static_cast<std::int32_t>(trip.stops.size()));
        EXPECT_EQ(Utf16ToUtf8(BuildRouteList(model)[2].text),
                  "Станций " + std::to_string(trip.stops.size()) + " пересадок 0");
    }
}

}  // namespace
}  // namespace qv
