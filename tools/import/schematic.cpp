#include "schematic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <set>
#include <tuple>

#include "schematic_board.h"
#include "schematic_cost.h"
#include "schematic_course.h"
#include "schematic_drawing.h"
#include "schematic_grid.h"
#include "schematic_improve.h"
#include "schematic_ports.h"
#include "schematic_runs.h"
#include "schematic_search.h"
#include "schematic_slides.h"

namespace qv::import {

namespace {

using schematic::CountLinkSteps;
using schematic::DistanceFromCourse;
using schematic::DrawSchematic;
using schematic::InCyclicOrder;
using schematic::kSteps;
using schematic::ReservePorts;
using schematic::Run;
using schematic::SpreadAlong;

constexpr std::array<int, 3> kSearchRadii = {3, 6, 12};
constexpr int kRoutingRounds = 4;
constexpr int kImprovingRounds = 8;
// Rounds of moving junctions over lines, at most: a move can make room for another.
constexpr int kJumpRounds = 4;
// Mending moves are judged by the drawing, and each draws the whole layout: rounds, drawings in
// all, and drawings per junction and round, at most. A move is drawn only where the grid's cost
// rises by no more than a wrong crossing's worth.
constexpr int kMendingRounds = 3;
constexpr int kMostMendingDraws = 24;
constexpr int kMendingTries = 2;
constexpr std::int64_t kMendingAllowance = 600;
constexpr int kNearby = 2;  // grid units round the runs a move changed
// Straightening moves: turns of moving pairs and then single junctions, rounds of single moves
// a turn, drawings in all, and how far a junction may go from its spot (median links; or as far
// as it was).
constexpr int kStraighteningTurns = 4;
constexpr int kStraighteningRounds = 4;
constexpr int kMostStraighteningDraws = 40;
constexpr double kStraighteningReach = 2.0;
// Held to ports in order, runs are pulled towards their courses as before, then, where that
// finds no order, 4 times as hard (the way round a twist may lie far from the cheapest); they
// pay for wrapping round a station.
constexpr std::array<int, 2> kHeldPulls = {1, 4};
constexpr int kHeldWrapCost = 400;
// How a run may leave or enter a junction, from the strictest.
constexpr int kKeptOrder = 0;
constexpr int kAnyPort = 1;
// A run routed again crossing a link that none of its own links is to cross, or before the
// stations ahead of its link that is to.
constexpr int kUnplannedCrossingCost = 200;
// Orders tried round wrong crossings in one round of moves, at most: London's crowded centre
// would take seconds more.
constexpr std::size_t kUntangleTrials = 300;
// States the route searches of one layout may take (their walks not counted in) before no
// further round of moves starts: in some orders of the runs London's rounds would take twice as
// long as in the default order, and a count, unlike a clock, gives the same layout on every
// machine.
constexpr std::int64_t kSearchBudget = 15'180'000;

// A drawing's faults in all, and how many of them are links on another's track.
struct FaultCount {
    std::size_t all = 0;
    std::size_t sharedTrack = 0;
};

// Per pair of lines, the links that cross wrongly; the sharp turns; each link passing a
// station it does not serve; and the links on another's track.
FaultCount DrawnFaults(const SchematicRequest& request, const SchematicLayout& layout) {
    const std::size_t shared = schematic::LinksOnSharedTrack(layout).size();
    return {schematic::LinksCrossedWrongly(request, layout).size() / 2 +
                schematic::SharpTurns(layout) + schematic::StationsPassed(request, layout).size() +
                shared,
            shared};
}

// Whether a path on the grid takes any edge twice.
bool RunsOverItself(const std::vector<GridPoint>& path) {
    std::set<std::pair<std::pair<int, int>, std::pair<int, int>>> taken;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const std::pair from{path[i].x, path[i].y};
        const std::pair to{path[i + 1].x, path[i + 1].y};
        if (!taken.insert(from < to ? std::pair{from, to} : std::pair{to, from}).second) {
            return true;
        }
    }
    return false;
}

// Each run's distance from its course at every node, by pull: every layout of one request finds
// the same runs, and each routing of each layout asks for them.
class CourseDistances {
  public:
    template <typename Make>
    const std::vector<int>& Of(std::size_t run, int pull, Make make) {
        const auto [found, added] = byRun_.try_emplace({run, pull});
        if (added) {
            found->second = make();
        }
        return found->second;
    }

  private:
    std::map<std::pair<std::size_t, int>, std::vector<int>> byRun_;
};

// What sets one layout of a network apart from another.
struct LayoutSettings {
    // Per grid unit a step lies off its run's course, once the runs are routed.
    int improvingPull = schematic::kAwayCost;
    // Each link takes a grid step more per crossing it is to keep, so that the crossing finds a
    // node between the link's stations.
    bool roomForKeptCrossings = false;
};

// What a drawing was drawn from, to draw it once more as the map's own.
struct Sketch {
    std::vector<struct Run> runs;
    std::vector<int> nodeOf;
    int width = 0;
    int unrouted = 0;
};

class Router {
  public:
    // Routes the runs in `order` (run numbers), or, where it is empty, those with more line
    // records first, then those between busier junctions, then the longer ones.
    // `searched` counts the states an earlier layout of the same network took: the budget is
    // shared.
    Router(const SchematicRequest& request, CourseDistances& distances,
           const std::vector<std::size_t>& order, std::int64_t searched,
           const LayoutSettings& settings)
        : request_(request),
          distances_(distances),
          order_(order),
          searched_(searched),
          settings_(settings) {
        board_ = schematic::MakeBoard(
            static_cast<int>((request.box.right - request.box.left) / request.grid) + 1,
            static_cast<int>((request.box.bottom - request.box.top) / request.grid) + 1,
            request.places.size());
    }

    void Run() {
        network_ = schematic::FindRuns(request_);
        ReservePorts(runs_, [this](int from, int to) { return Heading(from, to); });
        CountLinkSteps(runs_, request_.places, request_.roomForCrossings);
        NoteCrossings();
        if (settings_.roomForKeptCrossings) {
            MakeRoomForKeptCrossings();
        }
        if (order_.size() != runs_.size()) {
            order_ = DefaultOrder();
        }
        for (const std::size_t index : order_) {
            if (Route(runs_[index]) != kKeptOrder) {
                failed_.push_back(index);
            }
        }
    }

    SchematicLayout Draw() const {
        return DrawSchematic(request_, runs_, board_.nodeOf, board_.width, unrouted_);
    }

    Sketch Sketched() const { return {runs_, board_.nodeOf, board_.width, unrouted_}; }

    // Moves one junction at a time to a neighbouring node, routing its runs again, and keeps
    // the move where the layout's cost drops; rounds of that until no move helps.
    void Improve() {
        std::vector<PlanePoint> spots;
        for (std::size_t place = 0; place < request_.places.size(); ++place) {
            const auto [x, y] = Ideal(static_cast<int>(place));
            spots.push_back({x, y});
        }
        pull_ = settings_.improvingPull;
        std::vector<std::vector<int>> away;
        for (const struct Run& run : runs_) {
            away.push_back(Away(run));
        }
        model_ = schematic::MakeCostModel(spots, crossings_, turns_, std::move(away));
        current_ = schematic::LayoutCost(board_, network_, model_);
        for (const std::size_t index : order_) {
            runsAt_[runs_[index].places.front()].push_back(index);
            runsAt_[runs_[index].places.back()].push_back(index);
        }
        // After the first round, only junctions near a move are tried again.
        std::set<int> tried;
        for (const auto& entry : runsAt_) {
            tried.insert(entry.first);
        }
        for (int round = 0; round < kImprovingRounds; ++round) {
            std::set<int> again;
            for (const auto& [place, incident] : runsAt_) {
                if (!tried.contains(place)) {
                    continue;
                }
                schematic::Box box = schematic::Around(runs_, incident);
                if (!Move(place, incident)) {
                    continue;
                }
                box = schematic::Around(runs_, incident, box);
                ++changes_;
                for (const auto& entry : runsAt_) {
                    const GridPoint p = At(board_.nodeOf[static_cast<std::size_t>(entry.first)]);
                    if (p.x >= box.left - kNearby && p.x <= box.right + kNearby &&
                        p.y >= box.top - kNearby && p.y <= box.bottom + kNearby) {
                        again.insert(entry.first);
                    }
                }
            }
            const bool slid = schematic::SlideStations(board_, network_, model_, current_);
            if (slid) {
                ++changes_;
            }
            const bool untangled = Untangle();
            if ((again.empty() && !slid && !untangled) || !WithinBudget()) {
                break;
            }
            tried = std::move(again);
        }
        CountUnrouted();
    }

