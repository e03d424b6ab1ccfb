#include "random_network.h"

#include <random>

namespace qv::testing {

namespace {

class Dice {
  public:
    explicit Dice(std::uint32_t seed) : engine_(seed) {}
    std::int32_t Between(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(engine_);
    }
    bool Chance(int percent) { return Between(1, 100) <= percent; }

  private:
    std::mt19937 engine_;
};

std::int16_t RandomKind(Dice& dice) {
    const std::int32_t roll = dice.Between(1, 100);
    return roll <= 70   ? kStationKind
           : roll <= 80 ? kShapePointKind
           : roll <= 85 ? kMarkedPointKind
           : roll <= 95 ? kForbiddenKind
                        : std::int16_t{'X'};
}

}  // namespace

std::unique_ptr<NetworkModel> MakeRandomNetwork(std::uint32_t seed,
                                                const RandomNetworkShape& shape) {
    Dice dice(seed);
    auto model = std::make_unique<NetworkModel>();
    const std::int32_t lineCount = dice.Between(1, shape.maxLines);
    for (std::int32_t i = 0; i < lineCount; ++i) {
        const std::int32_t number = i > 0 && dice.Chance(20) ? dice.Between(0, i - 1) : i;
        const std::int32_t points = dice.Between(2, shape.maxPointsPerLine);
        Line& line =
            model->AddLine(number, u"Линия", 0, dice.Chance(20), points, dice.Between(0, 4));
        for (std::int32_t j = 0; j < points; ++j) {
            line.AddStation({.name = u"Точка",
                             .runTime = dice.Between(0, 5),
                             .kind = RandomKind(dice),
                             .x = dice.Between(0, shape.gridSize - 1),
                             .y = dice.Between(0, shape.gridSize - 1)});
        }
    }
    model->BuildStationIndex();
    const std::int32_t pointCount = model->StationCount();
    const auto point = [&] {
        return model->Stations()[static_cast<std::size_t>(dice.Between(0, pointCount - 1))];
    };

    const std::int32_t transferRoll = dice.Between(1, 10);
    const std::int32_t transferCount =
        shape.minTransferRecords > 0
            ? dice.Between(shape.minTransferRecords, shape.maxTransferRecords)
            : (transferRoll <= 2 ? 0
                                 : (transferRoll <= 7 ? dice.Between(1, 9) : dice.Between(10, 16)));
    for (std::int32_t i = 0; i < transferCount; ++i) {
        const Station& a = *point();
        const Station& b = *point();
        Transfer transfer{a.x, a.y, b.x, b.y, dice.Between(0, 6)};
        if (dice.Chance(10)) {
            transfer.x2 = shape.gridSize + 5;  // matches no point
        }
        model->transfers.push_back(transfer);
    }

    const std::int32_t algorithmRoll = dice.Between(1, 20);
    model->settings.algorithm =
        algorithmRoll <= 9 ? 0 : (algorithmRoll <= 18 ? 1 : dice.Between(2, 3));
    model->settings.countWaitTime = dice.Chance(50);
    model->settings.maxTransfers = dice.Between(0, 5);

    model->departure = point();
    model->destination = dice.Chance(10) ? model->departure : point();
    model->BuildAdjacency();
    return model;
}

}  // namespace qv::testing
