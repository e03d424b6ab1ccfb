#include "layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>

namespace qv::import {

double ClusterRadius(int count, int spacing) {
    if (count <= 1) {
        return 0;
    }
    return spacing / (2 * std::sin(std::numbers::pi / count));
}

std::vector<Offset> ClusterSlots(int count, int spacing) {
    if (count <= 1) {
        return {Offset{}};
    }
    // Grow the circle until the rounded slots keep their distance.
    for (double radius = ClusterRadius(count, spacing);; radius += 0.25) {
        std::vector<Offset> slots;
        for (int i = 0; i < count; ++i) {
            const double angle = std::numbers::pi * (1 + 2.0 * i / count);
            slots.push_back({static_cast<int>(std::lround(radius * std::cos(angle))),
                             static_cast<int>(std::lround(radius * std::sin(angle)))});
        }
        bool apart = true;
        for (std::size_t a = 0; a < slots.size() && apart; ++a) {
            for (std::size_t b = a + 1; b < slots.size() && apart; ++b) {
                apart = std::hypot(slots[a].dx - slots[b].dx, slots[a].dy - slots[b].dy) >=
                        spacing - 0.01;
            }
        }
        if (apart) {
            return slots;
        }
    }
}

std::vector<int> AssignSlots(std::span<const Offset> slots,
                             std::span<const PlanePoint> directions) {
    const std::size_t count = directions.size();
    std::vector<int> best(count);
    std::iota(best.begin(), best.end(), 0);
    if (count <= 1 || slots.size() < count) {
        return best;
    }
    const auto score = [&](const std::vector<int>& assignment) {
        double total = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const Offset slot = slots[static_cast<std::size_t>(assignment[i])];
            total += slot.dx * directions[i].x + slot.dy * directions[i].y;
        }
        return total;
    };
    if (count <= 7) {
        std::vector<int> assignment = best;
        double bestScore = score(best);
        while (std::next_permutation(assignment.begin(), assignment.end())) {
            if (const double value = score(assignment); value > bestScore + 1e-9) {
                bestScore = value;
                best = assignment;
            }
        }
        return best;
    }
    // Larger places: each station in turn takes the free slot that suits it best.
    std::vector<bool> taken(slots.size(), false);
    for (std::size_t i = 0; i < count; ++i) {
        double bestValue = -std::numeric_limits<double>::infinity();
        for (std::size_t s = 0; s < slots.size(); ++s) {
            const double value = slots[s].dx * directions[i].x + slots[s].dy * directions[i].y;
            if (!taken[s] && value > bestValue) {
                bestValue = value;
                best[i] = static_cast<int>(s);
            }
        }
        taken[static_cast<std::size_t>(best[i])] = true;
    }
    return best;
}

void SpreadApart(std::vector<PlanePoint>& centres, std::span<const double> radii, double gap,
                 const ScreenBox& box, int rounds) {
    const std::size_t count = centres.size();
    for (int round = 0; round < rounds; ++round) {
        bool moved = false;
        for (std::size_t a = 0; a < count; ++a) {
            for (std::size_t b = a + 1; b < count; ++b) {
                const double need = radii[a] + radii[b] + gap;
                double dx = centres[b].x - centres[a].x;
                double dy = centres[b].y - centres[a].y;
                // Most pairs are far apart: the square tells without the root, with a margin
                // well beyond rounding so that no pair near the limit is judged otherwise.
                if (dx * dx + dy * dy > need * need * (1 + 1e-9)) {
                    continue;
                }
                double distance = std::hypot(dx, dy);
                if (distance >= need) {
                    continue;
                }
                if (distance < 1e-6) {
                    // Same spot: part them along a direction fixed by their numbers.
                    const double angle =
                        static_cast<double>((a * 7 + b * 13) % 16) * std::numbers::pi / 8;
                    dx = std::cos(angle);
                    dy = std::sin(angle);
                    distance = 1;
                }
                const double push =
                    (need - std::hypot(centres[b].x - centres[a].x, centres[b].y - centres[a].y)) /
                    2 * 0.6;
                centres[a].x -= dx / distance * push;
                centres[a].y -= dy / distance * push;
                centres[b].x += dx / distance * push;
                centres[b].y += dy / distance * push;
                moved = true;
            }
        }
        for (std::size_t i = 0; i < count; ++i) {
            centres[i].x = std::clamp(centres[i].x, box.left + radii[i], box.right - radii[i]);
            centres[i].y = std::clamp(centres[i].y, box.top + radii[i], box.bottom - radii[i]);
        }
        if (!moved) {
            return;
        }
    }
}

double SmallestClearance(std::span<const PlanePoint> centres, std::span<const double> radii) {
    double smallest = std::numeric_limits<double>::infinity();
    for (std::size_t a = 0; a < centres.size(); ++a) {
        for (std::size_t b = a + 1; b < centres.size(); ++b) {
            smallest = std::min(
                smallest, std::hypot(centres[a].x - centres[b].x, centres[a].y - centres[b].y) -
                              radii[a] - radii[b]);
        }
    }
    return smallest;
}

}  // namespace qv::import
