#pragma once

#include <span>
#include <string>
#include <vector>

#include "source_network.h"

namespace qv::import {

// One run of a line without forks: its stations in order, and for each step the data's link.
struct Chain {
    std::vector<int> stations;  // indices into SourceNetwork::stations
    std::vector<int> links;     // links[i] joins stations[i] and stations[i + 1]; for a ring
                                // the last one joins the last station back to the first
    bool isRing = false;
};

struct SplitLine {
    std::vector<Chain> chains;  // in the order the map lists them
    // Fork stations where a ride across would count a run time because the rule below could not
    // be kept; empty for every network we know.
    std::vector<int> costlyForks;
};

// Cuts a line's links into chains, each link in exactly one chain. A line that is one closed
// loop becomes one ring; otherwise the longest runs are taken first. The chains are oriented and
// ordered so that at every fork station the chain listed first among those that reach it ends
// there: a ride from a chain's last station to another chain of the same line then counts no
// run time, because the travel time takes the run time of the lower-numbered station of such a
// step, and a last station's run time is 0.
SplitLine SplitIntoChains(std::span<const SourceLink> links);

}  // namespace qv::import
