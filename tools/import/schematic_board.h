#pragma once

#include <map>
#include <vector>

// What the runs routed so far hold of the grid.
namespace qv::import::schematic {

struct Board {
    int width = 0;
    int height = 0;
    std::vector<bool> edgeUsed;  // per node and direction
    std::vector<int> through;    // per node: directions of runs passing it
    std::vector<int> passedBy;   // per node and direction: the run passing it that way, or -1
    std::vector<int> station;    // per node: the place drawn there, or -1
    std::vector<int> ports;      // per node: directions runs leave a station by
    std::map<int, std::map<int, std::vector<int>>> portChains;  // per station node and port
    std::map<int, std::map<int, double>> portHeading;           // per station node and port
    std::vector<int> nodeOf;                                    // per place, or -1
};

}  // namespace qv::import::schematic
