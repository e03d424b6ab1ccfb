#pragma once

#include <cstdint>
#include <vector>

#include "model/network_model.h"

namespace qv::testing {

// The route search exactly as its rules are written, slow and plain, to compare the finder with.
struct OracleEvents {
    bool tableFilled = false;  // a copy was refused because the table was full
    bool arrivalsCut = false;  // a pass ended after more than 100 arrivals
};
std::vector<std::int32_t> OracleSearchRoute(const NetworkModel& model, std::int32_t departure,
                                            std::int32_t destination,
                                            OracleEvents* events = nullptr);

std::vector<std::vector<std::uint8_t>> OracleAdjacency(const NetworkModel& model);

struct OracleScore {
    std::int64_t transfers = 0;
    std::int64_t minutes = 0;
};
OracleScore OracleMeasure(const NetworkModel& model, const std::vector<std::int32_t>& path);
// Fewest transfers, then minutes, for algorithm 0; fewest minutes, then transfers, otherwise.
bool OracleBetter(const OracleScore& a, const OracleScore& b, std::int32_t algorithm);
std::int64_t OracleMaxLength(const NetworkModel& model);

}  // namespace qv::testing
