#include <gtest/gtest.h>

#include "random_network.h"
#include "route/route_finder.h"
#include "route_oracle.h"

namespace qv {
namespace {

using testing::MakeRandomNetwork;
using testing::OracleEvents;
using testing::OracleSearchRoute;
using testing::RandomNetworkShape;

void ExpectAdjacencyMatchesTheMatrix(const NetworkModel& model, std::uint32_t seed) {
    const auto matrix = testing::OracleAdjacency(model);
    for (std::int32_t a = 0; a < model.StationCount(); ++a) {
        for (std::int32_t b = 0; b < model.StationCount(); ++b) {
            ASSERT_EQ(model.StationLinks().Joined(a, b), matrix[a][b] == 1)
                << "seed " << seed << " link " << a << "-" << b;
        }
    }
}

struct Tally {
    int found = 0;
    int none = 0;
    int sameEnds = 0;
    OracleEvents events;
};

void CompareOnSeeds(std::uint32_t first, std::uint32_t last, const RandomNetworkShape& shape,
                    Tally& tally) {
    for (std::uint32_t seed = first; seed <= last; ++seed) {
        const auto model = MakeRandomNetwork(seed, shape);
        ExpectAdjacencyMatchesTheMatrix(*model, seed);
        const std::int32_t from = model->departure->index;
        const std::int32_t to = model->destination->index;
        OracleEvents events;
        const std::vector<std::int32_t> expected = OracleSearchRoute(*model, from, to, &events);
        const EnumeratedRoute enumerated = EnumerateRoute(*model, from, to);
        ASSERT_EQ(enumerated.route.points, expected) << "seed " << seed;
        ASSERT_EQ(enumerated.cutShort, events.tableFilled || events.arrivalsCut) << "seed " << seed;
        if (!enumerated.cutShort) {
            ASSERT_EQ(SearchRoute(*model, from, to), expected) << "seed " << seed;
        }
        (expected.empty() ? tally.none : tally.found) += 1;
        tally.sameEnds += from == to;
        tally.events.tableFilled |= events.tableFilled;
        tally.events.arrivalsCut |= events.arrivalsCut;
    }
}

TEST(RouteEquivalence, FastFinderChoosesTheOraclesRouteOnSmallRandomNetworks) {
    Tally tally;
    CompareOnSeeds(1, 4000, {}, tally);
    // The comparison means something only if both outcomes are common.
    EXPECT_GT(tally.found, 1000);
    EXPECT_GT(tally.none, 500);
    EXPECT_GT(tally.sameEnds, 200);
}

constexpr RandomNetworkShape kDense{.maxLines = 8,
                                    .maxPointsPerLine = 14,
                                    .gridSize = 4,
                                    .minTransferRecords = 20,
                                    .maxTransferRecords = 60};

TEST(RouteEquivalence, DenseNetworksFillTheTableAndCutPassesAlike) {
    Tally tally;
    CompareOnSeeds(10001, 10150, kDense, tally);
    EXPECT_TRUE(tally.events.tableFilled);
    EXPECT_TRUE(tally.events.arrivalsCut);
    EXPECT_GT(tally.found, 30);
}

TEST(RouteEquivalence, PassEndsAtTheHundredAndFirstArrivalNotTheHundredth) {
    // The one network among thousands where the difference changes the choice.
    Tally tally;
    CompareOnSeeds(14927, 14927, kDense, tally);
    EXPECT_TRUE(tally.events.arrivalsCut);
}

}  // namespace
}  // namespace qv
