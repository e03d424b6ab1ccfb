#include "route/route_enumeration.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "route/exact_route_checks.h"
#include "route/path_arena.h"

namespace qv {

namespace {

constexpr std::int64_t kSlotsPerPoint = 100;
constexpr std::size_t kArrivalsPerPass = 100;
constexpr std::int32_t kNone = kNoPoint;
// The most the enumeration's path store may reserve; past it the table counts as full, which
// bounds the search's memory on any map the loader accepts. Growing storage briefly holds its old
// and new arrays, so the search's peak is about twice this.
constexpr std::size_t kPathStoreBudget = std::size_t{128} << 20;

constexpr std::int32_t kNoSlot = std::numeric_limits<std::int32_t>::max();

// Slots in the order they are extended; each leaves when its turn comes.
class SlotQueue {
  public:
    void Add(std::int32_t slot) { slots_.push_back(slot); }
    void Leave(std::int32_t slot) {
        if (head_ < slots_.size() && slots_[head_] == slot) {
            ++head_;
        }
    }
    // kNoSlot when none is left.
    std::int32_t Lowest() const { return head_ < slots_.size() ? slots_[head_] : kNoSlot; }

  private:
    std::vector<std::int32_t> slots_;
    std::size_t head_ = 0;
};

// Enumerates paths in passes over a table of slots, exactly as the route has always been chosen:
// in a sweep the first admissible neighbour (in index order) continues the path itself and each
// further one starts a copy in the next free slot; copies wait for the next pass. A pass visits
// the slots in order and stops at the 101st that already ends at the destination, so only the
// slots still to be extended and the first 101 arrivals need to be kept in order. A full table
// and a pass stopped that way both cut the enumeration short.
//
// Its choice is the lowest slot among the arrivals of the least primary score (transfers or
// minutes); where the enumeration is cut short, that choice stands only if it has the best score,
// else the exact search's route replaces it. Once the best score is known, the enumeration ends as
// soon as the outcome is settled: when no slot still to be extended below the lowest arrival of
// the best primary score may arrive with that score (slots made later lie above it), or, cut
// short, none may arrive with the best score; or when no path but the exact search's route can
// score the best primary score, or, cut short, the best score. Where the outcome depends on
// whether the enumeration will be cut short, it ends early only once that is certain.
class RouteSearch final : public PathEnumeration {
  public:
    RouteSearch(const NetworkModel& model, std::int32_t departure, std::int32_t destination,
                std::size_t settleAfter = kSettleAfterPaths)
        : graph_(model),
          destination_(destination),
          algorithm_(model.settings.algorithm),
          maxTransfers_(model.settings.maxTransfers),
          maxLength_(MaxPathLength(model)),
          slotLimit_(kSlotsPerPoint * model.StationCount() - 2),
          settleAfter_(settleAfter),
          onPath_(static_cast<std::size_t>(model.StationCount()), 0) {
        PathNode start{.first = departure,
                       .station = departure,
                       .length = 1,
                       .lastStation = graph_.IsStation(departure) ? departure : kNone,
                       .minutes = graph_.Start(departure).minutes};
        AddSlot(arena_.Branch(start), departure);
    }

    const SearchGraph& Graph() const override { return graph_; }

    Ending HowItEnded() const override { return ending_; }

    EnumeratedRoute Run(Settling settling) override {
        settling_ = std::move(settling);
        do {
            Pass();
        } while (changed_ && ending_ == Ending::Exhausted);
        // Where the exact search's route wins, the enumeration's own choice is not looked for.
        const std::int32_t chosen = ending_ == Ending::ChoiceStands    ? bestArrival_
                                    : ending_ == Ending::BestRouteWins ? kNone
                                                                       : Choose();
        EnumeratedRoute result{.route = {.points = PathOf(chosen), .score = {}},
                               .cutShort = cutShort_};
        if (chosen != kNone) {
            const PathNode& end = arena_[SlotNode(chosen)];
            result.route.score = {end.transfers, end.minutes};
        }
        return result;
    }

