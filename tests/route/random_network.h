#pragma once

#include <cstdint>
#include <memory>

#include "model/network_model.h"

namespace qv::testing {

struct RandomNetworkShape {
    std::int32_t maxLines = 5;
    std::int32_t maxPointsPerLine = 9;
    std::int32_t gridSize = 8;            // small grids make points share coordinates
    std::int32_t minTransferRecords = 0;  // above 0: drawn up to maxTransferRecords
    std::int32_t maxTransferRecords = 0;
};

// Lines, points of every kind, transfers matching one, several or no stations, random settings.
std::unique_ptr<NetworkModel> MakeRandomNetwork(std::uint32_t seed,
                                                const RandomNetworkShape& shape = {});

}  // namespace qv::testing