    // Moves each junction at an end of the runs of links that cross wrongly on the grid two
    // nodes, over a line, where that lowers the layout's cost (failing that, with the line it
    // passes drawn again); then slides the stations and untangles again. Whether any junction
    // moved.
    bool Jump() {
        std::set<int> suspects;
        for (const auto& [one, other] : schematic::ChangedCrossings(board_, network_, model_)) {
            suspects.merge(JunctionsOf(one, other));
        }
        bool moved = false;
        for (const int place : suspects) {
            const int home = board_.nodeOf[static_cast<std::size_t>(place)];
            if (home < 0) {
                continue;
            }
            const std::vector<int> targets = Over(home);
            if (MoveTo(place, runsAt_.at(place), targets) ||
                MoveTo(place, runsAt_.at(place), targets, true)) {
                moved = true;
                ++changes_;
            }
        }
        if (moved) {
            if (schematic::SlideStations(board_, network_, model_, current_)) {
                ++changes_;
            }
            Untangle();
            CountUnrouted();
        }
        return moved;
    }

    // At each junction whose runs leave out of order on the grid, its runs routed again, the
    // junction where it is, each held to the port that keeps their order with the lines through
    // it bending least, in several orders. Of the orders that lower the layout's cost and leave
    // no kind of fault more, on the grid or drawn, the one whose drawing has the fewest faults
    // (then the cheapest) is kept where that drawing has fewer than `fewest`, the faults of
    // `kept`, drawn from `sketch`. The ports the routing kept for the runs weigh the turning only:
    // a run taking one there may leave the later ones no port in order.
    void RestoreOrders(SchematicLayout& kept, Sketch& sketch, std::size_t& fewest) {
        for (const auto& [place, incident] : runsAt_) {
            const int node = board_.nodeOf[static_cast<std::size_t>(place)];
            const auto found = board_.portHeading.find(node);
            if (found == board_.portHeading.end() || InCyclicOrder(found->second) ||
                !HoldInOrder(place, incident)) {
                continue;
            }
            const std::vector<std::vector<std::size_t>> orders = RoutingOrders(incident);
            const Saved saved = Save(incident);
            // No fault is traded for another: a line passing a station for a crossing kept.
            const std::array<std::size_t, 3> gridKinds = GridFaults();
            const std::array<std::size_t, 4> keptKinds = FaultsByKind(kept);
            std::optional<std::size_t> best;
            std::pair<std::size_t, std::int64_t> least = {fewest, current_};
            const int pull = pull_;
            const auto tryOrder = [&](int heldPull, std::size_t o) {
                pull_ = pull * heldPull;
                const std::int64_t cost = TryOrder(orders[o], {});
                pull_ = pull;
                return cost;
            };
            // The harder pull only where the usual one finds no order.
            int heldPull = 0;
            for (std::size_t p = 0; p < kHeldPulls.size() && least.first == fewest; ++p) {
                heldPull = kHeldPulls[p];
                for (std::size_t o = 0; o < orders.size(); ++o) {
                    const std::int64_t cost = tryOrder(heldPull, o);
                    CountUnrouted();
                    if (cost < current_ &&
                        std::ranges::equal(GridFaults(), gridKinds, std::less_equal{})) {
                        const SchematicLayout drawn = Draw();
                        const std::pair faults{Faults(drawn).all, cost};
                        if (std::ranges::equal(FaultsByKind(drawn), keptKinds, std::less_equal{}) &&
                            faults < least) {
                            least = faults;
                            best = o;
                        }
                    }
                    PutBack(incident, {}, {}, saved);
                    CountUnrouted();
                }
            }
            if (best && least.first < fewest) {
                current_ = tryOrder(heldPull, *best);
                CountUnrouted();
                kept = Draw();
                sketch = Sketched();
                fewest = least.first;
                ++changes_;
            }
            heldAt_ = -1;
            held_.clear();
        }
    }

    // Holds each run at the junction to the port that keeps their order with the lines through
    // it bending least; whether the runs have such ports (at most eight).
    bool HoldInOrder(int place, const std::vector<std::size_t>& incident) {
        std::vector<double> headings;
        std::vector<std::vector<int>> lines;
        for (const std::size_t index : incident) {
            const struct Run& run = runs_[index];
            headings.push_back(EndHeading(run, run.places.front() == place ? 0 : 1));
            lines.push_back(run.chains);
        }
        const std::vector<int> ports = schematic::PortsInOrderForLines(headings, lines, turns_);
        if (ports.empty()) {
            return false;
        }
        heldAt_ = board_.nodeOf[static_cast<std::size_t>(place)];
        for (std::size_t k = 0; k < incident.size(); ++k) {
            held_[incident[k]] = ports[k];
        }
        return true;
    }

    // What the drawing gets wrong: links crossing wrongly, sharp turns, stations passed,
    // junctions out of order and runs drawn straight.
    FaultCount Faults(const SchematicLayout& drawn) const {
        FaultCount faults = DrawnFaults(request_, drawn);
        faults.all += OutOfOrder() + static_cast<std::size_t>(drawn.unrouted);
        return faults;
    }

    // The junctions at the ends of the run holding `place`, or the place itself where it is one.
    std::set<int> JunctionsAround(int place) const {
        if (runsAt_.contains(place)) {
            return {place};
        }
        for (const struct Run& run : runs_) {
            if (std::find(run.places.begin(), run.places.end(), place) != run.places.end()) {
                return {run.places.front(), run.places.back()};
            }
        }
        return {};
    }

    // Each junction of the runs of a link passing a station it does not serve, of that
    // station's run, of a link on another's track, and of a run drawn straight, tried on its
    // neighbouring nodes and those two steps away over a line: a move is kept where the drawing
    // (not the grid) then has fewer faults. Whether any junction moved.
    bool Mend(SchematicLayout& kept, Sketch& sketch, std::size_t& fewest) {
        std::set<int> suspects;
        const auto note = [&](const PlaceChain& line, std::size_t index) {
            suspects.merge(JunctionsAround(line.places[index % line.places.size()]));
        };
        for (const schematic::Passing& passing : schematic::StationsPassed(request_, kept)) {
            const PlaceChain& line = request_.chains[static_cast<std::size_t>(passing.link.first)];
            note(line, static_cast<std::size_t>(passing.link.second));
            note(line, static_cast<std::size_t>(passing.link.second) + 1);
            note(request_.chains[static_cast<std::size_t>(passing.station.first)],
                 static_cast<std::size_t>(passing.station.second));
        }
        const std::vector<std::pair<int, int>> onSharedTrack = schematic::LinksOnSharedTrack(kept);
        for (const auto& [chain, link] : onSharedTrack) {
            const PlaceChain& line = request_.chains[static_cast<std::size_t>(chain)];
            note(line, static_cast<std::size_t>(link));
            note(line, static_cast<std::size_t>(link) + 1);
        }
        for (const struct Run& run : runs_) {
            if (run.path.empty()) {
                suspects.insert(run.places.front());
                suspects.insert(run.places.back());
            }
        }
        // No move may add links on another's track, even for fewer faults in all: two lines on
        // one track cannot be told apart.
        std::size_t shared = onSharedTrack.size();
        bool moved = false;
        for (const int place : suspects) {
            const int home = board_.nodeOf[static_cast<std::size_t>(place)];
            if (home < 0 || draws_ >= kMostMendingDraws) {
                continue;
            }
            int tries = 0;
            const auto better = [&](std::int64_t cost) {
                if (cost > current_ + kMendingAllowance || draws_ >= kMostMendingDraws ||
                    tries >= kMendingTries) {
                    return false;
                }
                ++draws_;
                ++tries;
                CountUnrouted();
                SchematicLayout drawn = Draw();
                const FaultCount faults = Faults(drawn);
                if (faults.all >= fewest || faults.sharedTrack > shared) {
                    return false;
                }
                kept = std::move(drawn);
                sketch = Sketched();
                fewest = faults.all;
                shared = faults.sharedTrack;
                return true;
            };
            std::vector<int> targets = Neighbours(home);
            const std::vector<int> over = Over(home);
            targets.insert(targets.end(), over.begin(), over.end());
            moved = MoveTo(place, runsAt_.at(place), targets, false, better) || moved;
        }
        CountUnrouted();
        return moved;
    }