  private:
    std::int32_t LastPoint(std::int32_t slot) const { return arena_[SlotNode(slot)].station; }
    std::int32_t SlotNode(std::int32_t slot) const {
        return slots_[static_cast<std::size_t>(slot)];
    }

    // Moves the end of the path in `node` onto `point`, reached through graph link `link`. The
    // same rule as SearchGraph::Reach, spelled out: this is the enumeration's innermost step.
    void Advance(PathNode& node, std::int32_t point, std::size_t link) const {
        AdvancePath(graph_, node, point, link);
    }

    // A new node: the path ending in `parent` (kNone: the empty path), whose last node is
    // `before`, followed by `point`.
    PathNode Step(std::int32_t parent, const PathNode& before, std::int32_t point,
                  std::size_t link) const {
        PathNode node = before;
        node.parent = parent;
        node.first = point;
        Advance(node, point, link);
        return node;
    }

    // A new slot for the path ending in `node`: kept in order among arrivals or among the paths
    // still to be extended.
    void AddSlot(std::int32_t node, std::int32_t lastPoint) {
        const auto slot = static_cast<std::int32_t>(slots_.size());
        slots_.push_back(node);
        if (lastPoint == destination_) {
            AddArrival(slot);
        } else {
            pending_.push_back(slot);
            if (best_) {
                AddHopeful(slot);
            }
        }
    }

    void AddArrival(std::int32_t slot) {
        firstArrivals_.insert(std::upper_bound(firstArrivals_.begin(), firstArrivals_.end(), slot),
                              slot);
        if (firstArrivals_.size() > kArrivalsPerPass + 1) {
            firstArrivals_.pop_back();
        }
        if (best_ && Primary(arena_[SlotNode(slot)]) == bestPrimary_ &&
            (bestArrival_ == kNone || slot < bestArrival_)) {
            SetBestArrival(slot);
        }
    }

    void SetBestArrival(std::int32_t slot) {
        bestArrival_ = slot;
        const PathNode& end = arena_[SlotNode(slot)];
        bestArrivalScoresBest_ = end.transfers == best_->transfers && end.minutes == best_->minutes;
        bestArrivalIsExact_ = bestArrivalScoresBest_ && PathOf(slot) == exactRoute_;
        exactArrived_ = exactArrived_ || bestArrivalIsExact_;
    }

    std::int64_t Primary(const PathNode& node) const {
        return algorithm_ == 0 ? node.transfers : node.minutes;
    }

    // Notes a slot still to be extended whose path may arrive with the best primary score, and
    // whether it may arrive with the best score.
    void AddHopeful(std::int32_t slot) {
        const PathNode& node = arena_[SlotNode(slot)];
        const RemainingBounds& bounds = *settling_.bounds;
        if (TakesNoStep(node) || !bounds.Reaches(node.station)) {
            return;
        }
        const std::int64_t transfers =
            std::int64_t{node.transfers} + bounds.Transfers(node.station);
        const std::int64_t minutes = node.minutes + bounds.Minutes(node.station);
        if (transfers > std::int64_t{maxTransfers_} + 1 ||
            (algorithm_ == 0 ? transfers : minutes) > bestPrimary_) {
            return;
        }
        mayScoreBestPrimary_.Add(slot);
        if (transfers <= best_->transfers && minutes <= best_->minutes) {
            mayScoreBest_.Add(slot);
        }
    }

