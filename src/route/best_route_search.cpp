#include "route/best_route_search.h"

#include <algorithm>
#include <queue>
#include <tuple>

namespace qv {

namespace {

// A path's end: where it stands and what it holds. Labels of a search refer to the label they
// grew from, so that the chosen one's points can be read back.
struct Label {
    std::int32_t point = 0;
    std::int32_t lastStation = kNoPoint;
    std::int32_t transfers = 0;
    std::int32_t length = 0;  // points
    std::int64_t minutes = 0;
    std::int32_t parent = -1;
};

struct QueueEntry {
    std::int64_t primary = 0;
    std::int64_t secondary = 0;
    std::int32_t length = 0;
    std::int32_t label = 0;

    friend bool operator>(const QueueEntry& a, const QueueEntry& b) {
        return std::tie(a.primary, a.secondary, a.length, a.label) >
               std::tie(b.primary, b.secondary, b.length, b.label);
    }
};

// The most the labels of one search may hold. A search that would need more gives up, leaving the
// enumeration's choice; no loaded map comes near it at the transfer limits a user can set.
constexpr std::size_t kLabelBudget = std::size_t{256} << 20;
constexpr std::size_t kBytesPerLabel = 2 * sizeof(Label) + sizeof(QueueEntry);

// Labels leave the queue best first, with fewer points first among equals. Step costs are not
// negative, so a label is beaten by one already taken at the same point with the same last
// station that had no more transfers, no more minutes and, if the point bound can matter, no more
// points: whatever the beaten one could still reach, that one reaches at least as well. Among the
// best routes the first taken has the fewest points, and such a route never passes a point twice:
// leaving out a loop neither adds transfers nor minutes.
class BestRouteSearch {
  public:
    BestRouteSearch(const SearchGraph& graph, const RouteRules& rules, std::int32_t destination,
                    std::optional<RouteScore> toBeat)
        : graph_(graph),
          rules_(rules),
          destination_(destination),
          toBeat_(toBeat),
          lengthMatters_(rules.maxLength - 1 < graph.PointCount()),
          taken_(static_cast<std::size_t>(graph.PointCount())) {}

    ScoredRoute Run(std::int32_t departure) {
        const StationStep start = graph_.Start(departure);
        Push({.point = departure,
              .lastStation = graph_.IsStation(departure) ? departure : kNoPoint,
              .length = 1,
              .minutes = start.minutes});
        while (!queue_.empty()) {
            if (labels_.size() * kBytesPerLabel > kLabelBudget) {
                return {.points = {}, .score = {}, .complete = false};
            }
            const std::int32_t id = queue_.top().label;
            queue_.pop();
            if (!Take(labels_[static_cast<std::size_t>(id)])) {
                continue;
            }
            const Label& taken = labels_[static_cast<std::size_t>(id)];
            if (taken.point == destination_) {
                const bool better = !toBeat_ || IsBetterRoute({taken.transfers, taken.minutes},
                                                              *toBeat_, rules_.algorithm);
                return better ? RouteOf(id) : ScoredRoute{};
            }
            Expand(id);
        }
        return {};
    }

  private:
    struct Taken {
        std::int32_t lastStation = kNoPoint;
        std::int32_t transfers = 0;
        std::int32_t length = 0;
        std::int64_t minutes = 0;
    };

    bool Beaten(const Label& label) const {
        for (const Taken& taken : taken_[static_cast<std::size_t>(label.point)]) {
            if (taken.lastStation == label.lastStation && taken.transfers <= label.transfers &&
                taken.minutes <= label.minutes &&
                (!lengthMatters_ || taken.length <= label.length)) {
                return true;
            }
        }
        return false;
    }

    bool Take(const Label& label) {
        if (Beaten(label)) {
            return false;
        }
        taken_[static_cast<std::size_t>(label.point)].push_back(
            {label.lastStation, label.transfers, label.length, label.minutes});
        return true;
    }

    void Push(const Label& label) {
        const auto id = static_cast<std::int32_t>(labels_.size());
        labels_.push_back(label);
        const bool transfersFirst = rules_.algorithm == 0;
        queue_.push({transfersFirst ? label.transfers : label.minutes,
                     transfersFirst ? label.minutes : label.transfers, label.length, id});
    }

    void Expand(std::int32_t id) {
        const Label from = labels_[static_cast<std::size_t>(id)];
        if (from.length >= rules_.maxLength - 1 || from.transfers > rules_.maxTransfers) {
            return;
        }
        for (std::size_t link = graph_.FirstLink(from.point); link < graph_.EndLink(from.point);
             ++link) {
            const std::int32_t next = graph_.Link(link);
            const StationStep step = graph_.Reach(from.point, from.lastStation, link);
            const Label label{.point = next,
                              .lastStation = graph_.IsStation(next) ? next : from.lastStation,
                              .transfers = from.transfers + step.transfers,
                              .length = from.length + 1,
                              .minutes = from.minutes + step.minutes,
                              .parent = id};
            // Steps never lower a score, so a label no better than the route to beat stays so.
            if ((rules_.algorithm == 1 && label.minutes >= kRouteMinutesLimit) ||
                (toBeat_ &&
                 !IsBetterRoute({label.transfers, label.minutes}, *toBeat_, rules_.algorithm)) ||
                Beaten(label)) {
                continue;
            }
            Push(label);
        }
    }

    ScoredRoute RouteOf(std::int32_t id) const {
        const Label& end = labels_[static_cast<std::size_t>(id)];
        ScoredRoute route{.points = {}, .score = {end.transfers, end.minutes}};
        for (std::int32_t at = id; at != -1; at = labels_[static_cast<std::size_t>(at)].parent) {
            route.points.push_back(labels_[static_cast<std::size_t>(at)].point);
        }
        std::reverse(route.points.begin(), route.points.end());
        // Only negative times, which no loaded map holds, could make a loop pay.
        std::vector<std::int32_t> sorted = route.points;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
            return {.points = {}, .score = {}, .complete = false};
        }
        return route;
    }

    const SearchGraph& graph_;
    const RouteRules rules_;
    const std::int32_t destination_;
    const std::optional<RouteScore> toBeat_;
    const bool lengthMatters_;
    std::vector<Label> labels_;
    std::priority_queue<QueueEntry, std::vector<QueueEntry>, std::greater<>> queue_;
    std::vector<std::vector<Taken>> taken_;
};

}  // namespace

bool IsBetterRoute(const RouteScore& a, const RouteScore& b, std::int32_t algorithm) {
    if (algorithm == 0) {
        return std::tie(a.transfers, a.minutes) < std::tie(b.transfers, b.minutes);
    }
    return std::tie(a.minutes, a.transfers) < std::tie(b.minutes, b.transfers);
}

ScoredRoute SearchBestRoute(const SearchGraph& graph, const RouteRules& rules,
                            std::int32_t departure, std::int32_t destination,
                            std::optional<RouteScore> toBeat) {
    if ((rules.algorithm != 0 && rules.algorithm != 1) || departure < 0 ||
        departure >= graph.PointCount() || destination < 0 || destination >= graph.PointCount()) {
        return {};
    }
    // A negative time lets a walk that turns back score better the longer it gets: its labels
    // crowd out the simple routes, so what the search would find proves nothing.
    if (!graph.MinutesNonNegative()) {
        return {.points = {}, .score = {}, .complete = false};
    }
    return BestRouteSearch(graph, rules, destination, toBeat).Run(departure);
}

}  // namespace qv