    // The runs two edges lie on.
    std::set<std::size_t> RunsOf(int one, int other) const {
        std::set<std::size_t> runs;
        for (const int edge : {one, other}) {
            if (const int run = runOfEdge_[static_cast<std::size_t>(edge)]; run >= 0) {
                runs.insert(static_cast<std::size_t>(run));
            }
        }
        return runs;
    }

    // The ends of the runs two edges lie on.
    std::set<int> JunctionsOf(int one, int other) const {
        std::set<int> junctions;
        for (const std::size_t run : RunsOf(one, other)) {
            junctions.insert(runs_[run].places.front());
            junctions.insert(runs_[run].places.back());
        }
        return junctions;
    }

    // Moves junctions where the lines bend less, the rest as it was. In turn, while a turn
    // helps: the two ends of each bent run a step together (a run bent between its ends often
    // straightens only so), then each junction to the nodes up to two steps away; a junction
    // stays within kStraighteningReach of its spot (or as far as it was), its runs routed
    // again. The first move is kept whose grid bends less with no more wrong crossings,
    // junctions out of order or runs without a way, and whose drawing bends less with no more
    // faults of any kind, no two places' stations nearer than the request's nearest (or than
    // they were, where nearer) and no line brought to one point twice where none was. The moves
    // before weigh bends against the places' distance from their spots; these take the room the
    // figures that must hold leave. Whether any junction moved.
    bool Straighten(SchematicLayout& kept, Sketch& sketch) {
        const std::int64_t nearest =
            std::min(schematic::NearestApartSquared(request_, kept), request_.nearestApartSquared);
        std::array<std::size_t, 4> keptFaults = FaultsByKind(kept);
        std::size_t keptBends = schematic::Bends(kept);
        const bool repeats = schematic::RepeatsAPoint(kept);
        std::int64_t gridBends = GridBends();
        std::array<std::size_t, 3> gridFaults = GridFaults();
        int draws = 0;
        const auto better = [&](std::int64_t) {
            const std::int64_t bends = GridBends();
            if (bends >= gridBends || draws >= kMostStraighteningDraws) {
                return false;
            }
            const std::array<std::size_t, 3> faults = GridFaults();
            if (!std::ranges::equal(faults, gridFaults, std::less_equal{})) {
                return false;
            }
            ++draws;
            CountUnrouted();
            SchematicLayout drawn = Draw();
            const std::array<std::size_t, 4> drawnFaults = FaultsByKind(drawn);
            const std::size_t drawnBends = schematic::Bends(drawn);
            if (!std::ranges::equal(drawnFaults, keptFaults, std::less_equal{}) ||
                (!repeats && schematic::RepeatsAPoint(drawn)) || drawnBends >= keptBends ||
                schematic::NearestApartSquared(request_, drawn) < nearest) {
                return false;
            }
            gridBends = bends;
            gridFaults = faults;
            keptFaults = drawnFaults;
            keptBends = drawnBends;
            kept = std::move(drawn);
            sketch = Sketched();
            return true;
        };
        const double reach = kStraighteningReach * MedianLink();
        // After the first turn, single junctions only where a run at them changed.
        std::set<int> tried;
        for (const auto& entry : runsAt_) {
            tried.insert(entry.first);
        }
        const auto retry = [&](int place, std::set<int>& again) {
            for (const std::size_t index : runsAt_.at(place)) {
                again.insert(runs_[index].places.front());
                again.insert(runs_[index].places.back());
            }
        };
        bool moved = false;
        for (int turn = 0; turn < kStraighteningTurns && draws < kMostStraighteningDraws; ++turn) {
            const std::size_t bendsBefore = keptBends;
            for (std::size_t index = 0; index < runs_.size(); ++index) {
                const struct Run& run = runs_[index];
                const int one = run.places.front();
                const int other = run.places.back();
                if (draws < kMostStraighteningDraws && one != other && !run.path.empty() &&
                    Bent({index}) && MoveBoth(one, other, reach, better)) {
                    moved = true;
                    retry(one, tried);
                    retry(other, tried);
                }
            }
            for (int round = 0; round < kStraighteningRounds && !tried.empty(); ++round) {
                std::set<int> again;
                for (const int place : tried) {
                    const std::vector<std::size_t>& incident = runsAt_.at(place);
                    const int home = board_.nodeOf[static_cast<std::size_t>(place)];
                    if (draws < kMostStraighteningDraws && home >= 0 && Bent(incident) &&
                        MoveTo(place, incident, NearerStraight(place, home, reach), false,
                               better)) {
                        moved = true;
                        retry(place, again);
                    }
                }
                tried = std::move(again);
            }
            if (keptBends == bendsBefore) {
                break;
            }
        }
        CountUnrouted();
        return moved;
    }

    // Moves junctions `one` and `other` the same step together, to nodes within `reach` of their
    // spots (or as far as they were), their runs routed again; keeps the first step for which
    // `better` holds. Whether a step was kept.
    bool MoveBoth(int one, int other, double reach,
                  const std::function<bool(std::int64_t)>& better) {
        const std::array<int, 2> places = {one, other};
        std::vector<std::size_t> incident = runsAt_.at(one);
        for (const std::size_t index : runsAt_.at(other)) {
            if (std::find(incident.begin(), incident.end(), index) == incident.end()) {
                incident.push_back(index);
            }
        }
        std::array<int, 2> homes{};
        std::array<double, 2> reaches{};
        for (std::size_t k = 0; k < 2; ++k) {
            homes[k] = board_.nodeOf[static_cast<std::size_t>(places[k])];
            if (homes[k] < 0) {
                return false;
            }
            reaches[k] = std::max(reach, DistanceFromSpot(places[k], At(homes[k])));
        }
        const Saved saved = Save(incident);
        for (const GridPoint step : kSteps) {
            std::vector<std::pair<int, int>> moves;
            for (std::size_t k = 0; k < 2; ++k) {
                const GridPoint home = At(homes[k]);
                const GridPoint p{home.x + step.x, home.y + step.y};
                if (Inside(p) && DistanceFromSpot(places[k], p) <= reaches[k]) {
                    moves.emplace_back(places[k], Node(p));
                }
            }
            if (moves.size() == 2 && TryMove(moves, incident, saved, better)) {
                return true;
            }
        }
        return false;
    }

    // How far grid point `p` lies from the place's spot, in grid units.
    double DistanceFromSpot(int place, GridPoint p) const {
        const PlanePoint spot = model_.spots[static_cast<std::size_t>(place)];
        return std::hypot(p.x - spot.x, p.y - spot.y);
    }