    // Asks for the best score once the enumeration runs long or is cut short, then tells whether
    // its choice is settled, setting ending_.
    bool Settles() {
        if (!asked_ && settling_.askBest && (cutShort_ || slots_.size() >= settleAfter_)) {
            AskBest();
        }
        // An enumeration that is not cut short makes the exact search's route, unless that route
        // passes a point whose first admissible neighbour is the destination (a path there ends
        // at the destination); once no path left can become it, the enumeration will be cut.
        const bool cut =
            cutShort_ || (best_ && exactMade_ && exactPrefix_ == kNone && !exactArrived_);
        // Not cut short, the choice has the best primary score: by transfers always (ending at
        // the destination as soon as it is a neighbour adds no transfer that going on would
        // not), by minutes where the exact search's route is made.
        const bool choiceBestIfWhole = algorithm_ == 0 || exactMade_;
        if (noRoute_ ||
            (best_ && ((onlyBestPrimary_ && choiceBestIfWhole) || (onlyBestScore_ && cut)))) {
            ending_ = Ending::BestRouteWins;
            return true;
        }
        if (!best_) {
            return false;
        }
        // Cut short, the choice gives way to the exact search's route unless it scores the best,
        // so only paths that may score the best can still change the outcome.
        const std::int32_t bestBelow = bestArrival_ == kNone ? kNoSlot : bestArrival_;
        if (cut && mayScoreBest_.Lowest() >= bestBelow &&
            (bestArrival_ == kNone || !bestArrivalScoresBest_ || bestArrivalIsExact_)) {
            ending_ = Ending::BestRouteWins;
            return true;
        }
        if (mayScoreBestPrimary_.Lowest() >= bestBelow) {
            // Nothing below can be chosen any more: the choice is the best arrival, if any.
            if (bestArrival_ != kNone && bestArrivalScoresBest_) {
                ending_ = Ending::ChoiceStands;
                return true;
            }
            if ((bestArrival_ == kNone && choiceBestIfWhole) || cut) {
                ending_ = Ending::BestRouteWins;
                return true;
            }
        }
        return false;
    }

    void AskBest() {
        asked_ = true;
        const KnownBest known = settling_.askBest();
        if (!known.known) {
            return;
        }
        if (!known.score) {
            noRoute_ = true;
            return;
        }
        best_ = known.score;
        bestPrimary_ = algorithm_ == 0 ? best_->transfers : best_->minutes;
        settling_.bounds->AddMinutes(graph_);
        exactRoute_ = *known.points;
        exactMade_ = MadeWhenWhole(graph_, onPath_.size(), destination_, exactRoute_);
        const Rivals rivals = FindRivals(graph_, *settling_.bounds, onPath_.size(), algorithm_,
                                         bestPrimary_, *best_, exactRoute_);
        onlyBestPrimary_ = rivals.onlyBestPrimary;
        onlyBestScore_ = rivals.onlyBestScore;
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            const std::int32_t end = slots_[slot];
            if (end == kNone || arena_[end].station != destination_) {
                continue;
            }
            if (bestArrival_ == kNone && Primary(arena_[end]) == bestPrimary_) {
                SetBestArrival(static_cast<std::int32_t>(slot));
            }
            exactArrived_ = exactArrived_ || StartsRoute(arena_, end, exactRoute_);
        }
        for (std::size_t at = pendingHead_; at < pending_.size(); ++at) {
            AddHopeful(pending_[at]);
            if (StartsRoute(arena_, SlotNode(pending_[at]), exactRoute_)) {
                NoteExactRoute(pending_[at], kNone);
            }
        }
    }

    void Pass() {
        changed_ = false;
        cutShort_ = cutShort_ || firstArrivals_.size() > kArrivalsPerPass;
        if (Settles()) {
            return;
        }
        const std::int32_t stopAt = firstArrivals_.size() > kArrivalsPerPass
                                        ? firstArrivals_[kArrivalsPerPass]
                                        : std::numeric_limits<std::int32_t>::max();
        const std::size_t passEnd = pending_.size();
        while (pendingHead_ < passEnd && pending_[pendingHead_] < stopAt) {
            const std::int32_t slot = pending_[pendingHead_++];
            // A path that can take no step is in no queue and changes nothing that settles the
            // outcome: it is only let go.
            if (TakesNoStep(arena_[SlotNode(slot)])) {
                arena_.Release(SlotNode(slot));
                slots_[static_cast<std::size_t>(slot)] = kNone;
                continue;
            }
            mayScoreBestPrimary_.Leave(slot);
            mayScoreBest_.Leave(slot);
            Extend(slot);
            if (LastPoint(slot) == destination_) {
                AddArrival(slot);
            } else {
                // The freed nodes leave the count of the marked path on the way.
                marked_ = arena_.Release(SlotNode(slot),
                                         [this](const PathNode& node) { CountOnPath(node, -1); });
                slots_[static_cast<std::size_t>(slot)] = kNone;
            }
            if (Settles()) {
                return;
            }
        }
        if (pendingHead_ * 2 > pending_.size()) {
            pending_.erase(pending_.begin(),
                           pending_.begin() + static_cast<std::ptrdiff_t>(pendingHead_));
            pendingHead_ = 0;
        }
    }

