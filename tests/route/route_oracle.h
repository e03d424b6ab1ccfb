#pragma once

#include <cstdint>
#include <vector>

#include "model/network_model.h"

namespace qv::testing {

// The route search exactly as its rules are written: a square adjacency matrix, a table of
// 100 x points slots each holding a whole copy of its path, every candidate point scanned in
// index order, transfer counts and times recomputed from scratch. Slow and plain, so that the
// fast finder can be compared with it.
struct OracleEvents {
    bool tableFilled = false;  // a copy was refused because the table was full
    bool arrivalsCut = false;  // a pass ended after more than 100 arrivals
};
std::vector<std::int32_t> OracleSearchRoute(const NetworkModel& model, std::int32_t departure,
                                            std::int32_t destination,
                                            OracleEvents* events = nullptr);

// The adjacency matrix as the rules build it, from the lines, transfers and current kinds.
std::vector<std::vector<std::uint8_t>> OracleAdjacency(const NetworkModel& model);

}  // namespace qv::testing