    // A drawing's links crossing wrongly, sharp turns, stations passed and links on another's
    // track: a move may trade none of them for another.
    std::array<std::size_t, 4> FaultsByKind(const SchematicLayout& drawn) const {
        return {schematic::LinksCrossedWrongly(request_, drawn).size(),
                schematic::SharpTurns(drawn), schematic::StationsPassed(request_, drawn).size(),
                schematic::LinksOnSharedTrack(drawn).size()};
    }

    // How many junctions have their runs leave out of order.
    std::size_t OutOfOrder() const {
        return static_cast<std::size_t>(
            std::count_if(board_.portHeading.begin(), board_.portHeading.end(),
                          [](const auto& entry) { return !InCyclicOrder(entry.second); }));
    }

    // Whether the searches have taken fewer states than the budget allows for more rounds.
    bool WithinBudget() const { return searched_ < kSearchBudget; }

    const std::vector<std::size_t>& Order() const { return order_; }
    std::int64_t Searched() const { return searched_; }

    // The routing order with the runs of links crossing wrongly on the grid, and those of
    // junctions whose runs leave out of order, moved to the front.
    std::vector<std::size_t> TroubledFirst() const {
        std::set<std::size_t> troubled;
        for (const auto& [one, other] : schematic::ChangedCrossings(board_, network_, model_)) {
            troubled.merge(RunsOf(one, other));
        }
        for (const auto& [place, incident] : runsAt_) {
            const auto found =
                board_.portHeading.find(board_.nodeOf[static_cast<std::size_t>(place)]);
            if (found != board_.portHeading.end() && !InCyclicOrder(found->second)) {
                troubled.insert(incident.begin(), incident.end());
            }
        }
        std::vector<std::size_t> order;
        std::ranges::copy_if(order_, std::back_inserter(order),
                             [&](std::size_t run) { return troubled.contains(run); });
        std::ranges::copy_if(order_, std::back_inserter(order),
                             [&](std::size_t run) { return !troubled.contains(run); });
        return order;
    }
    // The runs that found no way keeping the order round their stations, in routing order.
    const std::vector<std::size_t>& Failed() const { return failed_; }

  private:
    void CountUnrouted() { unrouted_ = static_cast<int>(RunsWithoutAWay()); }

    std::size_t RunsWithoutAWay() const {
        return static_cast<std::size_t>(
            std::ranges::count_if(runs_, [](const struct Run& run) { return run.path.empty(); }));
    }

    // Where a run's path changes direction.
    static std::int64_t PathBends(const struct Run& run) {
        std::int64_t bends = 0;
        for (std::size_t i = 2; i < run.path.size(); ++i) {
            bends += schematic::DirectionOf(run.path[i - 2], run.path[i - 1]) !=
                     schematic::DirectionOf(run.path[i - 1], run.path[i]);
        }
        return bends;
    }

    // The lines turning at a station, given the records leaving by each of its ports.
    static std::int64_t LinesTurning(const std::map<int, std::vector<int>>& chainsByPort) {
        std::int64_t turning = 0;
        for (auto one = chainsByPort.begin(); one != chainsByPort.end(); ++one) {
            for (auto other = std::next(one); other != chainsByPort.end(); ++other) {
                if (schematic::Change(schematic::Opposite(one->first), other->first) != 0) {
                    turning += schematic::CountShared(one->second, other->second);
                }
            }
        }
        return turning;
    }

    // The bends of the runs' paths and of lines through junctions, each once per line.
    std::int64_t GridBends() const {
        std::int64_t bends = 0;
        for (const struct Run& run : runs_) {
            bends += PathBends(run) * static_cast<std::int64_t>(run.chains.size());
        }
        for (const auto& entry : board_.portChains) {
            bends += LinesTurning(entry.second);
        }
        return bends;
    }

    // Runs without a way, junctions out of order and links crossing wrongly, on the grid: a move
    // may trade none of them for another.
    std::array<std::size_t, 3> GridFaults() const {
        return {RunsWithoutAWay(), OutOfOrder(),
                schematic::ChangedCrossings(board_, network_, model_).size()};
    }

    // Whether a run of `incident` bends, or a line turns at one of its ends.
    bool Bent(const std::vector<std::size_t>& incident) const {
        const auto turnsAt = [this](int place) {
            const auto found =
                board_.portChains.find(board_.nodeOf[static_cast<std::size_t>(place)]);
            return found != board_.portChains.end() && LinesTurning(found->second) > 0;
        };
        return std::ranges::any_of(incident, [&](std::size_t index) {
            const struct Run& run = runs_[index];
            return PathBends(run) > 0 || turnsAt(run.places.front()) || turnsAt(run.places.back());
        });
    }

    // The median link's length between the places' spots, in grid units.
    double MedianLink() const {
        std::vector<double> lengths;
        for (const schematic::PlaceEdge& edge : network_.edges) {
            const PlanePoint a = model_.spots[static_cast<std::size_t>(edge.a)];
            const PlanePoint b = model_.spots[static_cast<std::size_t>(edge.b)];
            lengths.push_back(std::hypot(a.x - b.x, a.y - b.y));
        }
        if (lengths.empty()) {
            return 1;
        }
        std::nth_element(lengths.begin(),
                         lengths.begin() + static_cast<std::ptrdiff_t>(lengths.size() / 2),
                         lengths.end());
        return lengths[lengths.size() / 2];
    }

    // The nodes up to two steps from `home` within `reach` grid units of the place's spot (or
    // as far as it is), the nearer first.
    std::vector<int> NearerStraight(int place, int home, double reach) const {
        const GridPoint from = At(home);
        reach = std::max(reach, DistanceFromSpot(place, from));
        std::vector<int> targets;
        for (const int ring : {1, 2}) {
            for (int dy = -ring; dy <= ring; ++dy) {
                for (int dx = -ring; dx <= ring; ++dx) {
                    const GridPoint p{from.x + dx, from.y + dy};
                    if (std::max(std::abs(dx), std::abs(dy)) == ring && Inside(p) &&
                        DistanceFromSpot(place, p) <= reach) {
                        targets.push_back(Node(p));
                    }
                }
            }
        }
        return targets;
    }

    std::vector<std::size_t> DefaultOrder() const { return schematic::DefaultOrder(network_); }

    // Each link a grid step more per crossing it is to keep.
    void MakeRoomForKeptCrossings() {
        std::vector<int> crossingsOf(network_.edges.size(), 0);
        for (const auto& [one, other] : crossings_) {
            ++crossingsOf[static_cast<std::size_t>(one)];
            ++crossingsOf[static_cast<std::size_t>(other)];
        }
        for (std::size_t index = 0; index < runs_.size(); ++index) {
            for (std::size_t link = 0; link < linkEdges_[index].size(); ++link) {
                if (const int edge = linkEdges_[index][link]; edge >= 0) {
                    runs_[index].gaps[link] += crossingsOf[static_cast<std::size_t>(edge)];
                }
            }
        }
    }

    // The pairs of edges to cross: those given, or those crossing at the places' spots.
    void NoteCrossings() {
        if (request_.crossings) {
            for (const auto& [one, other] : *request_.crossings) {
                const int a = schematic::EdgeBetween(network_, one.first, one.second);
                const int b = schematic::EdgeBetween(network_, other.first, other.second);
                if (a >= 0 && b >= 0 && a != b) {
                    crossings_.insert(std::minmax(a, b));
                }
            }
        } else {
            crossings_ = schematic::PlaneCrossings(network_, request_.places);
        }
        runOfEdge_.assign(network_.edges.size(), -1);
        for (const struct Run& run : runs_) {
            std::vector<int>& edges = linkEdges_.emplace_back();
            for (std::size_t i = 0; i + 1 < run.places.size(); ++i) {
                edges.push_back(schematic::EdgeBetween(network_, run.places[i], run.places[i + 1]));
                if (edges.back() >= 0) {
                    runOfEdge_[static_cast<std::size_t>(edges.back())] = Index(run);
                }
            }
        }
    }

