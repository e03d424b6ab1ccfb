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

std::int64_t TravelTime(std::span<Station* const> path, const std::vector<Transfer>& transfers,
                        bool countWaitTime) {
    std::int64_t minutes = 0;
    const Station* previous = nullptr;
    for (const Station* point : path) {
        if (!point->IsStation()) {
            continue;
        }
        if (!previous || point->line->number != previous->line->number) {
            if (countWaitTime) {
                minutes += point->line->waitTime;
            }
            if (previous) {
                if (const Transfer* transfer = FindTransferBetween(*previous, *point, transfers)) {
                    minutes += transfer->time;
                }
            }
        } else if (previous->index > point->index || point->line->isRing) {
            // Against the line's order the run time is kept by the station stepped onto.
            minutes += point->runTime;
        } else {
            minutes += previous->runTime;
        }
        previous = point;
    }
    return minutes;
}

}  // namespace qv
