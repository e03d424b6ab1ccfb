#pragma once

#include <functional>
#include <map>
#include <set>
#include <utility>

// Positions for map points, which transfers find by position: no two may share one.
namespace qv::import {

using Spot = std::pair<int, int>;

// The stretches one map unit long that lines are drawn along, each with its line.
class DrawnStretches {
  public:
    // Adds the stretches of a segment at a multiple of 45 degrees; another segment adds none.
    void Add(Spot from, Spot to, int line);
    // Whether `line` may run from `from` to `to`: at a multiple of 45 degrees, along no stretch
    // another line is drawn on.
    bool KeepsOwnTrack(Spot from, Spot to, int line) const;

  private:
    static constexpr int kSeveralLines = -1;
    std::map<std::pair<Spot, Spot>, int> lineOf_;
};

// `wanted` where it is not `taken`, else the nearest position not taken, searched in growing
// squares round it; one that `preferred` takes goes before a nearer one within `reach` squares.
Spot FreeSpot(Spot wanted, const std::set<Spot>& taken,
              const std::function<bool(Spot)>& preferred = nullptr, int reach = 0);

}  // namespace qv::import