    // The first and last link of the run that are to cross `edge`, if any are.
    std::optional<std::pair<int, int>> LinksCrossing(const struct Run& run, int edge) const {
        std::optional<std::pair<int, int>> found;
        const std::vector<int>& edges = linkEdges_[static_cast<std::size_t>(Index(run))];
        for (int k = 0; k < static_cast<int>(edges.size()); ++k) {
            const int own = edges[static_cast<std::size_t>(k)];
            if (crossings_.contains({std::min(own, edge), std::max(own, edge)})) {
                found = std::pair{found ? found->first : k, k};
            }
        }
        return found;
    }

    // Whether a run that has taken `steps` steps may cross `edge` there: one of its links is
    // to cross it, and the run has had the steps for the stations before that link.
    bool MayCrossHere(const struct Run& run, int steps, int edge) const {
        const auto links = LinksCrossing(run, edge);
        if (!links) {
            return false;
        }
        return steps >= std::accumulate(run.gaps.begin(), run.gaps.begin() + links->first, 0);
    }

    int Node(GridPoint p) const { return board_.Node(p); }
    GridPoint At(int node) const { return board_.At(node); }
    bool Inside(GridPoint p) const {
        return p.x >= 0 && p.y >= 0 && p.x < board_.width && p.y < board_.height;
    }

    // Where the place would lie on the grid, in grid units.
    std::pair<double, double> Ideal(int place) const {
        const PlanePoint& p = request_.places[static_cast<std::size_t>(place)];
        return {(p.x - request_.box.left) / request_.grid,
                (p.y - request_.box.top) / request_.grid};
    }

    int StationBend(int node, const std::vector<int>& chains, int port) const {
        return schematic::StationBend(board_, node, chains, port, turns_);
    }

    // The direction from one place towards another, true to the geography, as an angle that
    // grows the way the port numbers do.
    double Heading(int from, int to) const {
        if (const auto given = request_.headings.find({from, to});
            given != request_.headings.end()) {
            return given->second;
        }
        const auto [ax, ay] = Ideal(from);
        const auto [bx, by] = Ideal(to);
        return std::atan2(by - ay, bx - ax);
    }

    // The direction a run leaves its first (`end` 0) or last junction in, true to the geography.
    double EndHeading(const struct Run& run, std::size_t end) const {
        const std::vector<int>& places = run.places;
        return end == 0 ? Heading(places.front(), places[1])
                        : Heading(places.back(), places[places.size() - 2]);
    }

    // Whether the run may leave the station at `node` by `port`: where the runs' ports there
    // are held, by its own only.
    bool MayTake(const struct Run& run, int node, int port) const {
        if (node != heldAt_) {
            return true;
        }
        const auto held = held_.find(static_cast<std::size_t>(Index(run)));
        return held == held_.end() || held->second == port;
    }

    int OtherPortCost(const struct Run& run, std::size_t end, int port) const {
        return way_ != kAnyPort && run.ports[end] >= 0 && run.ports[end] != port ? turns_.otherPort
                                                                                 : 0;
    }

    // Whether a run leaving the station at `node` through `port` towards `heading` keeps the
    // runs there in their geographic order round it.
    bool KeepsOrder(int node, int port, double heading) const {
        const auto found = board_.portHeading.find(node);
        if (way_ == kAnyPort || found == board_.portHeading.end()) {
            return true;
        }
        std::map<int, double> around = found->second;
        around[port] = heading;
        return InCyclicOrder(around);
    }

    std::vector<std::pair<int, int>> Candidates(int place, int radius) const {
        const auto [x, y] = Ideal(place);
        return schematic::FreeNodesNear(board_, {x, y}, radius);
    }

    void Place(int place, int node) { schematic::Place(board_, place, node); }
    void Unplace(int place) { schematic::Unplace(board_, place); }
    bool Placed(int place) const { return board_.nodeOf[static_cast<std::size_t>(place)] >= 0; }
    int Index(const struct Run& run) const { return static_cast<int>(&run - runs_.data()); }
    void Lift(const struct Run& run) { schematic::Lift(board_, run, Index(run)); }
    void Mark(const struct Run& run, bool on) {
        schematic::Mark(board_, run, Index(run), on, {EndHeading(run, 0), EndHeading(run, 1)});
    }

    const std::vector<int>& Away(const struct Run& run) {
        return distances_.Of(static_cast<std::size_t>(Index(run)), pull_, [&] {
            return DistanceFromCourse(Spots(run), board_.width, board_.height, pull_);
        });
    }

    // The cheapest way for the run on the grid with at least one step per place along it.
    bool Search(struct Run& run, int radius) {
        const int first = run.places.front();
        const int last = run.places.back();
        schematic::WayRequest way;
        way.firstNode = board_.nodeOf[static_cast<std::size_t>(first)];
        way.lastNode = board_.nodeOf[static_cast<std::size_t>(last)];
        // Where an end is not placed yet, the free nodes near its spot, with their costs.
        if (way.firstNode < 0) {
            way.starts = Candidates(first, radius);
        }
        if (way.lastNode < 0 && first != last) {
            way.ends = Candidates(last, radius);
        }
        if (!MayJoin(way.firstNode, way.starts, way.lastNode, way.ends, run)) {
            return false;  // a search shut in would try every state it reaches first
        }
        // Per port of a placed end: the bends through it there, or -1 where the run may not
        // leave or enter by it.
        const auto portCosts = [&](int node, double heading) {
            std::array<int, 8> costs{};
            for (int port = 0; port < 8 && node >= 0; ++port) {
                costs[static_cast<std::size_t>(port)] =
                    ((board_.ports[static_cast<std::size_t>(node)] >> port) & 1) ||
                            !KeepsOrder(node, port, heading) || !MayTake(run, node, port)
                        ? -1
                        : StationBend(node, run.chains, port);
            }
            return costs;
        };
        way.startPorts = portCosts(way.firstNode, EndHeading(run, 0));
        way.endPorts = portCosts(way.lastNode, EndHeading(run, 1));
        for (int port = 0; port < 8; ++port) {
            way.startOtherPort[static_cast<std::size_t>(port)] = OtherPortCost(run, 0, port);
            way.endOtherPort[static_cast<std::size_t>(port)] = OtherPortCost(run, 1, port);
        }
        way.need = std::accumulate(run.gaps.begin(), run.gaps.end(), 0);
        // Steps far from the run's own course cost more: the stations along it stay near
        // theirs.
        way.away = Away(run);
        way.turns = turns_;
        if (heldAt_ >= 0) {
            way.wrap = kHeldWrapCost;
        }
        if (keepToPlannedCrossings_) {
            way.crossing = [this, &run](int steps, int node) {
                return MayCrossHere(run, steps, schematic::EdgePassing(board_, network_, node))
                           ? 0
                           : kUnplannedCrossingCost;
            };
        }
        std::optional<std::vector<GridPoint>> path = search_.Cheapest(board_, way, searched_);
        // The search keeps no memory of its own way: a run with too little room for its
        // stations may loop back along it, which would draw the line over itself.
        if (!path || RunsOverItself(*path)) {
            return false;
        }
        run.path = std::move(*path);
        return true;
    }

    // Whether the relaxed way (bends and steps aside) is free between the run's ends: each its
    // placed node, or where not placed, the nodes it may take.
    bool MayJoin(int firstNode, const std::vector<std::pair<int, int>>& starts, int lastNode,
                 const std::vector<std::pair<int, int>>& ends, const struct Run& run) const {
        const auto nodes = [](int placed, const std::vector<std::pair<int, int>>& free) {
            std::vector<int> found;
            if (placed >= 0) {
                found.push_back(placed);
            }
            for (const auto& entry : free) {
                found.push_back(entry.first);
            }
            return found;
        };
        const double startHeading = EndHeading(run, 0);
        const double endHeading = EndHeading(run, 1);
        // Only a placed end has ports taken, and runs round it to keep in order.
        const auto free = [this, &run](int node, int port, double heading) {
            return node < 0 || (((board_.ports[static_cast<std::size_t>(node)] >> port) & 1) == 0 &&
                                KeepsOrder(node, port, heading) && MayTake(run, node, port));
        };
        return schematic::MayJoin(
            board_, nodes(firstNode, starts), nodes(lastNode, ends),
            [&](int port) { return free(firstNode, port, startHeading); },
            [&](int port) { return free(lastNode, port, endHeading); });
    }

