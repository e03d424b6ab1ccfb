#pragma once

#include <array>

namespace qv::import::schematic {

// What turning costs: by the change of direction in steps of 45 degrees (none, 45, 90, 135: a
// sharp turn), and for a run leaving a junction by another port than the one that keeps the
// runs there in order with the least turning.
struct TurnCosts {
    std::array<int, 5> bend;
    int otherPort = 0;
};
inline constexpr TurnCosts kTurnCosts = {{0, 20, 30, 400, 100000}, 20};
// In a crowded network most runs carry several lines, each drawing the run's bends, and places
// have room to give: bends weigh half as much again.
inline constexpr TurnCosts kCrowdedTurnCosts = {{0, 30, 45, 400, 100000}, 30};

}  // namespace qv::import::schematic
