#pragma once

#include <utility>
#include <vector>

#include "schematic_grid.h"
#include "schematic_records.h"

namespace qv::import::schematic {

struct Passing {
    std::pair<int, int> link;     // chain, link
    std::pair<int, int> station;  // chain, station
};

// Each segment of a link and station it passes closer than a station's radius, the station of
// a place the link's line record does not serve.
std::vector<Passing> StationsPassed(const SchematicRequest& request, const SchematicLayout& layout);

// Links (chain, link) that share a stretch of track with another link.
std::vector<std::pair<int, int>> LinksOnSharedTrack(const SchematicLayout& layout);

// A drawing to judge a layout by, or the map's own: that one has its lanes straightened once
// more after the runs moved aside, which would make judging every layout too slow.
enum class DrawingPass { kDraft, kFinal };

// The layout of the request's line records from the routed runs: `nodeOf` gives each place's
// grid node (negative: none) on a grid `width` nodes wide; `unrouted` is passed on.
SchematicLayout DrawSchematic(const SchematicRequest& request, const std::vector<Run>& runs,
                              const std::vector<int>& nodeOf, int width, int unrouted,
                              DrawingPass pass = DrawingPass::kDraft);

}  // namespace qv::import::schematic