    void Commit(struct Run& run) {
        const int first = run.places.front();
        const int last = run.places.back();
        if (board_.nodeOf[static_cast<std::size_t>(first)] < 0) {
            Place(first, Node(run.path.front()));
        }
        if (board_.nodeOf[static_cast<std::size_t>(last)] < 0) {
            Place(last, Node(run.path.back()));
        }
        std::vector<bool> crossed;
        std::vector<schematic::CrossingWant> wants;
        for (std::size_t s = 0; s < run.path.size(); ++s) {
            const int node = Node(run.path[s]);
            crossed.push_back(board_.through[static_cast<std::size_t>(node)] != 0);
            if (crossed.back()) {
                if (const auto links =
                        LinksCrossing(run, schematic::EdgePassing(board_, network_, node))) {
                    wants.push_back({static_cast<int>(s), links->first, links->second});
                }
            }
        }
        Mark(run, true);
        // The places along the run, each on the node nearest its own spot, in their order, with
        // each crossing between the stations whose link is to cross that line.
        const auto count = static_cast<int>(run.places.size()) - 1;
        run.stationSteps = SpreadAlong(run.path, Spots(run), crossed, run.gaps, wants);
        for (int i = 1; i < count; ++i) {
            const int node = Node(
                run.path[static_cast<std::size_t>(run.stationSteps[static_cast<std::size_t>(i)])]);
            Place(run.places[static_cast<std::size_t>(i)], node);
        }
    }

    // The runs numbered `indices` as they are now, with the nodes of their stations along
    // them, to put back after a move that did not help.
    struct Saved {
        std::vector<std::size_t> indices;
        std::vector<struct Run> runs;
        std::vector<std::vector<int>> inner;  // per run: the nodes of its stations along it
    };

    Saved Save(const std::vector<std::size_t>& indices) const {
        Saved saved{indices, {}, {}};
        for (const std::size_t index : indices) {
            saved.runs.push_back(runs_[index]);
            std::vector<int>& inner = saved.inner.emplace_back();
            for (std::size_t i = 1; i + 1 < runs_[index].places.size(); ++i) {
                inner.push_back(board_.nodeOf[static_cast<std::size_t>(runs_[index].places[i])]);
            }
        }
        return saved;
    }

    // Puts the saved runs back where what replaced them has been lifted.
    void Restore(const Saved& saved) {
        for (std::size_t k = 0; k < saved.indices.size(); ++k) {
            struct Run& run = runs_[saved.indices[k]];
            run = saved.runs[k];
            Mark(run, true);
            for (std::size_t i = 1; i + 1 < run.places.size(); ++i) {
                if (saved.inner[k][i - 1] >= 0) {
                    Place(run.places[i], saved.inner[k][i - 1]);
                }
            }
        }
    }

    // The first move of the junction to a neighbouring node that lowers the layout's cost, if
    // any.
    bool Move(int place, const std::vector<std::size_t>& incident) {
        const int home = board_.nodeOf[static_cast<std::size_t>(place)];
        return home >= 0 && MoveTo(place, incident, Neighbours(home));
    }

    // The nodes round `node`, inside the grid.
    std::vector<int> Neighbours(int node) const {
        std::vector<int> found;
        for (const GridPoint step : kSteps) {
            if (const GridPoint p{At(node).x + step.x, At(node).y + step.y}; Inside(p)) {
                found.push_back(Node(p));
            }
        }
        return found;
    }

    // The first move of the junction to a free node of `targets` that lowers the layout's
    // cost (or that `better` takes, given the cost), if any. With `carry`, the runs the move passes
    // over are lifted too and routed after the junction's own: a run bending where it is passed can
    // be crossed only once redrawn.
    bool MoveTo(int place, const std::vector<std::size_t>& incident,
                const std::vector<int>& targets, bool carry = false,
                const std::function<bool(std::int64_t)>& better = {}) {
        const int home = board_.nodeOf[static_cast<std::size_t>(place)];
        // Without a line taken along, every target moves the same runs: saved once.
        Saved saved = carry ? Saved{} : Save(incident);
        for (const int target : targets) {
            std::vector<std::size_t> moved = incident;
            if (carry) {
                for (const std::size_t index : PassedBetween(home, target)) {
                    if (std::find(moved.begin(), moved.end(), index) == moved.end()) {
                        moved.push_back(index);
                    }
                }
                if (moved.size() == incident.size()) {
                    continue;  // the move alone, tried before
                }
            }
            if (carry) {
                saved = Save(moved);
            }
            if (TryMove({{place, target}}, moved, saved, better)) {
                return true;
            }
        }
        return false;
    }

    // Lifts the runs `moved` and puts each junction of `moves` (place, node) on its node where
    // every one is free, the runs routed again; keeps that where `better` holds (none: where the
    // layout's cost drops), and otherwise puts the junctions back and the runs as `saved` has
    // them. Whether the move was kept.
    bool TryMove(const std::vector<std::pair<int, int>>& moves,
                 const std::vector<std::size_t>& moved, const Saved& saved,
                 const std::function<bool(std::int64_t)>& better) {
        std::vector<int> homes;
        for (const auto& [place, target] : moves) {
            homes.push_back(board_.nodeOf[static_cast<std::size_t>(place)]);
        }
        for (const std::size_t index : moved) {
            Lift(runs_[index]);
        }
        for (const auto& [place, target] : moves) {
            Unplace(place);
        }
        const bool free = std::ranges::all_of(moves, [this](const std::pair<int, int>& move) {
            return board_.station[static_cast<std::size_t>(move.second)] < 0 &&
                   board_.through[static_cast<std::size_t>(move.second)] == 0;
        });
        if (free) {
            for (const auto& [place, target] : moves) {
                Place(place, target);
            }
            for (const std::size_t index : moved) {
                Route(runs_[index]);
            }
            const std::int64_t cost = schematic::LayoutCost(board_, network_, model_);
            if (better ? better(cost) : cost < current_) {
                current_ = cost;
                return true;
            }
            for (const std::size_t index : moved) {
                Lift(runs_[index]);
            }
            for (const auto& [place, target] : moves) {
                Unplace(place);
            }
        }
        for (std::size_t k = 0; k < moves.size(); ++k) {
            Place(moves[k].first, homes[k]);
        }
        Restore(saved);
        return false;
    }

    // The nodes a move from `home` two steps to `target` passes: one, or for a knight's move,
    // the two it might pass.
    std::array<GridPoint, 2> Between(int home, int target) const {
        const GridPoint from = At(home);
        const int dx = At(target).x - from.x;
        const int dy = At(target).y - from.y;
        return {GridPoint{from.x + dx / 2, from.y + dy / 2},
                GridPoint{from.x + (dx - dx / 2), from.y + (dy - dy / 2)}};
    }

    // The runs passing the nodes between `home` and `target`.
    std::vector<std::size_t> PassedBetween(int home, int target) const {
        std::vector<std::size_t> passed;
        for (const GridPoint between : Between(home, target)) {
            for (int direction = 0; direction < 8; ++direction) {
                const int run =
                    board_.passedBy[static_cast<std::size_t>(Node(between) * 8 + direction)];
                if (run >= 0 && std::find(passed.begin(), passed.end(),
                                          static_cast<std::size_t>(run)) == passed.end()) {
                    passed.push_back(static_cast<std::size_t>(run));
                }
            }
        }
        return passed;
    }

