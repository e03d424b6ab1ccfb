#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/network_model.h"

namespace qv::import {

// Shortest travel times between the stations of a loaded map, by the program's own rules (run
// times along a line, transfer times, a wait per boarding when waits count), over its links.
class TravelTimes {
  public:
    TravelTimes(const NetworkModel& model, bool countWaitTime);
    // Minutes from one point to every point; -1 where no route exists.
    std::vector<std::int64_t> From(std::int32_t departure) const;

  private:
    std::int64_t StepMinutes(const Station& from, const Station& to) const;

    const NetworkModel& model_;
    bool countWaitTime_;
};

struct Trip {
    std::int32_t from = -1;
    std::int32_t to = -1;
    std::int64_t minutes = -1;  // by TravelTimes
};

struct MapCheck {
    std::int32_t lines = 0;
    std::int32_t stations = 0;  // distinct station names
    std::int32_t points = 0;    // stations of every line record
    std::int32_t corners = 0;   // points of a line's course that are no station
    std::int32_t transfers = 0;
    std::int32_t zoomFactor = 1;
    std::int32_t labelMinZoom = 1;
    std::int64_t unreachablePairs = 0;  // ordered pairs of points with no links between them
    std::int64_t searchedPairs = 0;     // pairs given to the route finder
    std::int64_t beyondLimit = 0;       // of those, pairs no route reaches within the limit
    std::int64_t finderMisses = 0;      // pairs within the limit it found no route for
    std::int64_t finderSlower = 0;      // pairs where its route by time is slower than the best
    Trip longest;                       // the pair whose shortest time is the largest
    std::int64_t longestByFinder = -1;  // the finder's minutes for that pair
};

// Checks a loaded map: every point reaches every other over the links; the route finder, with
// `maxTransfers` and choosing by time, finds a route for the pairs asked (every pair when
// `everyPair`, else each point to the three points farthest from it in time).
MapCheck CheckMap(NetworkModel& model, std::int32_t maxTransfers, bool everyPair);

// Which points a route from `departure` reaches when each step is taken with at most
// `maxTransfers` transfers behind it, as the route finder's rules allow (the point bound aside).
// A breadth-first walk over point and last line, independent of the finder.
std::vector<bool> ReachableWithin(const NetworkModel& model, std::int32_t departure,
                                  std::int32_t maxTransfers);

// Every 'S' point with that name: a station served by several lines has one point per line.
std::vector<std::int32_t> FindStationsByName(const NetworkModel& model, std::u16string_view name);

// The shortest minutes between any point of one name and any point of the other; -1 when
// either name is unknown or no route exists.
std::int64_t TripMinutes(const TravelTimes& times, const NetworkModel& model,
                         std::u16string_view from, std::u16string_view to);

}  // namespace qv::import