    // A path too long or past the transfer limit takes no step, whatever its neighbours.
    bool TakesNoStep(const PathNode& node) const {
        return node.length >= maxLength_ - 1 || node.transfers > maxTransfers_;
    }

    // Grows the path in `slot` sweep by sweep until a sweep takes no step or the path arrives.
    // The path's last node is worked on here and written back whenever a node is made.
    void Extend(std::int32_t slot) {
        std::int32_t leaf = SlotNode(slot);
        PathNode node = arena_[leaf];
        MarkPath(leaf);
        if (slot == exactPrefix_) {
            ExtendAlongExactRoute(leaf, node);
        } else {
            Sweep(leaf, node);
        }
        arena_.Replace(leaf, node);
        slots_[static_cast<std::size_t>(slot)] = leaf;
        marked_ = leaf;
    }

    // Extends the path that runs along the exact search's route, following where the route goes:
    // on with the path itself, or in the copy that takes the route's next point, or nowhere.
    void ExtendAlongExactRoute(std::int32_t& leaf, PathNode& node) {
        exactPrefix_ = kNone;
        bool along = true;
        bool more = true;
        while (more) {
            const auto next = static_cast<std::size_t>(node.length);
            exactNext_ = along && next < exactRoute_.size() ? exactRoute_[next] : kNone;
            more = Sweep(leaf, node);
            along = along && node.length == static_cast<std::int32_t>(next) + 1 &&
                    node.station == exactNext_;
        }
        if (along) {
            exactArrived_ = exactArrived_ || node.station == destination_;
        }
        exactNext_ = kNone;
    }

    // A new slot whose path starts the exact search's route, or is it.
    void NoteExactRoute(std::int32_t slot, std::int32_t lastPoint) {
        if (lastPoint == destination_) {
            exactArrived_ = true;
        } else {
            exactPrefix_ = slot;
        }
    }

    // Counts the points of the path ending in `leaf` in onPath_. Consecutive slots mostly share
    // long prefixes, so only the points below the common part of the old and new path change.
    // Nodes of the old path may have been freed since it was marked (a path that takes no step
    // let go); they are then on the free list but unchanged, because no node is made between
    // the end of one extension and this.
    void MarkPath(std::int32_t leaf) {
        std::int32_t old = marked_;
        std::int32_t now = leaf;
        std::int32_t oldLength = old == kNone ? 0 : arena_[old].length;
        std::int32_t nowLength = now == kNone ? 0 : arena_[now].length;
        while (old != now) {
            if (oldLength >= nowLength) {
                oldLength -= CountOnPath(arena_[old], -1);
                old = arena_[old].parent;
            } else {
                nowLength -= CountOnPath(arena_[now], +1);
                now = arena_[now].parent;
            }
        }
        marked_ = leaf;
    }

    // Adds `change` to the count of each point of the node; returns how many points it holds.
    std::int32_t CountOnPath(const PathNode& node, std::int8_t change) {
        const std::int32_t step = node.station >= node.first ? 1 : -1;
        for (std::int32_t point = node.first;; point += step) {
            onPath_[static_cast<std::size_t>(point)] =
                static_cast<std::uint8_t>(onPath_[static_cast<std::size_t>(point)] + change);
            if (point == node.station) {
                return (node.station - node.first) * step + 1;
            }
        }
    }

    // Whether `next` continues the node's run: the next point of the same line in the run's
    // direction.
    bool ContinuesRun(const PathNode& node, std::int32_t next) const {
        if (!graph_.OnOneLine(node.station, next)) {
            return false;
        }
        if (node.first == node.station) {
            return next == node.station + 1 || next == node.station - 1;
        }
        return next - node.station == (node.station > node.first ? 1 : -1);
    }

