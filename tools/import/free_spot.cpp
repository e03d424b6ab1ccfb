#include "free_spot.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

namespace qv::import {

namespace {

// The unit stretches along a segment at a multiple of 45 degrees; none along another one.
std::vector<std::pair<Spot, Spot>> UnitStretches(Spot from, Spot to) {
    const int dx = to.first - from.first;
    const int dy = to.second - from.second;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    std::vector<std::pair<Spot, Spot>> stretches;
    if (steps == 0 || (dx != 0 && dy != 0 && std::abs(dx) != std::abs(dy))) {
        return stretches;
    }
    for (int k = 0; k < steps; ++k) {
        const Spot a{from.first + dx / steps * k, from.second + dy / steps * k};
        const Spot b{a.first + dx / steps, a.second + dy / steps};
        stretches.push_back(std::minmax(a, b));
    }
    return stretches;
}

}  // namespace

void DrawnStretches::Add(Spot from, Spot to, int line) {
    for (const auto& stretch : UnitStretches(from, to)) {
        const auto [at, added] = lineOf_.emplace(stretch, line);
        if (!added && at->second != line) {
            at->second = kSeveralLines;
        }
    }
}

bool DrawnStretches::KeepsOwnTrack(Spot from, Spot to, int line) const {
    const int dx = std::abs(to.first - from.first);
    const int dy = std::abs(to.second - from.second);
    if (dx != 0 && dy != 0 && dx != dy) {
        return false;
    }
    const auto stretches = UnitStretches(from, to);
    return std::none_of(stretches.begin(), stretches.end(), [&](const auto& stretch) {
        const auto found = lineOf_.find(stretch);
        return found != lineOf_.end() && found->second != line;
    });
}

Spot FreeSpot(Spot wanted, const std::set<Spot>& taken, const std::function<bool(Spot)>& preferred,
              int reach) {
    if (!taken.contains(wanted)) {
        return wanted;
    }
    std::optional<Spot> nearest;
    for (int ring = 1;; ++ring) {
        for (int dy = -ring; dy <= ring; ++dy) {
            for (int dx = -ring; dx <= ring; ++dx) {
                const Spot spot{wanted.first + dx, wanted.second + dy};
                if (std::max(std::abs(dx), std::abs(dy)) != ring || taken.contains(spot)) {
                    continue;
                }
                if (!preferred || preferred(spot)) {
                    return spot;
                }
                nearest = nearest.value_or(spot);
            }
        }
        if (nearest && ring >= reach) {
            return *nearest;
        }
    }
}

}  // namespace qv::import