    // The nodes two steps from `home` with a run or station between: moving a junction there
    // takes it over a line, which steps of one node never do.
    std::vector<int> Over(int home) const {
        std::vector<int> targets;
        const GridPoint from = At(home);
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const GridPoint p{from.x + dx, from.y + dy};
                if (std::max(std::abs(dx), std::abs(dy)) < 2 || !Inside(p)) {
                    continue;
                }
                for (const GridPoint between : Between(home, Node(p))) {
                    const auto node = static_cast<std::size_t>(Node(between));
                    if (board_.through[node] != 0 || board_.station[node] >= 0) {
                        targets.push_back(Node(p));
                        break;
                    }
                }
            }
        }
        return targets;
    }

    // Around each run drawn straight, and each pair of links that cross on the grid and are not
    // to, or are to and do not: the runs at the junctions of those runs, lifted with those
    // junctions and routed again in several orders, keeping off links their own are not to
    // cross; the order whose layout costs least is kept where it lowers the layout's cost. Where
    // none does, two links crossing wrongly take at least two steps each, and the first order
    // is tried once more.
    bool Untangle() {
        bool moved = false;
        // A region tried again before the layout changes would come out as before.
        std::set<std::set<int>> tried;
        const auto keep = [&](std::int64_t cost) {
            current_ = cost;
            moved = true;
            tried.clear();
            ++changes_;
        };
        struct Knot {
            std::set<int> junctions;
            std::optional<std::pair<int, int>> crossing;  // the edges crossing wrongly, if any
        };
        std::vector<Knot> knots;
        for (const struct Run& run : runs_) {
            if (run.path.empty()) {
                knots.push_back({{run.places.front(), run.places.back()}, std::nullopt});
            }
        }
        for (const auto& crossing : schematic::ChangedCrossings(board_, network_, model_)) {
            knots.push_back({JunctionsOf(crossing.first, crossing.second), crossing});
        }
        std::size_t trials = 0;
        for (const auto& [junctions, crossing] : knots) {
            if (trials >= kUntangleTrials) {
                break;
            }
            if (!tried.insert(junctions).second) {
                continue;
            }
            // A region that found nothing better finds nothing better until the layout changes.
            if (const auto found = fruitless_.find(junctions);
                found != fruitless_.end() && found->second == changes_) {
                continue;
            }
            std::set<std::size_t> region;
            for (const int junction : junctions) {
                if (const auto found = runsAt_.find(junction); found != runsAt_.end()) {
                    region.insert(found->second.begin(), found->second.end());
                }
            }
            std::vector<std::size_t> base;
            for (const std::size_t index : order_) {
                if (region.contains(index)) {
                    base.push_back(index);
                }
            }
            const std::vector<std::vector<std::size_t>> orders = RoutingOrders(base);
            std::vector<std::pair<int, int>> homes;  // junction, node
            for (const int junction : junctions) {
                homes.emplace_back(junction, board_.nodeOf[static_cast<std::size_t>(junction)]);
            }
            const Saved saved = Save(base);
            std::optional<std::size_t> best;
            std::int64_t bestCost = current_;
            for (std::size_t o = 0; o < orders.size() && trials < kUntangleTrials; ++o, ++trials) {
                const std::int64_t cost = TryOrder(orders[o], junctions);
                if (cost < bestCost) {
                    bestCost = cost;
                    best = o;
                }
                PutBack(base, junctions, homes, saved);
            }
            if (!best && trials < kUntangleTrials && crossing &&
                Widen(crossing->first, crossing->second)) {
                // A link a single step long has no node where another could cross it, nor room
                // to step aside.
                ++trials;
                if (const std::int64_t cost = TryOrder(base, junctions); cost < current_) {
                    keep(cost);
                    continue;
                }
                PutBack(base, junctions, homes, saved);
            }
            if (best) {
                keep(TryOrder(orders[*best], junctions));
            } else if (trials < kUntangleTrials) {
                fruitless_[junctions] = changes_;
            }
        }
        return moved;
    }

    // The runs `base` (in routing order) as they are, then each of them first in turn, then in
    // reverse.
    static std::vector<std::vector<std::size_t>> RoutingOrders(
        const std::vector<std::size_t>& base) {
        std::vector<std::vector<std::size_t>> orders = {base};
        for (std::size_t k = 1; k < base.size(); ++k) {
            std::vector<std::size_t> turn = base;
            std::rotate(turn.begin(), turn.begin() + static_cast<std::ptrdiff_t>(k),
                        turn.begin() + static_cast<std::ptrdiff_t>(k) + 1);
            orders.push_back(std::move(turn));
        }
        if (base.size() > 2) {
            orders.emplace_back(base.rbegin(), base.rend());
        }
        return orders;
    }

    // Gives each of the two edges' links that takes a single step two; whether any did.
    bool Widen(int one, int other) {
        bool widened = false;
        for (const int edge : {one, other}) {
            const int index = runOfEdge_[static_cast<std::size_t>(edge)];
            if (index < 0) {
                continue;
            }
            struct Run& run = runs_[static_cast<std::size_t>(index)];
            const std::vector<int>& edges = linkEdges_[static_cast<std::size_t>(index)];
            const auto link = static_cast<std::size_t>(std::find(edges.begin(), edges.end(), edge) -
                                                       edges.begin());
            if (run.gaps.empty()) {
                run.gaps.assign(run.places.size() - 1, 1);
            }
            if (link < run.gaps.size() && run.gaps[link] < 2) {
                run.gaps[link] = 2;
                widened = true;
            }
        }
        return widened;
    }

    // The runs of `base` and the junctions as they were before a trial.
    void PutBack(const std::vector<std::size_t>& base, const std::set<int>& junctions,
                 const std::vector<std::pair<int, int>>& homes, const Saved& saved) {
        LiftAll(base, junctions);
        for (const auto& [junction, node] : homes) {
            if (node >= 0) {
                Place(junction, node);
            }
        }
        Restore(saved);
    }

    void LiftAll(const std::vector<std::size_t>& indices, const std::set<int>& junctions) {
        for (const std::size_t index : indices) {
            Lift(runs_[index]);
        }
        for (const int junction : junctions) {
            Unplace(junction);
        }
    }

    // The layout's cost with the runs of `order` lifted, with `junctions`, and routed again in
    // that order.
    std::int64_t TryOrder(const std::vector<std::size_t>& order, const std::set<int>& junctions) {
        LiftAll(order, junctions);
        keepToPlannedCrossings_ = true;
        for (const std::size_t index : order) {
            Route(runs_[index]);
        }
        keepToPlannedCrossings_ = false;
        return schematic::LayoutCost(board_, network_, model_);
    }

    // The places of a run where they would lie on the grid, in grid units.
    std::vector<PlanePoint> Spots(const struct Run& run) const {
        std::vector<PlanePoint> spots;
        for (const int place : run.places) {
            const auto [x, y] = Ideal(place);
            spots.push_back({x, y});
        }
        return spots;
    }

    // Which way the run was drawn: keeping the order round its stations (preferring the ports
    // kept for it), through any free ports, or (kAnyPort + 1) straight.
    int Route(struct Run& run) {
        for (const int way : {kKeptOrder, kAnyPort}) {
            way_ = way;
            for (const int radius : kSearchRadii) {
                if (Search(run, radius)) {
                    Commit(run);
                    return way;
                }
                if (Placed(run.places.front()) && Placed(run.places.back())) {
                    break;  // the radius only widens where an unplaced end may go
                }
            }
        }
        // No free way: each place on the free node nearest its spot, joined straight.
        ++unrouted_;
        for (const int place : run.places) {
            if (board_.nodeOf[static_cast<std::size_t>(place)] >= 0) {
                continue;
            }
            for (int radius = 1; radius <= board_.width + board_.height; ++radius) {
                const auto candidates = Candidates(place, radius);
                if (!candidates.empty()) {
                    Place(place, std::min_element(candidates.begin(), candidates.end(),
                                                  [](const auto& x, const auto& y) {
                                                      return x.second < y.second;
                                                  })
                                     ->first);
                    break;
                }
            }
        }
        run.path.clear();
        return kAnyPort + 1;
    }

    const SchematicRequest& request_;
    CourseDistances& distances_;
    const schematic::TurnCosts& turns_ =
        request_.crowded ? schematic::kCrowdedTurnCosts : schematic::kTurnCosts;
    std::vector<std::size_t> order_;
    std::vector<std::size_t> failed_;
    schematic::RunNetwork network_;
    std::vector<struct Run>& runs_ = network_.runs;
    schematic::Board board_;
    std::set<std::pair<int, int>> crossings_;  // pairs of edges to cross, the smaller first
    std::vector<std::vector<int>> linkEdges_;  // per run: the edge of each link
    std::vector<int> runOfEdge_;               // per edge: the run it lies on
    schematic::WaySearch search_;
    // What the improving moves weigh, the layout's cost, and per junction its runs in routing
    // order: set when improving starts.
    schematic::CostModel model_;
    std::int64_t current_ = 0;
    std::map<int, std::vector<std::size_t>> runsAt_;
    // How many changes the improving moves made so far, and per untangling region (its
    // junctions) that found nothing better, how many had been made then.
    std::size_t changes_ = 0;
    std::map<std::set<int>, std::size_t> fruitless_;
    int way_ = kKeptOrder;
    bool keepToPlannedCrossings_ = false;
    // The station node whose runs' ports are held, or -1, and per run its port there.
    int heldAt_ = -1;
    std::map<std::size_t, int> held_;
    int unrouted_ = 0;
    std::int64_t searched_ = 0;  // states the searches took, with an earlier layout's
    LayoutSettings settings_;
    int pull_ = schematic::kAwayCost;  // per grid unit a step lies off its run's course
    int draws_ = 0;                    // layouts drawn to judge a mending move
};

