#include "travel_times.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qv::import {

namespace {

constexpr std::array kHeadways = {
    HeadwayException{u"Москва", u"МЦК", 6, "the circle railway runs every 4 to 6 minutes"},
    HeadwayException{u"Москва", u"МЦД - 1", 10, "suburban trains, every 5 to 15 minutes"},
    HeadwayException{u"Москва", u"МЦД - 2", 10, "suburban trains, every 5 to 15 minutes"},
    HeadwayException{u"Москва", u"Монорельс", 8, "the monorail runs every 7 to 10 minutes"},
};

}  // namespace

std::int32_t EstimateRunMinutes(double metres, const TimeEstimates& estimates) {
    const double running = metres / (estimates.speedKmh * 1000 / 60);
    return std::max<std::int32_t>(
        1, static_cast<std::int32_t>(std::lround(running + estimates.dwellMinutes)));
}

std::int32_t EstimateTransferMinutes(double metres, const TimeEstimates& estimates) {
    const double walking = std::ceil(metres / estimates.walkMetresPerMinute);
    return std::max(estimates.shortestTransferMinutes,
                    static_cast<std::int32_t>(walking + estimates.transferExtraMinutes));
}

std::int32_t WaitMinutes(std::int32_t headwayMinutes) {
    return (headwayMinutes + 1) / 2;
}

std::span<const HeadwayException> KnownHeadwayExceptions() {
    return kHeadways;
}

}  // namespace qv::import
