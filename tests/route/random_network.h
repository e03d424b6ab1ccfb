#pragma once

#include <cstdint>
#include <memory>

#include "model/network_model.h"

namespace qv::testing {

struct RandomNetworkShape {
    std::int32_t maxLines = 5;
    std::int32_t maxPointsPerLine = 9;
    std::int32_t gridSize = 8;  // small grids make points share coordinates
    std::int32_t minTransferRecords =
        0;  // when above 0, the count is drawn up to maxTransferRecords
    std::int32_t maxTransferRecords = 0;
};

// A seeded random network with its station index built: lines (some rings, some sharing a line
// number), points of every kind, transfers that match one, several or no stations, random
// settings, and a departure and destination (now and then the same point).
std::unique_ptr<NetworkModel> MakeRandomNetwork(std::uint32_t seed,
                                                const RandomNetworkShape& shape = {});

}  // namespace qv::testing
