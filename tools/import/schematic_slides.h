#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "schematic_records.h"
#include "segment_geometry.h"

// Stations slid along their own lines once the layout is drawn: off other lines, onto the side
// of a crossing they are to be on, and apart from other places' stations.
namespace qv::import::schematic {

inline IntPoint Wide(GridPoint p) {
    return {p.x, p.y};
}

// A link's station, its corners and the next station.
std::vector<GridPoint> LinkPath(const SchematicChain& chain, std::size_t link);

// The box round a path: paths whose boxes lie apart cannot cross, and a point at least a
// distance from the box is at least as far from the path.
struct PathBox {
    GridPoint low;
    GridPoint high;

    void Take(GridPoint p) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y)};
    }
    bool Apart(const PathBox& other) const {
        return high.x < other.low.x || other.high.x < low.x || high.y < other.low.y ||
               other.high.y < low.y;
    }
    // Whether every point of the box lies at least `distance` from `p`.
    bool AtLeast(double distance, GridPoint p) const {
        return distance <= 0 || low.x - p.x >= distance || p.x - high.x >= distance ||
               low.y - p.y >= distance || p.y - high.y >= distance;
    }
};

PathBox BoxOf(const std::vector<GridPoint>& path);

// Per pair of links that cross where the request does not have them cross, or do not where it
// does, its two links (chain, link), one after the other; none where the request gives no
// crossings. Links sharing a place never count.
std::vector<std::pair<int, int>> LinksCrossedWrongly(const SchematicRequest& request,
                                                     const SchematicLayout& layout);

// The corners and stations where a line turns with an inside angle of 45 degrees or less (a
// reversal too), as drawn.
std::size_t SharpTurns(const SchematicLayout& layout);

// Points of the chains' courses where the direction changes at all, as the map's score counts
// bends along lines.
std::size_t Bends(const SchematicLayout& layout);

// Whether a line of the drawing comes to one point twice in a row: two of its stations, or a
// station and a corner, on one spot.
bool RepeatsAPoint(const SchematicLayout& layout);

// The least squared distance (map units) between stations of two different places.
std::int64_t NearestApartSquared(const SchematicRequest& request, const SchematicLayout& layout);

// A station left within a station's radius of a line that does not serve it, or one whose
// links cross other lines other than as the request gives (where side-by-side lines cross a
// line near a station, their offset strokes may meet it on the far side of the station, which
// moves the crossing into the next link): each slides along its line, over other lines where it
// must, to the nearest free spot that leaves fewest of those faults, no nearer to another
// place's station. Crossings count only where the request gives them.
//
// Then stations of different places closer than a line separation and a unit: each slides
// along its own line (at its end, on beyond it by less than a separation), never over another
// line, to the nearest spot that takes it farthest from the others, up to that distance.
void KeepStationsClearAndApart(const SchematicRequest& request, SchematicLayout& layout);

}  // namespace qv::import::schematic
