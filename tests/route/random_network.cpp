#include "random_network.h"

#include <random>

namespace qv::testing {

std::unique_ptr<NetworkModel> MakeRandomNetwork(std::uint32_t seed,
                                                const RandomNetworkShape& shape) {
    std::mt19937 engine(seed);
    const auto between = [&](std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(engine);
    };
    const auto chance = [&](int percent) { return between(1, 100) <= percent; };
    const auto kind = [&] {
        const std::int32_t roll = between(1, 100);
        return roll <= 70   ? kStationKind
               : roll <= 80 ? kShapePointKind
               : roll <= 85 ? kMarkedPointKind
               : roll <= 95 ? kForbiddenKind
                            : std::int16_t{'X'};
    };
    auto model = std::make_unique<NetworkModel>();
    const std::int32_t lineCount = between(1, shape.maxLines);
    for (std::int32_t i = 0; i < lineCount; ++i) {
        const std::int32_t number = i > 0 && chance(20) ? between(0, i - 1) : i;
        const std::int32_t points = between(2, shape.maxPointsPerLine);
        Line& line = model->AddLine(number, u"Линия", 0, chance(20), points, between(0, 4));
        for (std::int32_t j = 0; j < points; ++j) {
            line.AddStation({.name = u"Точка",
                             .runTime = between(0, 5),
                             .kind = kind(),
                             .x = between(0, shape.gridSize - 1),
                             .y = between(0, shape.gridSize - 1)});
        }
    }
    model->BuildStationIndex();
    const std::int32_t pointCount = model->StationCount();
    const auto point = [&] {
        return model->Stations()[static_cast<std::size_t>(between(0, pointCount - 1))];
    };

    const std::int32_t transferRoll = between(1, 10);
    const std::int32_t transferCount =
        shape.minTransferRecords > 0
            ? between(shape.minTransferRecords, shape.maxTransferRecords)
            : (transferRoll <= 2 ? 0 : (transferRoll <= 7 ? between(1, 9) : between(10, 16)));
    for (std::int32_t i = 0; i < transferCount; ++i) {
        const Station& a = *point();
        const Station& b = *point();
        Transfer transfer{a.x, a.y, b.x, b.y, between(0, 6)};
        if (chance(10)) {
            transfer.x2 = shape.gridSize + 5;  // matches no point
        }
        model->transfers.push_back(transfer);
    }

    const std::int32_t algorithmRoll = between(1, 20);
    model->settings.algorithm = algorithmRoll <= 9 ? 0 : (algorithmRoll <= 18 ? 1 : between(2, 3));
    model->settings.countWaitTime = chance(50);
    model->settings.maxTransfers = between(0, 5);

    model->departure = point();
    model->destination = chance(10) ? model->departure : point();
    model->BuildAdjacency();
    return model;
}

}  // namespace qv::testing
