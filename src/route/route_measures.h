#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "model/line.h"
#include "model/station.h"

namespace qv {

// What reaching station `to` adds to a path whose last station was `from`: one transfer and
// the new line's wait (when waits count) where the line number changes, else the run time. The
// transfer's own time is looked up by the caller.
struct StationStep {
    std::int32_t transfers = 0;
    std::int64_t minutes = 0;
};
StationStep StepBetween(const Station& from, const Station& to, bool countWaitTime);
// The wait of boarding the first line.
std::int64_t FirstBoarding(const Station& station, bool countWaitTime);

// The transfers of a path: only 'S' points count; each 'S' point on a line of another number than
// the previous 'S' point's is one transfer.
std::int32_t CountTransfers(std::span<Station* const> path);

// The minutes of a path: run times along each line, the time of each transfer used and, when
// waiting counts, each boarded line's waiting time. Wide, so no map can overflow it.
std::int64_t TravelTime(std::span<Station* const> path, const std::vector<Transfer>& transfers,
                        bool countWaitTime);

// The time of the first transfer joining the two stations by coordinates, either way round.
const Transfer* FindTransferBetween(const Station& a, const Station& b,
                                    const std::vector<Transfer>& transfers);

}  // namespace qv
