#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "projection.h"

namespace qv::import {

struct GridPoint {
    int x = 0;
    int y = 0;
    bool operator==(const GridPoint&) const = default;
};

// One line record as a sequence of places; a ring returns from its last place to its first.
struct PlaceChain {
    std::vector<int> places;
    bool isRing = false;
};

// Two links that cross, each as its two places, the smaller first.
using LinkCrossing = std::pair<std::pair<int, int>, std::pair<int, int>>;

// Whether two links, each as its two places, end at a common place.
inline bool ShareAPlace(std::pair<int, int> one, std::pair<int, int> other) {
    return one.first == other.first || one.first == other.second || one.second == other.first ||
           one.second == other.second;
}

struct SchematicRequest {
    std::vector<PlanePoint> places;  // where each place would be true to the geography
    std::vector<PlaceChain> chains;
    ScreenBox box;       // the area the drawing may use
    int grid = 8;        // map units between neighbouring grid nodes
    int separation = 3;  // map units between the centres of two lines side by side
    // Each link takes a grid step more per link it crosses, so that the crossing has a node of
    // its own between the link's stations.
    bool roomForCrossings = false;
    // A large network, crowded in its centre: bends weigh more.
    bool crowded = false;
    // The links that cross where the stations really are: the crossings to keep. Where not
    // given, those crossing at `places`.
    std::optional<std::vector<LinkCrossing>> crossings = std::nullopt;
    // Per place and neighbouring place: the direction towards it, true to the geography, as an
    // angle from the x axis towards the y axis. Where not given, the one between `places`.
    std::map<std::pair<int, int>, double> headings = {};
    // The squared distance, in map units, two places' stations may come to as the lines
    // straighten, where they are further apart: the geographic map's nearest.
    std::int64_t nearestApartSquared = std::numeric_limits<std::int64_t>::max();
};

// Per line record: where each of its stations is drawn, and the corners of the line between
// station i and the next one (for a ring, the last entry leads back to the first station).
struct SchematicChain {
    std::vector<GridPoint> stations;
    std::vector<std::vector<GridPoint>> corners;
};

struct SchematicLayout {
    std::vector<SchematicChain> chains;
    int unrouted = 0;  // links drawn straight because no octilinear way was free
};

}  // namespace qv::import
