#pragma once

#include <span>
#include <utility>
#include <vector>

#include "schematic_grid.h"
#include "schematic_records.h"

// A run's course on the grid: how far nodes lie from it and where its stations go along it.
namespace qv::import::schematic {

// Whether two links (pairs of places at `at`) without a common place cross.
bool Cross(std::pair<int, int> one, std::pair<int, int> other, std::span<const PlanePoint> at);

// Per node of a width x height grid (row by row): its distance in grid units from the polyline
// through `spots`, times `perUnit`, rounded.
std::vector<int> DistanceFromCourse(std::span<const PlanePoint> spots, int width, int height,
                                    int perUnit);

// A step of a path where another run crosses, and the links of the path's run (first to last)
// that are to cross that run's link there.
struct CrossingWant {
    int step = 0;
    int first = 0;
    int last = 0;
};

// Steps along `path` for the places at `spots`: the first at step 0, the last at the path's
// end, those between strictly in order between them, with the least total distance from their
// spots (ties to the earlier step), on a step another run crosses (`crossed`) only where no
// other will do, and each crossing of `wants` inside one of its links where that costs less than
// 10 grid units; link i spans at least gaps[i] steps where the path is long enough.
std::vector<int> SpreadAlong(std::span<const GridPoint> path, std::span<const PlanePoint> spots,
                             const std::vector<bool>& crossed, std::span<const int> gaps = {},
                             std::span<const CrossingWant> wants = {});

// The least steps of each link of the runs (their gaps): one, and with `roomForCrossings` one
// more per link it crosses at `places`, so that the crossing finds a node of its own between the
// link's stations.
void CountLinkSteps(std::vector<Run>& runs, std::span<const PlanePoint> places,
                    bool roomForCrossings);

}  // namespace qv::import::schematic
