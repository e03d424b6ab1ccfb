#include "schematic_course.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qv::import::schematic {

namespace {

constexpr std::int64_t kUnreached = std::numeric_limits<std::int64_t>::max();
// A station where another run crosses would stand on that run's line.
constexpr std::int64_t kOnACrossing = 1'000'000;
// A station on the wrong side of a crossing moves it to a link that is not to cross there.
constexpr std::int64_t kCrossingOffLink = 100;

}  // namespace

bool Cross(std::pair<int, int> one, std::pair<int, int> other, std::span<const PlanePoint> at) {
    if (one.first == other.first || one.first == other.second || one.second == other.first ||
        one.second == other.second) {
        return false;
    }
    const auto side = [at](int p, int q, int r) {
        const PlanePoint a = at[static_cast<std::size_t>(p)];
        const PlanePoint b = at[static_cast<std::size_t>(q)];
        const PlanePoint c = at[static_cast<std::size_t>(r)];
        const double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        return (cross > 0) - (cross < 0);
    };
    return side(one.first, one.second, other.first) * side(one.first, one.second, other.second) <
               0 &&
           side(other.first, other.second, one.first) *
                   side(other.first, other.second, one.second) <
               0;
}

std::vector<int> DistanceFromCourse(std::span<const PlanePoint> spots, int width, int height,
                                    int perUnit) {
    std::vector<int> away(static_cast<std::size_t>(width * height), 0);
    for (int node = 0; node < width * height; ++node) {
        const GridPoint p{node % width, node / width};
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i + 1 < spots.size(); ++i) {
            const double ax = spots[i].x;
            const double ay = spots[i].y;
            const double dx = spots[i + 1].x - ax;
            const double dy = spots[i + 1].y - ay;
            const double length2 = dx * dx + dy * dy;
            const double t =
                length2 > 0 ? std::clamp(((p.x - ax) * dx + (p.y - ay) * dy) / length2, 0.0, 1.0)
                            : 0.0;
            nearest = std::min(nearest, std::hypot(ax + t * dx - p.x, ay + t * dy - p.y));
        }
        away[static_cast<std::size_t>(node)] = static_cast<int>(std::lround(nearest * perUnit));
    }
    return away;
}

std::vector<int> SpreadAlong(std::span<const GridPoint> path, std::span<const PlanePoint> spots,
                             const std::vector<bool>& crossed, std::span<const int> gaps,
                             std::span<const CrossingWant> wants) {
    const auto steps = static_cast<int>(path.size()) - 1;
    const auto count = static_cast<int>(spots.size()) - 1;
    std::vector<int> chosen(static_cast<std::size_t>(count) + 1, 0);
    chosen[static_cast<std::size_t>(count)] = steps;
    const int inner = count - 1;
    if (inner <= 0) {
        return chosen;
    }
    const auto gap = [&](int link) {
        return static_cast<std::size_t>(link) < gaps.size() ? gaps[static_cast<std::size_t>(link)]
                                                            : 1;
    };
    const auto cost = [&](int i, int step) {
        const PlanePoint spot = spots[static_cast<std::size_t>(i)];
        const GridPoint p = path[static_cast<std::size_t>(step)];
        std::int64_t total = std::lround(10 * std::hypot(p.x - spot.x, p.y - spot.y)) +
                             (crossed[static_cast<std::size_t>(step)] ? kOnACrossing : 0);
        for (const CrossingWant& want : wants) {
            if ((i <= want.first && step >= want.step) || (i > want.last && step <= want.step)) {
                total += kCrossingOffLink;
            }
        }
        return total;
    };
    const auto width = static_cast<std::size_t>(steps) + 1;
    std::vector<std::int64_t> total(static_cast<std::size_t>(count) * width, kUnreached);
    std::vector<int> previous(total.size(), -1);
    const auto at = [&](int i, int step) {
        return static_cast<std::size_t>(i) * width + static_cast<std::size_t>(step);
    };
    for (int step = std::max(1, gap(0)); step < steps; ++step) {
        total[at(1, step)] = cost(1, step);
    }
    for (int i = 2; i <= inner; ++i) {
        std::int64_t best = kUnreached;
        int bestStep = -1;
        for (int step = 1; step < steps; ++step) {
            const int before = step - std::max(1, gap(i - 1));
            if (before >= 1 && total[at(i - 1, before)] < best) {
                best = total[at(i - 1, before)];
                bestStep = before;
            }
            if (best != kUnreached) {
                total[at(i, step)] = best + cost(i, step);
                previous[at(i, step)] = bestStep;
            }
        }
    }
    int step = -1;
    std::int64_t best = kUnreached;
    for (int s = 1; s <= steps - std::max(1, gap(inner)); ++s) {
        if (total[at(inner, s)] < best) {
            best = total[at(inner, s)];
            step = s;
        }
    }
    if (step < 0) {
        return SpreadAlong(path, spots, crossed, {}, wants);
    }
    for (int i = inner; i >= 1; --i) {
        chosen[static_cast<std::size_t>(i)] = step;
        step = previous[at(i, step)];
    }
    return chosen;
}

void CountLinkSteps(std::vector<Run>& runs, std::span<const PlanePoint> places,
                    bool roomForCrossings) {
    std::vector<std::pair<int, int>> links;
    for (Run& run : runs) {
        run.gaps.assign(run.places.size() - 1, 1);
        for (std::size_t i = 0; i + 1 < run.places.size(); ++i) {
            links.emplace_back(run.places[i], run.places[i + 1]);
        }
    }
    if (!roomForCrossings) {
        return;
    }
    for (Run& run : runs) {
        for (std::size_t i = 0; i + 1 < run.places.size(); ++i) {
            for (const auto& link : links) {
                if (Cross({run.places[i], run.places[i + 1]}, link, places)) {
                    ++run.gaps[i];
                }
            }
        }
    }
}

}  // namespace qv::import::schematic
