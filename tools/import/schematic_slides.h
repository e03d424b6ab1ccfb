#pragma once

#include <cstddef>
#include <vector>

#include "schematic_records.h"
#include "segment_geometry.h"

// Stations slid along their own lines once the layout is drawn: off the far side of a crossing
// they are to be before, and apart from other places' stations.
namespace qv::import::schematic {

inline IntPoint Wide(GridPoint p) {
    return {p.x, p.y};
}

// A link's station, its corners and the next station.
std::vector<GridPoint> LinkPath(const SchematicChain& chain, std::size_t link);

// Where side-by-side lines cross a line near one of its stations, their offset strokes may meet
// it on the far side of the station: the crossing moves into the next link. Each station
// between two links slides along its line, over other lines where it must, to the nearest free
// spot that leaves fewest of its links' crossings other than the request's, no nearer to
// another place's station. Nothing where the request gives no crossings.
void KeepCrossingsAtStations(const SchematicRequest& request, SchematicLayout& layout);

// Stations of different places closer than a line separation and a unit: each slides along its
// own line (at its end, on beyond it by less than a separation), never over another line, to
// the nearest spot that takes it farthest from the others, up to that distance.
void KeepStationsApart(const SchematicRequest& request, SchematicLayout& layout);

}  // namespace qv::import::schematic
