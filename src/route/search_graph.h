#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/network_model.h"
#include "route/route_measures.h"

namespace qv {

inline constexpr std::int32_t kNoPoint = -1;

// The time of the first transfer record joining two places, in either orientation.
class TransferTimes {
  public:
    explicit TransferTimes(const std::vector<Transfer>& transfers);
    std::int64_t Between(const Station& from, const Station& to) const;

  private:
    using PlacePair = std::pair<std::uint64_t, std::uint64_t>;
    struct PlacePairHash {
        std::size_t operator()(const PlacePair& key) const;
    };
    static PlacePair Key(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

    std::unordered_map<PlacePair, std::int32_t, PlacePairHash> times_;
};

// What a route search reads of each point, laid out flat. Kinds do not change during a search, so
// the neighbours a path may step to are known before it starts, and so is the cost of each step
// from a station to a station.
class SearchGraph {
  public:
    explicit SearchGraph(const NetworkModel& model);

    std::int32_t PointCount() const { return static_cast<std::int32_t>(stations_.size()); }
    bool IsStation(std::int32_t point) const {
        return isStation_[static_cast<std::size_t>(point)] != 0;
    }
    bool OnOneLine(std::int32_t a, std::int32_t b) const {
        return lines_[static_cast<std::size_t>(a)] == lines_[static_cast<std::size_t>(b)];
    }

    // Admissible neighbours of a point, in index order, as [first, last) positions of Link().
    std::size_t FirstLink(std::int32_t point) const {
        return static_cast<std::size_t>(firstLink_[static_cast<std::size_t>(point)]);
    }
    std::size_t EndLink(std::int32_t point) const {
        return static_cast<std::size_t>(firstLink_[static_cast<std::size_t>(point) + 1]);
    }
    std::int32_t Link(std::size_t link) const { return links_[link]; }
    // The step from the station at the link's start to the station at its end.
    const StationStep& LinkCost(std::size_t link) const { return linkCosts_[link]; }
    // The step between two stations that shape points may separate.
    StationStep StepCost(std::int32_t from, std::int32_t to) const {
        return Cost(At(from), At(to));
    }

    // What a path adds by stepping through `link` from `point` when its last station is
    // `lastStation` (kNoPoint before the first): nothing onto a point that is not a station, the
    // first line's wait onto the first station, else the station-to-station step.
    // Inline: a search takes this step millions of times.
    StationStep Reach(std::int32_t point, std::int32_t lastStation, std::size_t link) const {
        const std::int32_t next = links_[link];
        if (!IsStation(next)) {
            return {};
        }
        if (lastStation == kNoPoint) {
            return Start(next);
        }
        return lastStation == point ? linkCosts_[link] : Cost(At(lastStation), At(next));
    }

    // Whether no step costs negative minutes: runs, waits and transfer times are all at least 0.
    bool MinutesNonNegative() const { return minutesNonNegative_; }

    // What a path that starts at `point` holds before its first step.
    StationStep Start(std::int32_t point) const {
        return {0, IsStation(point) ? FirstBoarding(At(point), countWaitTime_) : 0};
    }

  private:
    const Station& At(std::int32_t point) const {
        return *stations_[static_cast<std::size_t>(point)];
    }
    StationStep Cost(const Station& from, const Station& to) const;

    std::span<Station* const> stations_;
    TransferTimes transferTimes_;
    bool countWaitTime_;
    bool minutesNonNegative_ = true;
    // Each point's kind and line, beside each other instead of behind a pointer per point.
    std::vector<std::uint8_t> isStation_;
    std::vector<const Line*> lines_;
    std::vector<std::int32_t> firstLink_;
    std::vector<std::int32_t> links_;
    std::vector<StationStep> linkCosts_;
};

// Lower bounds on what any walk from a point to the destination still adds to a path, whatever
// the path before it: only steps between two stations count, each at its own transfers and
// minutes. Walks may repeat points and ignore the length and transfer limits, so a route never
// adds less.
class RemainingBounds {
  public:
    static constexpr std::int32_t kUnreachable = std::numeric_limits<std::int32_t>::max();

    // The transfers; the minutes are 0 until AddMinutes.
    RemainingBounds(const SearchGraph& graph, std::int32_t destination);
    // Only where no step costs negative minutes: otherwise they stay 0.
    void AddMinutes(const SearchGraph& graph);

    bool Reaches(std::int32_t point) const { return Transfers(point) != kUnreachable; }
    std::int32_t Transfers(std::int32_t point) const {
        return transfers_[static_cast<std::size_t>(point)];
    }
    std::int64_t Minutes(std::int32_t point) const {
        return minutes_.empty() ? 0 : minutes_[static_cast<std::size_t>(point)];
    }

  private:
    struct Edge {
        std::int32_t from = 0;
        std::int32_t transfers = 0;
        std::int64_t minutes = 0;
    };

    std::span<const Edge> Into(std::int32_t point) const;

    std::int32_t destination_;
    std::vector<std::int32_t> firstEdge_;  // edges into each point, as [first, next) of edges_
    std::vector<Edge> edges_;
    std::vector<std::int32_t> transfers_;
    std::vector<std::int64_t> minutes_;
};

}  // namespace qv
