#include "route/route_measures.h"

#include <gtest/gtest.h>

#include "network_builder.h"

namespace qv {
namespace {

using testing::NetworkBuilder;

std::vector<Station*> Path(const NetworkModel& model, std::initializer_list<std::int32_t> indices) {
    std::vector<Station*> path;
    for (const std::int32_t index : indices) {
        path.push_back(model.Stations()[static_cast<std::size_t>(index)]);
    }
    return path;
}

TEST(TravelTime, AlongALineEitherWay) {
    // A, B, C with run times 2, 3, 7: forwards the departing station's time counts, backwards
    // the arriving one's.
    auto model =
        NetworkBuilder().Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, 3}, {u"C", 20, 0, 7}}, 5).Build();
    EXPECT_EQ(TravelTime(Path(*model, {0, 1, 2}), model->transfers, false), 2 + 3);
    EXPECT_EQ(TravelTime(Path(*model, {2, 1, 0}), model->transfers, false), 3 + 2);
    EXPECT_EQ(TravelTime(Path(*model, {0, 1, 2}), model->transfers, true), 5 + 2 + 3);
}

TEST(TravelTime, OnARingEveryStepAddsTheArrivingStationsTime) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, 3}, {u"C", 20, 0, 7}}, 0, true)
                     .Build();
    EXPECT_EQ(TravelTime(Path(*model, {0, 1, 2}), model->transfers, false), 3 + 7);
    EXPECT_EQ(TravelTime(Path(*model, {2, 0}), model->transfers, false), 2);
}

TEST(TravelTime, TransfersAddTheirTimeAndEachBoardingItsWait) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, 9}}, 4)
                     .Line(2, {{u"B'", 11, 1, 5}, {u"C", 20, 0, 9}}, 6)
                     .Line(3, {{u"C'", 21, 1, 1}, {u"D", 30, 0, 1}}, 1)
                     .Transfer(11, 1, 10, 0, 3)  // given the other way round
                     .Transfer(10, 0, 11, 1, 8)  // a later duplicate is not used
                     .Build();
    const auto path = Path(*model, {0, 1, 2, 3, 4, 5});  // C to C' has no transfer record
    EXPECT_EQ(TravelTime(path, model->transfers, false), 2 + 3 + 5 + 0 + 1);
    EXPECT_EQ(TravelTime(path, model->transfers, true), 2 + 3 + 5 + 0 + 1 + 4 + 6 + 1);
    EXPECT_EQ(CountTransfers(path), 2);
}

TEST(TravelTime, LinesSharingANumberAreOneLine) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 0, 0, 2}, {u"B", 10, 0, 3}}, 4)
                     .Line(1, {{u"B'", 11, 1, 5}, {u"C", 20, 0, 7}}, 4)
                     .Build();
    const auto path = Path(*model, {0, 1, 2, 3});
    EXPECT_EQ(CountTransfers(path), 0);
    EXPECT_EQ(TravelTime(path, model->transfers, true), 4 + 2 + 3 + 5);
}

TEST(TravelTime, OnlyStationsCount) {
    auto model =
        NetworkBuilder()
            .Line(1, {{u"A", 0, 0, 2}, {u"p", 5, 0, 50, kShapePointKind}, {u"B", 10, 0, 3}})
            .Line(2, {{u"q", 11, 1, 50, kShapePointKind}, {u"C", 20, 0, 7}})
            .Build();
    // Between A and B the previous station is A: its time counts, the shape point's does not.
    EXPECT_EQ(TravelTime(Path(*model, {0, 1, 2}), model->transfers, false), 2);
    EXPECT_EQ(CountTransfers(Path(*model, {0, 1, 2, 3})), 0);  // q is no station
    EXPECT_EQ(CountTransfers(Path(*model, {0, 1, 2, 3, 4})), 1);
}

}  // namespace
}  // namespace qv
