#include "route/route_measures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "network_builder.h"
#include "route/route_list.h"

namespace qv {
namespace {

using testing::NetworkBuilder;

// Line 1: A0 p1 B2 C3, then on another record of the same number C4 D5; line 2: D6 E7;
// line 3: E'8 q9 F10; a ring: R11 S12 T13. p and q are shape points.
std::unique_ptr<NetworkModel> Network() {
    return NetworkBuilder()
        .Line(1,
              {{u"A", 0, 0, 2},
               {u"p", 5, 0, 50, kShapePointKind},
               {u"B", 10, 0, 3},
               {u"C", 20, 0, 7}},
              4)
        .Line(1, {{u"C", 21, 1, 5}, {u"D", 30, 0, 9}}, 4)
        .Line(2, {{u"D", 31, 1, 1}, {u"E", 40, 0, 9}}, 6)
        .Line(3, {{u"E'", 41, 1, 1}, {u"q", 45, 0, 50, kShapePointKind}, {u"F", 50, 0, 1}}, 1)
        .Line(4, {{u"R", 0, 50, 2}, {u"S", 10, 50, 3}, {u"T", 20, 50, 7}}, 0, true)
        .Transfer(31, 1, 30, 0, 3)  // given the other way round
        .Transfer(30, 0, 31, 1, 8)  // a later duplicate is not used
        .Build();                   // E to E' has no transfer record
}

std::vector<Station*> Path(const NetworkModel& model, std::initializer_list<std::int32_t> indices) {
    std::vector<Station*> path(indices.size());
    std::ranges::transform(indices, path.begin(),
                           [&](std::int32_t i) { return model.Stations()[i]; });
    return path;
}

struct MeasureCase {
    const char* what;
    std::initializer_list<std::int32_t> path;
    std::int64_t minutes;
    std::int64_t minutesWithWaits;
    std::int32_t transfers;
    std::size_t stops;  // a station met twice on one line is one stop
};

const MeasureCase kMeasureCases[] = {
    {"one station: the wait only", {2}, 0, 4, 0, 1},
    // Forwards the departing station's time counts, backwards the arriving one's.
    {"forwards", {0, 1, 2, 3}, 2 + 3, 4 + 2 + 3, 0, 3},
    {"backwards", {3, 2, 1, 0}, 3 + 2, 4 + 3 + 2, 0, 3},
    {"lines sharing a number are one line", {2, 3, 4, 5}, 3 + 7 + 5, 4 + 3 + 7 + 5, 0, 3},
    {"a transfer adds its first record's time", {5, 6, 7}, 3 + 1, 4 + 6 + 3 + 1, 1, 3},
    {"a transfer without a record adds none", {7, 8, 9, 10}, 0 + 1, 6 + 1 + 1, 1, 3},
    {"a shape point of another line is no transfer", {7, 9}, 0, 6, 0, 1},
    {"on a ring every step adds the arriving station's time", {11, 12, 13}, 3 + 7, 3 + 7, 0, 3},
    {"the ring's closing step too", {13, 11}, 2, 2, 0, 2},
};

TEST(TravelTime, CountsRunsTransfersWaitsAndStopsOfStationsOnly) {
    const auto model = Network();
    for (const MeasureCase& c : kMeasureCases) {
        SCOPED_TRACE(c.what);
        const std::vector<Station*> path = Path(*model, c.path);
        EXPECT_EQ(TravelTime(path, model->transfers, false), c.minutes);
        EXPECT_EQ(TravelTime(path, model->transfers, true), c.minutesWithWaits);
        EXPECT_EQ(CountTransfers(path), c.transfers);
        EXPECT_EQ(RouteStops(path).size(), c.stops);
        model->route = path;
        EXPECT_EQ(RouteStationCount(*model), static_cast<std::int32_t>(c.stops));
    }
}

}  // namespace
}  // namespace qv