    // Sweeps the path whose last node is `node`, stored at `leaf`; both follow the path as it
    // takes steps. While it is followed along the exact search's route, one sweep at a time: true
    // when that sweep took a step and the path may go on. Otherwise until a sweep takes no step
    // or the path arrives: false.
    bool Sweep(std::int32_t& leaf, PathNode& node) {
        for (;;) {
            if (node.length >= maxLength_ - 1) {
                return false;
            }
            const std::size_t end = graph_.EndLink(node.station);
            std::size_t firstTaken = end;
            std::int32_t admissible = 0;
            for (std::size_t link = graph_.FirstLink(node.station); link < end; ++link) {
                if (onPath_[static_cast<std::size_t>(graph_.Link(link))] == 0 &&
                    admissible++ == 0) {
                    firstTaken = link;
                }
            }
            // The limit is tested on the path before the step.
            if (admissible == 0 || node.transfers > maxTransfers_) {
                return false;
            }
            changed_ = true;
            const std::int32_t candidate = graph_.Link(firstTaken);
            ++onPath_[static_cast<std::size_t>(candidate)];

            // The first candidate continues the path itself: within its last node when nothing
            // else refers to that node and no copy will need it as it is now.
            if (admissible == 1 && node.refs == 1 && ContinuesRun(node, candidate)) {
                Advance(node, candidate, firstTaken);
            } else if (!StepAndCopy(leaf, node, candidate, firstTaken, end)) {
                return false;
            }
            if (node.station == destination_) {
                return false;
            }
            if (exactNext_ != kNone) {
                return true;
            }
        }
    }

    // The path takes its first candidate, through `firstTaken`, in a node of its own, and each
    // further admissible neighbour up to `end` starts a copy of the path as it was. False when
    // the table is full.
    bool StepAndCopy(std::int32_t& leaf, PathNode& node, std::int32_t candidate,
                     std::size_t firstTaken, std::size_t end) {
        arena_.Replace(leaf, node);
        const std::int32_t start = leaf;
        const PathNode before = node;
        node = Step(start, before, candidate, firstTaken);
        leaf = arena_.Extend(node);
        node.refs = 1;
        if (candidate == destination_) {
            return true;
        }
        for (std::size_t link = firstTaken + 1; link < end; ++link) {
            const std::int32_t further = graph_.Link(link);
            if (onPath_[static_cast<std::size_t>(further)] != 0) {
                continue;
            }
            if (static_cast<std::int64_t>(slots_.size()) >= slotLimit_ || !StoreHasRoom()) {
                changed_ = false;
                cutShort_ = true;
                return false;
            }
            const PathNode copy = Step(start, before, further, link);
            if (further != destination_ && TakesNoStep(copy)) {
                // It would only be let go on its turn: it keeps its slot and holds no path.
                slots_.push_back(kNone);
            } else {
                AddSlot(arena_.Branch(copy), further);
            }
            if (further == exactNext_) {
                NoteExactRoute(static_cast<std::int32_t>(slots_.size() - 1), further);
            }
        }
        return true;
    }

    // Whether one more copy keeps the path store within its budget; worked out only when some
    // part of the store is about to grow.
    bool StoreHasRoom() const {
        if (!arena_.IsFull() && !IsFull(slots_) && !IsFull(pending_)) {
            return true;
        }
        return arena_.BytesAfterOneMore() + BytesAfterPush(slots_) + BytesAfterPush(pending_) <=
               kPathStoreBudget;
    }

    // The slot of the best path that reached the destination, lowest slot among equals; -1 if none.
    std::int32_t Choose() const {
        if (algorithm_ != 0 && algorithm_ != 1) {
            return kNone;
        }
        std::int64_t best = algorithm_ == 0
                                ? kSlotsPerPoint * static_cast<std::int64_t>(onPath_.size())
                                : kRouteMinutesLimit;
        std::int32_t chosen = kNone;
        for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
            if (slots_[slot] == kNone) {
                continue;
            }
            const PathNode& path = arena_[slots_[slot]];
            const std::int64_t score = algorithm_ == 0 ? path.transfers : path.minutes;
            if (path.station == destination_ && score < best) {
                best = score;
                chosen = static_cast<std::int32_t>(slot);
            }
        }
        return chosen;
    }

