#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "interchange.h"
#include "label_placement.h"
#include "route_colour.h"
#include "scheme_draft.h"
#include "source_network.h"
#include "tab_letters.h"
#include "travel_times.h"

namespace qv::import {

enum class Layout {
    kSchematic,   // lines at 0, 45 and 90 degrees on a grid
    kGeographic,  // stations where the geography puts them
};

struct BuildOptions {
    Layout layout = Layout::kSchematic;
    TimeEstimates times;
    InterchangeRules interchange;
    std::span<const InterchangeException> interchangeExceptions;
    std::span<const HeadwayException> headways;
    // The exponent of the distances from the centre; chosen from the density when not given.
    std::optional<double> exponent;
};

// What the build decided and estimated, for the report.
struct BuildReport {
    std::vector<std::string> notes;
    double exponent = 1;     // of the distance from the centre; 1 = true to scale
    bool stretched = false;  // one axis drawn at a larger scale than the other
    int places = 0;          // stations and interchanges drawn as one spot
    int dataRunTimes = 0;    // run times from the data
    int estimatedRunTimes = 0;
    int estimatedTransfers = 0;
    int forkTransfers = 0;      // zero-minute transfers between branches of one line
    int nearestPlaceUnits = 0;  // smallest distance between stations of different places
    int grid = 0;               // map units between grid nodes of a schematic layout
    int unroutedRuns = 0;       // runs of a schematic layout drawn straight, off the grid
    // Pairs of links (between different places) crossing where the stations really are, and
    // those the drawing crosses that do not, or does not cross that do.
    int realCrossings = 0;
    int crossingsAdded = 0;
    int crossingsLost = 0;
    int ordersChanged = 0;  // places whose neighbours lie round them in another order
    std::vector<std::string> geographyFaults;  // each such crossing and place, named
    LabelOutcome labels;
};

// The whole scheme of a network: lines cut at their forks, places laid out on the screen,
// transfers, times, labels, zoom and tab letters. Fails only for a network with nothing to draw
// or links the data repeats.
Outcome<DraftScheme> BuildScheme(const SourceNetwork& network, const BuildOptions& options,
                                 BuildReport& report);

}  // namespace qv::import
