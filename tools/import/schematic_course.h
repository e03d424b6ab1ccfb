#pragma once

#include <span>
#include <vector>

#include "schematic_records.h"

// A run's course on the grid: how far nodes lie from it and where its stations go along it.
namespace qv::import::schematic {

// Per node of a width x height grid (row by row): its distance in grid units from the polyline
// through `spots`, times `perUnit`, rounded.
std::vector<int> DistanceFromCourse(std::span<const PlanePoint> spots, int width, int height,
                                    int perUnit);

// Steps along `path` for the places at `spots`: the first at step 0, the last at the path's
// end, those between strictly in order between them, with the least total distance from their
// spots (ties to the earlier step), on a step another run crosses (`crossed`) only where no
// other will do.
std::vector<int> SpreadAlong(std::span<const GridPoint> path, std::span<const PlanePoint> spots,
                             const std::vector<bool>& crossed);

}  // namespace qv::import::schematic