    std::vector<std::int32_t> PathOf(std::int32_t slot) const {
        std::vector<std::int32_t> path;
        if (slot == kNone) {
            return path;
        }
        for (std::int32_t id = SlotNode(slot); id != kNone; id = arena_[id].parent) {
            const PathNode& node = arena_[id];
            const std::int32_t step = node.station >= node.first ? 1 : -1;
            for (std::int32_t point = node.station;; point -= step) {
                path.push_back(point);
                if (point == node.first) {
                    break;
                }
            }
        }
        std::reverse(path.begin(), path.end());
        return path;
    }

    // Held by value: the hot loops read it beside the path store, one load nearer.
    const SearchGraph graph_;
    const std::int32_t destination_;
    const std::int32_t algorithm_;
    const std::int32_t maxTransfers_;
    const std::int64_t maxLength_;
    const std::int64_t slotLimit_;
    const std::size_t settleAfter_;
    PathArena arena_;
    std::vector<std::int32_t> slots_;    // the last node of each slot's path, kNone once emptied
    std::vector<std::int32_t> pending_;  // slots still to be extended, in order, from pendingHead_
    std::size_t pendingHead_ = 0;
    std::vector<std::int32_t> firstArrivals_;  // the lowest slots that end at the destination
    std::vector<std::uint8_t> onPath_;  // how often each point occurs on the marked path: 0 or 1
    std::int32_t marked_ = kNone;       // the last node of the marked path
    bool changed_ = false;
    bool cutShort_ = false;

    Settling settling_;
    bool asked_ = false;
    bool noRoute_ = false;
    std::optional<RouteScore> best_;
    std::int64_t bestPrimary_ = 0;
    bool onlyBestPrimary_ = false;  // no path but the exact search's scores the best primary score
    bool onlyBestScore_ = false;    // no path but the exact search's scores the best score
    std::vector<std::int32_t> exactRoute_;
    std::int32_t bestArrival_ = kNone;  // the lowest arrival of the best primary score
    bool bestArrivalScoresBest_ = false;
    bool bestArrivalIsExact_ = false;  // it is the exact search's route
    bool exactMade_ = false;     // an enumeration not cut short makes the exact search's route
    bool exactArrived_ = false;  // some arrival is the exact search's route
    std::int32_t exactPrefix_ = kNone;  // the slot to extend whose path starts that route
    std::int32_t exactNext_ = kNone;    // while it is extended, the route's next point
    SlotQueue mayScoreBestPrimary_;     // slots still to be extended that may arrive so
    SlotQueue mayScoreBest_;            // and those that may arrive with the best score
    Ending ending_ = Ending::Exhausted;
};

}  // namespace

std::int64_t MaxPathLength(const NetworkModel& model) {
    const std::int64_t points = model.StationCount();
    const std::int64_t transfers = model.TransferCount();
    // Without transfers the bound would be 0 and no route along a line could be found.
    if (transfers == 0) {
        return points + 1;
    }
    return transfers < 10 ? points * transfers : (2 * points) / 3;
}

EnumeratedRoute EnumerateRoute(const NetworkModel& model, std::int32_t departure,
                               std::int32_t destination) {
    const std::int32_t count = model.StationCount();
    if (departure < 0 || departure >= count || destination < 0 || destination >= count) {
        return {};
    }
    return RouteSearch(model, departure, destination).Run({});
}

std::unique_ptr<PathEnumeration> MakePathEnumeration(const NetworkModel& model,
                                                     std::int32_t departure,
                                                     std::int32_t destination,
                                                     std::size_t settleAfterPaths) {
    return std::make_unique<RouteSearch>(model, departure, destination, settleAfterPaths);
}

}  // namespace qv
