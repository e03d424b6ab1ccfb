#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qv::import {

// The assumptions behind every time that the data does not give. Each is documented with the
// shipped maps.
struct TimeEstimates {
    double speedKmh = 40;       // average running speed between stations
    double dwellMinutes = 0.5;  // stop at a station
    double walkMetresPerMinute = 80;
    double transferExtraMinutes = 1;  // stairs, escalators and finding the platform
    std::int32_t shortestTransferMinutes = 2;
    std::int32_t headwayMinutes = 4;  // between trains; the wait is half of it
};

// Minutes from one station to the next over `metres`: running plus the dwell, rounded to the
// nearest minute, at least 1.
std::int32_t EstimateRunMinutes(double metres, const TimeEstimates& estimates);

// Minutes to walk between the platforms of an interchange whose stations are `metres` apart:
// the walk rounded up plus the extra, at least the shortest transfer.
std::int32_t EstimateTransferMinutes(double metres, const TimeEstimates& estimates);

// The mean wait for a train: half the headway, rounded up.
std::int32_t WaitMinutes(std::int32_t headwayMinutes);

// Lines that run less often than the metro, by city and line name.
struct HeadwayException {
    std::u16string_view city;
    std::u16string_view line;
    std::int32_t headwayMinutes;
    std::string_view reason;
};
std::span<const HeadwayException> KnownHeadwayExceptions();

}  // namespace qv::import