// One layout of the network, from a routing order (none: the default one), and the drawing with
// the fewest faults.
struct Attempt {
    std::unique_ptr<Router> router;
    SchematicLayout drawn;
    Sketch sketch;  // what `drawn` was drawn from
    std::size_t faults = 0;
};

Attempt LayOutFrom(const SchematicRequest& request, CourseDistances& distances,
                   std::vector<std::size_t> order, std::int64_t searched,
                   const LayoutSettings& settings = {}) {
    // Runs that found no way keeping the order round their stations go first in the next
    // layout; the layout with the fewest such runs is kept, then improved.
    std::unique_ptr<Router> best;
    for (int round = 0; round < kRoutingRounds; ++round) {
        auto router = std::make_unique<Router>(request, distances, order, searched, settings);
        router->Run();
        const std::size_t faults = router->Failed().size();
        std::vector<std::size_t> next = router->Order();
        const auto move = [&next](std::size_t run, std::size_t before) {
            next.erase(std::find(next.begin(), next.end(), run));
            next.insert(std::find(next.begin(), next.end(), before), run);
        };
        for (auto failed = router->Failed().rbegin(); failed != router->Failed().rend(); ++failed) {
            move(*failed, next.front());
        }
        const bool last = faults == 0 || next == router->Order();
        if (!best || faults < best->Failed().size()) {
            best = std::move(router);
        }
        if (last) {
            break;
        }
        order = std::move(next);
    }
    best->Improve();
    // A junction moved over a line mends crossings on the grid, but lines drawn side by side may
    // then cross wrongly elsewhere, or turn sharply: of the drawings before and after each round
    // of jumps, the one with the fewest faults is kept.
    SchematicLayout kept = best->Draw();
    Sketch sketch = best->Sketched();
    std::size_t fewest = best->Faults(kept).all;
    for (int round = 0; round < kJumpRounds && best->WithinBudget() && best->Jump(); ++round) {
        SchematicLayout jumped = best->Draw();
        const std::size_t faults = best->Faults(jumped).all;
        if (faults < fewest) {
            kept = std::move(jumped);
            sketch = best->Sketched();
            fewest = faults;
        }
    }
    return {std::move(best), std::move(kept), std::move(sketch), fewest};
}

SchematicLayout FinalDrawing(const SchematicRequest& request, const Sketch& sketch) {
    return DrawSchematic(request, sketch.runs, sketch.nodeOf, sketch.width, sketch.unrouted,
                         schematic::DrawingPass::kFinal);
}

// Junctions moved where lines bend less; the map's own drawing of the layout left. That drawing
// must not bring a line to one point twice where the one before did not: its lanes are laid
// anew.
SchematicLayout Straighten(const SchematicRequest& request, Attempt& attempt) {
    const SchematicLayout drawn = attempt.drawn;
    const Sketch sketch = attempt.sketch;
    if (!attempt.router->Straighten(attempt.drawn, attempt.sketch)) {
        return FinalDrawing(request, attempt.sketch);
    }
    SchematicLayout straightened = FinalDrawing(request, attempt.sketch);
    if (!schematic::RepeatsAPoint(straightened)) {
        return straightened;
    }
    SchematicLayout before = FinalDrawing(request, sketch);
    if (schematic::RepeatsAPoint(before)) {
        return straightened;
    }
    attempt.drawn = drawn;
    attempt.sketch = sketch;
    return before;
}

// Lines drawn side by side, and stations a slot off their node, may pass stations that the grid
// keeps clear.
void Mend(Attempt& attempt) {
    for (int round = 0; round < kMendingRounds &&
                        attempt.router->Mend(attempt.drawn, attempt.sketch, attempt.faults);
         ++round) {
    }
}

}  // namespace

SchematicLayout LayOutSchematic(const SchematicRequest& request) {
    CourseDistances distances;
    Attempt first = LayOutFrom(request, distances, {}, 0);
    // Which runs go first decides much of a layout. Where faults are left, the network is laid
    // out again with the runs at fault routed first, on the empty grid, within what is left of
    // the budget of states; only the layout with fewer faults is mended, as mending takes as
    // long as a layout. A network too large for a step more at every link crossing another
    // gets it, that time, at the links of the crossings to keep: short links in its crowded
    // centre leave them no node otherwise.
    Attempt second;
    Attempt third;
    Attempt* kept = &first;
    if (first.faults > 0) {
        const std::vector<std::size_t> troubledFirst = first.router->TroubledFirst();
        if (troubledFirst != first.router->Order()) {
            second = LayOutFrom(request, distances, troubledFirst, first.router->Searched(),
                                {.roomForKeptCrossings = !request.roomForCrossings});
            if (second.faults < first.faults) {
                kept = &second;
            }
        }
        // Where faults are still left and the budget allows, the runs at fault first once
        // more, pulled towards their courses half as much while the layout improves: held less
        // tightly to the stations' places, the moves find other ways round the faults.
        const Router& last = second.router ? *second.router : *first.router;
        if (kept->faults > 0 && last.WithinBudget()) {
            third = LayOutFrom(request, distances, troubledFirst, last.Searched(),
                               {.improvingPull = schematic::kLooseAwayCost});
            if (third.faults < kept->faults) {
                kept = &third;
            }
        }
    }
    // Junctions the moves left out of order try their runs held to ports in order.
    kept->router->RestoreOrders(kept->drawn, kept->sketch, kept->faults);
    Mend(*kept);
    // The map's own drawing straightens more lanes; kept only where it has no more faults and
    // bends than the draft. The small networks' places stay as near their spots as they are:
    // bends are few there.
    SchematicLayout finished =
        request.crowded ? Straighten(request, *kept) : FinalDrawing(request, kept->sketch);
    if (kept->router->Faults(finished).all <= kept->router->Faults(kept->drawn).all &&
        schematic::Bends(finished) <= schematic::Bends(kept->drawn)) {
        return finished;
    }
    return std::move(kept->drawn);
}

}  // namespace qv::import
