#include "route/route_measures.h"

namespace qv {

std::int32_t CountTransfers(std::span<Station* const> path) {
    std::int32_t transfers = 0;
    const Station* previous = nullptr;
    for (const Station* point : path) {
        if (!point->IsStation()) {
            continue;
        }
        if (previous && point->line->number != previous->line->number) {
            ++transfers;
        }
        previous = point;
    }
    return transfers;
}

const Transfer* FindTransferBetween(const Station& a, const Station& b,
                                    const std::vector<Transfer>& transfers) {
    for (const Transfer& transfer : transfers) {
        const bool forward =
            transfer.x1 == a.x && transfer.y1 == a.y && transfer.x2 == b.x && transfer.y2 == b.y;
        const bool backward =
            transfer.x1 == b.x && transfer.y1 == b.y && transfer.x2 == a.x && transfer.y2 == a.y;
        if (forward || backward) {
            return &transfer;
        }
    }
    return nullptr;
}

StationStep StepBetween(const Station& from, const Station& to, bool countWaitTime) {
    if (from.line->number != to.line->number) {
        return {1, countWaitTime ? to.line->waitTime : 0};
    }
    // Against the line's order, and on a ring, the station stepped onto keeps the run time.
    return {0, from.index > to.index || to.line->isRing ? to.runTime : from.runTime};
}

std::int64_t FirstBoarding(const Station& station, bool countWaitTime) {
    return countWaitTime ? station.line->waitTime : 0;
}

std::int64_t TravelTime(std::span<Station* const> path, const std::vector<Transfer>& transfers,
                        bool countWaitTime) {
    std::int64_t minutes = 0;
    const Station* previous = nullptr;
    for (const Station* point : path) {
        if (!point->IsStation()) {
            continue;
        }
        if (!previous) {
            minutes += FirstBoarding(*point, countWaitTime);
        } else {
            const StationStep step = StepBetween(*previous, *point, countWaitTime);
            minutes += step.minutes;
            if (step.transfers > 0) {
                if (const Transfer* transfer = FindTransferBetween(*previous, *point, transfers)) {
                    minutes += transfer->time;
                }
            }
        }
        previous = point;
    }
    return minutes;
}

}  // namespace qv
