#pragma once

#include <optional>
#include <vector>

#include "projection.h"
#include "source_network.h"

namespace qv::import {

struct BentProjection {
    std::vector<PlanePoint> centres;  // in the box
    double exponent = 1;              // of the distance from the centre; 1 = true to scale
    bool stretched = false;           // one axis drawn at a larger scale than the other
};

// The least bending of distances from the centre that leaves no more than a tenth of the
// places crowded; for a network that stays crowded, the least bending that is nearly as
// good as the best, because strong bending squeezes the outer stations of long lines.
// Such a network may also use more of the screen's other side when much wider than tall
// (or the other way): a schematic map, not a survey.
// `radii` are the places' disc radii, `gap` the room wanted between two discs; a given
// `givenExponent` is used as it is.
BentProjection ProjectBent(const std::vector<GeoPosition>& positions,
                           const std::vector<double>& radii, const ScreenBox& box, double margin,
                           std::optional<double> givenExponent, int gap);

}  // namespace qv::import
