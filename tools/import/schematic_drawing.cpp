#include "schematic_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <unordered_set>

#include "schematic_slides.h"
#include "segment_geometry.h"

namespace qv::import::schematic {

namespace {

constexpr int kSlotShifts = 4;  // runs moved a slot aside for one kind of fault, at most
// Lines that turn by up to this (in steps of 45 degrees) from one run into the next keep their
// lane, where they can; records of runs with at most kMostReorderedLanes may change places.
constexpr int kLaneKeptTurn = 1;
constexpr int kMostReorderedLanes = 5;
// Runs of at most this many records have their lanes straightened by their drawing's bends.
constexpr int kMostStraightenedLanes = 3;

// The turn from one direction to another in steps of 45 degrees, to the right positive (rows
// grow southwards, so the directions' numbers grow clockwise).
int SignedTurn(int from, int to) {
    const int turn = (to - from + 8) % 8;
    return turn > 4 ? turn - 8 : turn;
}

// Draws the routed runs as each line record's stations and corners, lines sharing a run side
// by side.
class Drawing {
  public:
    Drawing(const SchematicRequest& request, const std::vector<Run>& runs,
            const std::vector<int>& nodeOf, int width, int unrouted, DrawingPass pass)
        : request_(request),
          runs_(runs),
          nodeOf_(nodeOf),
          width_(width),
          unrouted_(unrouted),
          pass_(pass) {}

    SchematicLayout Draw() {
        for (const struct Run& run : runs_) {
            for (std::size_t i = 0; !run.path.empty() && i + 1 < run.places.size(); ++i) {
                pieces_[{run.places[i], run.places[i + 1]}] = {&run, run.stationSteps[i],
                                                               run.stationSteps[i + 1]};
            }
        }
        links_.clear();
        for (const PlaceChain& chain : request_.chains) {
            const std::size_t n = chain.places.size();
            std::vector<DrawnLink>& links = links_.emplace_back();
            for (std::size_t i = 0; i < (chain.isRing && n > 2 ? n : n - 1); ++i) {
                links.push_back(Link(chain.places[i], chain.places[(i + 1) % n]));
            }
        }
        std::map<const struct Run*, int> bases = SlotBases();
        FindLinkLanes();
        StraightenLanes(bases, LaneTrials::kBeforeShifts);
        SchematicLayout drawn = MoveRunsAside(bases);
        // A run moved aside may leave a line changing lanes where another slot of its own run, or
        // of the next one, would let it go straight.
        if (pass_ == DrawingPass::kFinal) {
            if (std::optional<SchematicLayout> straightened =
                    StraightenLanes(bases, LaneTrials::kAfterShifts)) {
                drawn = std::move(*straightened);
            }
        }
        return drawn;
    }

  private:
    // Moves runs a slot aside off shared track, off stations and for crossings, `bases`
    // following; the layout with its stations slid.
    SchematicLayout MoveRunsAside(std::map<const struct Run*, int>& bases) const {
        SchematicLayout shifted = Lay(bases);
        KeepOffSharedTrack(bases, shifted);
        SchematicLayout slid = KeepOffStations(bases, shifted);
        const std::map<const struct Run*, int> unshifted = bases;
        KeepCrossings(bases, shifted);
        if (bases == unshifted) {
            return slid;
        }
        Slide(shifted);
        // The slides mend some crossings themselves: the runs stay shifted only where that leaves
        // fewer wrong crossings once the stations have slid, no more links on shared track or
        // over stations, and no two places' stations nearer.
        if (LinksCrossedWrongly(request_, shifted).size() <
                LinksCrossedWrongly(request_, slid).size() &&
            SharedLinks(shifted).size() <= SharedLinks(slid).size() &&
            LinksOverStations(shifted).size() <= LinksOverStations(slid).size() &&
            NearestApartSquared(request_, shifted) >= NearestApartSquared(request_, slid)) {
            return shifted;
        }
        bases = unshifted;
        return slid;
    }

    // Each link's lane on its run, from the order of its run's records.
    void FindLinkLanes() {
        linkLanes_.assign(links_.size(), {});
        for (std::size_t c = 0; c < links_.size(); ++c) {
            FindLinkLanes(c);
        }
    }

    void FindLinkLanes(std::size_t c) {
        std::vector<int>& lanes = linkLanes_[c];
        lanes.clear();
        for (const DrawnLink& link : links_[c]) {
            lanes.push_back(link.run == nullptr ? 0 : Position(*link.run, c));
        }
    }

    // The lanes of the records on `run`, after its order changed.
    void FindLinkLanes(const struct Run& run) {
        for (const int c : run.chains) {
            FindLinkLanes(static_cast<std::size_t>(c));
        }
    }

    // Before the runs move aside: runs of two or three records, each alone, their lanes round
    // the run's centre line, judged as laid. After: runs of one to three records, each alone and
    // then two that meet with a record going on from one into the other, in any slot a move
    // aside may take, judged once the stations have slid.
    enum class LaneTrials { kBeforeShifts, kAfterShifts };

    struct LaneChoice {  // a run's records in order across it, and the slot of the first
        int base = 0;
        std::vector<int> order;
        bool operator==(const LaneChoice&) const = default;
    };

    // What lanes have been tried for: the drawing kept so far bends `fewestBends` times with
    // `mostFaults` faults, and no trial may have more; `layout` is that drawing once lanes have
    // changed.
    struct LaneJudging {
        LaneTrials trials;
        std::size_t fewestBends = 0;
        std::size_t mostFaults = 0;
        std::optional<SchematicLayout> layout;
    };

    // The lane rules count the lanes a line changes where it goes on straight or turns 45
    // degrees, not the corners that lanes draw across sharper turns or on short strokes. Each run
    // then takes the order and slot whose drawing bends least, where that passes no more
    // stations, shares no more track, crosses wrongly and turns sharply no more often. Two runs
    // may need to change together: a line that takes another lane where it leaves one run may
    // make room for another line in the next. The drawing as judged, where any lanes changed.
    std::optional<SchematicLayout> StraightenLanes(std::map<const struct Run*, int>& bases,
                                                   LaneTrials trials) {
        const bool afterShifts = trials == LaneTrials::kAfterShifts;
        const SchematicLayout laid = Judged(bases, trials);
        LaneJudging judging{trials, Bends(laid), LaneFaults(laid), std::nullopt};
        const auto tried = [&](const struct Run& run) {
            const auto size = static_cast<int>(run.chains.size());
            return size >= (afterShifts ? 1 : 2) && size <= kMostStraightenedLanes;
        };
        for (const struct Run& run : runs_) {
            if (tried(run)) {
                TryLanes({&run}, bases, judging);
            }
        }
        for (const struct Run& one : runs_) {
            if (!afterShifts || !tried(one)) {
                continue;
            }
            for (const struct Run* other = &one + 1; other != runs_.data() + runs_.size();
                 ++other) {
                if (tried(*other) && GoOnFromOneToTheOther(one, *other)) {
                    TryLanes({&one, other}, bases, judging);
                }
            }
        }
        return std::move(judging.layout);
    }

    // Whether the two runs meet at a junction and share a line record.
    static bool GoOnFromOneToTheOther(const struct Run& one, const struct Run& other) {
        const bool meet = one.places.front() == other.places.front() ||
                          one.places.front() == other.places.back() ||
                          one.places.back() == other.places.front() ||
                          one.places.back() == other.places.back();
        return meet && std::ranges::find_first_of(one.chains, other.chains) != one.chains.end();
    }

    // The faults a lane change may not add.
    std::size_t LaneFaults(const SchematicLayout& layout) const {
        return LinksOverStations(layout).size() + SharedLinks(layout).size() +
               LinksCrossedWrongly(request_, layout).size() + SharpTurns(layout);
    }

    SchematicLayout Judged(const std::map<const struct Run*, int>& bases, LaneTrials trials) const {
        SchematicLayout layout = Lay(bases);
        if (trials == LaneTrials::kAfterShifts) {
            Slide(layout);
        }
        return layout;
    }

    // The orders and slots a run's records may take.
    std::vector<LaneChoice> LaneChoices(const struct Run& run, LaneTrials trials) const {
        const auto size = static_cast<int>(run.chains.size());
        const int centred = -(size - 1) / 2;
        std::vector<int> slots;
        if (trials == LaneTrials::kBeforeShifts) {
            for (const int b : {centred, centred - 1, centred + 1}) {
                if (b <= 0 && b >= 1 - size && (b == centred || LanesFit(b, size))) {
                    slots.push_back(b);
                }
            }
        } else {
            for (int b = -size; b <= 1; ++b) {
                if (LanesFit(b, size)) {
                    slots.push_back(b);
                }
            }
        }
        std::vector<LaneChoice> choices;
        std::vector<int> order = run.chains;
        do {
            for (const int b : slots) {
                choices.push_back({b, order});
            }
        } while (std::next_permutation(order.begin(), order.end()));
        return choices;
    }

    // Of the choices that change the lanes of every run of the group, takes the one whose
    // drawing bends least, if it bends less than the one kept so far without more faults.
    void TryLanes(std::initializer_list<const struct Run*> group,
                  std::map<const struct Run*, int>& bases, LaneJudging& judging) {
        std::vector<int> records;
        std::vector<LaneChoice> was;
        std::vector<std::vector<LaneChoice>> choices;
        for (const struct Run* run : group) {
            records.insert(records.end(), run->chains.begin(), run->chains.end());
            was.push_back({bases.at(run), lanes_.at(run)});
            choices.push_back(LaneChoices(*run, judging.trials));
        }
        std::ranges::sort(records);
        records.erase(std::unique(records.begin(), records.end()), records.end());
        const auto take = [&](const std::vector<LaneChoice>& chosen) {
            std::size_t k = 0;
            for (const struct Run* run : group) {
                bases[run] = chosen[k].base;
                lanes_[run] = chosen[k].order;
                FindLinkLanes(*run);
                ++k;
            }
        };
        // The group's own records laid alone tell which choices may bend less, at a fraction of
        // laying the whole layout for each.
        const auto ownBends = [&] {
            SchematicLayout own;
            for (const int c : records) {
                own.chains.push_back(LayChain(static_cast<std::size_t>(c), bases));
            }
            return Bends(own);
        };
        const std::size_t ownBefore = ownBends();
        std::vector<LaneChoice> kept = was;
        std::vector<LaneChoice> chosen = was;
        // Each run's choices in turn, the last run's changing fastest.
        const auto tryFrom = [&](const auto& self, std::size_t k) -> void {
            if (k == choices.size()) {
                take(chosen);
                if (ownBends() >= ownBefore) {
                    return;
                }
                // Most choices bend no less in all: their faults are not counted.
                SchematicLayout trial = Judged(bases, judging.trials);
                const std::size_t bends = Bends(trial);
                if (bends >= judging.fewestBends) {
                    return;
                }
                if (const std::size_t count = LaneFaults(trial); count <= judging.mostFaults) {
                    judging.fewestBends = bends;
                    judging.mostFaults = count;
                    judging.layout = std::move(trial);
                    kept = chosen;
                }
                return;
            }
            for (const LaneChoice& choice : choices[k]) {
                if (choice != was[k]) {
                    chosen[k] = choice;
                    self(self, k + 1);
                }
            }
        };
        tryFrom(tryFrom, 0);
        take(kept);
    }

    // Stations slid off other lines, onto the side of their crossings, and apart.
    void Slide(SchematicLayout& layout) const { KeepStationsClearAndApart(request_, layout); }

    // Lines that turn at a junction reach their station points from the side they arrive on;
    // where two leave it by opposite ports along one row, each may run through the other's
    // point. Shifting one of their runs by a slot parts them.
    void KeepOffSharedTrack(std::map<const struct Run*, int>& bases,
                            SchematicLayout& layout) const {
        ShiftRuns(bases, layout, &Drawing::SharedLinks, &Drawing::LinksOverStations);
    }

    // A line beside an interchange may pass over one of its stations, a slot off the node:
    // either the line's run or the station's may move. Most such stations slide off the line
    // themselves, and a shift changes lanes, two bends a line: the shifts are judged by the
    // stations left passed once they have slid. Returns the layout slid.
    SchematicLayout KeepOffStations(std::map<const struct Run*, int>& bases,
                                    SchematicLayout& layout) const {
        SchematicLayout slid = layout;
        Slide(slid);
        ShiftRuns(bases, layout, &Drawing::LinksOverStations, &Drawing::SharedLinks,
                  &Drawing::LinksAtStationsPassed, &slid);
        return slid;
    }

    using Faults = std::vector<std::pair<int, int>> (Drawing::*)(const SchematicLayout&) const;

    // Side-by-side lines that cross a line near its station may meet it on the far side of the
    // station, moving the crossing into the next link: one of the runs a slot aside moves the
    // crossing back, where that leaves no more of the other faults a shift may make, in all.
    void KeepCrossings(std::map<const struct Run*, int>& bases, SchematicLayout& layout) const {
        ShiftRuns(bases, layout, &Drawing::BundlesCrossedWrongly, &Drawing::ShiftFaults);
    }

    // Links on shared track or over stations, stations of two places too close, and corners.
    std::vector<std::pair<int, int>> ShiftFaults(const SchematicLayout& layout) const {
        std::vector<std::pair<int, int>> found = SharedLinks(layout);
        for (const Faults more :
             {&Drawing::LinksOverStations, &Drawing::StationsTooClose, &Drawing::Corners}) {
            const std::vector<std::pair<int, int>> some = (this->*more)(layout);
            found.insert(found.end(), some.begin(), some.end());
        }
        return found;
    }

    // Moves the run of one of the links `worse` finds (or `alsoSuspect`, where given) a slot
    // aside, up to kSlotShifts times, each time the move that leaves fewest such links without
    // more of those `other` finds; of those, the one whose drawing bends least (a run moved
    // aside changes lanes, two bends for each of its lines where they go on straight). Where
    // `slid` is given (the layout with its stations slid), the faults are those left once the
    // stations have slid, and it follows the shifts.
    void ShiftRuns(std::map<const struct Run*, int>& bases, SchematicLayout& layout, Faults worse,
                   Faults other, Faults alsoSuspect = nullptr,
                   SchematicLayout* slid = nullptr) const {
        for (int pass = 0; pass < kSlotShifts; ++pass) {
            const SchematicLayout& judged = slid != nullptr ? *slid : layout;
            const std::vector<std::pair<int, int>> faults = (this->*worse)(judged);
            if (faults.empty()) {
                return;
            }
            std::vector<const struct Run*> suspects;
            std::vector<std::pair<int, int>> links = faults;
            if (alsoSuspect != nullptr) {
                const std::vector<std::pair<int, int>> more = (this->*alsoSuspect)(judged);
                links.insert(links.end(), more.begin(), more.end());
            }
            for (const std::pair<int, int>& link : links) {
                const struct Run* run = RunOf(link);
                if (run != nullptr &&
                    std::find(suspects.begin(), suspects.end(), run) == suspects.end()) {
                    suspects.push_back(run);
                }
            }
            const std::size_t others = (this->*other)(judged).size();
            std::pair<std::size_t, std::size_t> fewest{faults.size(), 0};  // links, bends
            std::optional<std::pair<const struct Run*, int>> best;
            SchematicLayout bestLaid;
            SchematicLayout bestSlid;
            for (const struct Run* run : suspects) {
                const int was = bases.at(run);
                const int size = static_cast<int>(run->chains.size());
                for (const int b : {was - 1, was + 1}) {
                    if (b > 1 || b < -size || !LanesFit(b, size)) {
                        continue;
                    }
                    bases[run] = b;
                    SchematicLayout trial = Lay(bases);
                    SchematicLayout trialSlid;
                    if (slid != nullptr) {
                        trialSlid = trial;
                        Slide(trialSlid);
                    }
                    const SchematicLayout& trialJudged = slid != nullptr ? trialSlid : trial;
                    const std::size_t worseCount = (this->*worse)(trialJudged).size();
                    if (worseCount >= faults.size() || worseCount > fewest.first ||
                        (this->*other)(trialJudged).size() > others) {
                        continue;
                    }
                    const std::pair<std::size_t, std::size_t> count{worseCount, Bends(trialJudged)};
                    if (!best || count < fewest) {
                        fewest = count;
                        best = {run, b};
                        bestLaid = std::move(trial);
                        bestSlid = std::move(trialSlid);
                    }
                }
                bases[run] = was;
            }
            if (!best) {
                return;
            }
            bases[best->first] = best->second;
            layout = std::move(bestLaid);
            if (slid != nullptr) {
                *slid = std::move(bestSlid);
            }
        }
    }

    // The links (chain, link) of each pair that crosses where it is not to, or does not where
    // it is, one of them on a run of side-by-side lines.
    std::vector<std::pair<int, int>> BundlesCrossedWrongly(const SchematicLayout& layout) const {
        const std::vector<std::pair<int, int>> wrong = LinksCrossedWrongly(request_, layout);
        const auto bundled = [this](std::pair<int, int> link) {
            const struct Run* run = RunOf(link);
            return run != nullptr && run->chains.size() > 1;
        };
        std::vector<std::pair<int, int>> found;
        for (std::size_t k = 0; k + 1 < wrong.size(); k += 2) {
            if (bundled(wrong[k]) || bundled(wrong[k + 1])) {
                found.push_back(wrong[k]);
                found.push_back(wrong[k + 1]);
            }
        }
        return found;
    }

    // Calls visit(station, distance squared) for each pair of stations of two places, with the
    // first one's (chain, station).
    template <typename Visit>
    void ForEachPairOfPlaces(const SchematicLayout& layout, Visit visit) const {
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            for (std::size_t i = 0; i < layout.chains[c].stations.size(); ++i) {
                const GridPoint at = layout.chains[c].stations[i];
                for (std::size_t o = c; o < layout.chains.size(); ++o) {
                    for (std::size_t k = o == c ? i + 1 : 0; k < layout.chains[o].stations.size();
                         ++k) {
                        if (request_.chains[c].places[i] != request_.chains[o].places[k]) {
                            const GridPoint other = layout.chains[o].stations[k];
                            visit(std::pair{static_cast<int>(c), static_cast<int>(i)},
                                  (at.x - other.x) * (at.x - other.x) +
                                      (at.y - other.y) * (at.y - other.y));
                        }
                    }
                }
            }
        }
    }

    // Stations (chain, station) nearer than a separation and a unit to a station of another
    // place, once per such pair.
    std::vector<std::pair<int, int>> StationsTooClose(const SchematicLayout& layout) const {
        const int apart = request_.separation + 1;
        std::vector<std::pair<int, int>> close;
        ForEachPairOfPlaces(layout, [&](std::pair<int, int> station, int distance) {
            if (distance < apart * apart) {
                close.push_back(station);
            }
        });
        return close;
    }

    // Links (chain, link), once for each corner drawn in them.
    std::vector<std::pair<int, int>> Corners(const SchematicLayout& layout) const {
        std::vector<std::pair<int, int>> corners;
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            for (std::size_t l = 0; l < layout.chains[c].corners.size(); ++l) {
                corners.insert(corners.end(), layout.chains[c].corners[l].size(),
                               {static_cast<int>(c), static_cast<int>(l)});
            }
        }
        return corners;
    }

    // Links (chain, link) on another's track, named like the other faults a shift may make.
    std::vector<std::pair<int, int>> SharedLinks(const SchematicLayout& layout) const {
        return LinksOnSharedTrack(layout);
    }

    // Links (chain, link), once for each segment of theirs and station it passes.
    std::vector<std::pair<int, int>> LinksOverStations(const SchematicLayout& layout) const {
        std::vector<std::pair<int, int>> links;
        for (const Passing& passing : StationsPassed(request_, layout)) {
            links.push_back(passing.link);
        }
        return links;
    }

    // The links (chain, link) on either side of each station a link passes: moving their run
    // moves the station.
    std::vector<std::pair<int, int>> LinksAtStationsPassed(const SchematicLayout& layout) const {
        std::vector<std::pair<int, int>> links;
        for (const Passing& passing : StationsPassed(request_, layout)) {
            const auto [chain, station] = passing.station;
            const int count =
                static_cast<int>(layout.chains[static_cast<std::size_t>(chain)].corners.size());
            const int stations =
                static_cast<int>(layout.chains[static_cast<std::size_t>(chain)].stations.size());
            const int before =
                count == stations ? (station + stations - 1) % stations : station - 1;
            for (const int link : {before, station}) {
                if (link >= 0 && link < count) {
                    links.emplace_back(chain, link);
                }
            }
        }
        return links;
    }

    SchematicLayout Lay(const std::map<const struct Run*, int>& bases) const {
        SchematicLayout layout;
        layout.unrouted = unrouted_;
        for (std::size_t c = 0; c < request_.chains.size(); ++c) {
            layout.chains.push_back(LayChain(c, bases));
        }
        Separate(layout);
        return layout;
    }

    // One line record's stations and corners, before stations of different records on one spot
    // are moved apart.
    SchematicChain LayChain(std::size_t c, const std::map<const struct Run*, int>& bases) const {
        const PlaceChain& chain = request_.chains[c];
        const std::size_t n = chain.places.size();
        const std::size_t links = links_[c].size();
        std::vector<Stroke> strokes;
        for (std::size_t i = 0; i < links; ++i) {
            const auto& [run, reversed, nodes] = links_[c][i];
            const int slot = run == nullptr ? 0 : linkLanes_[c][i] + bases.at(run);
            // The run's own direction decides which side a slot lies on.
            for (std::size_t k = 0; k + 1 < nodes.size(); ++k) {
                const int d = DirectionOf(nodes[k], nodes[k + 1]);
                const int runDirection = reversed ? Opposite(d) : d;
                Stroke stroke{MapPoint(nodes[k]), k == 0, d,
                              d == kNoDirection ? GridPoint{} : Offset(runDirection, slot)};
                if (run == nullptr || DirectionOf(nodes[k], nodes[k + 1]) == kNoDirection ||
                    !IsGridStep(nodes[k], nodes[k + 1])) {
                    stroke.direction = kNoDirection;
                    stroke.offset = {};
                }
                strokes.push_back(stroke);
            }
        }
        if (!chain.isRing || n <= 2) {
            const int last = chain.places.back();
            strokes.push_back({MapPoint(At(std::max(0, nodeOf_[static_cast<std::size_t>(last)]))),
                               true,
                               kNoDirection,
                               {}});
        }
        return Trace(strokes, chain.isRing && n > 2, n);
    }

    // Where along a run a pair of neighbouring places lies: step indices on its path.
    struct Piece {
        const struct Run* run;
        int from;
        int to;
    };

    struct DrawnLink {
        const struct Run* run = nullptr;  // none where the link was drawn straight
        bool reversed = false;            // against the run's direction
        std::vector<GridPoint> nodes;     // from the first place to the second
    };

    // The link between two neighbouring places of a line record, straight where no run has it.
    DrawnLink Link(int a, int b) const {
        DrawnLink link;
        if (const auto f = pieces_.find({a, b}); f != pieces_.end()) {
            link.run = f->second.run;
            for (int s = f->second.from; s <= f->second.to; ++s) {
                link.nodes.push_back(link.run->path[static_cast<std::size_t>(s)]);
            }
        } else if (const auto r = pieces_.find({b, a}); r != pieces_.end()) {
            link.run = r->second.run;
            link.reversed = true;
            for (int s = r->second.to; s >= r->second.from; --s) {
                link.nodes.push_back(link.run->path[static_cast<std::size_t>(s)]);
            }
        } else {
            link.nodes = {At(std::max(0, nodeOf_[static_cast<std::size_t>(a)])),
                          At(std::max(0, nodeOf_[static_cast<std::size_t>(b)]))};
        }
        return link;
    }

    // The run a link (chain, link) is drawn along, or none where it was drawn straight.
    const struct Run* RunOf(std::pair<int, int> link) const {
        return links_[static_cast<std::size_t>(link.first)][static_cast<std::size_t>(link.second)]
            .run;
    }

    // The lane of a line record on a run, counted across the run from its first lane.
    int Position(const struct Run& run, std::size_t chain) const {
        const std::vector<int>& lanes = lanes_.at(&run);
        return static_cast<int>(std::find(lanes.begin(), lanes.end(), static_cast<int>(chain)) -
                                lanes.begin());
    }

    struct Onward {  // a line record going on from one run into another
        const struct Run* from;
        int fromSign;  // -1 where drawn against the run
        const struct Run* to;
        int toSign;
        std::size_t chain;
    };

    struct Fork {           // two line records of a run parting at its end
        int side;           // -1 where they arrive against the run: its slots count to the left
        std::size_t right;  // the one that turns further right
        std::size_t left;
    };

    struct LaneRules {
        std::vector<Onward> onwards;  // to keep in their lane, turning kLaneKeptTurn at most
        std::map<const struct Run*, std::vector<Fork>> forks;  // per run
    };

    // Where each line record goes on from one run into the next, and where records of a run
    // part at its ends.
    LaneRules Rules() const {
        struct Turn {  // a line record leaving a run's end into another run
            std::size_t chain;
            int turn;  // in steps of 45 degrees, to the right positive
            int side;
        };
        std::map<std::pair<const struct Run*, int>, std::vector<Turn>> turns;  // per run end
        LaneRules rules;
        for (std::size_t c = 0; c < request_.chains.size(); ++c) {
            const PlaceChain& chain = request_.chains[c];
            const std::size_t links = links_[c].size();
            const bool ring = links == chain.places.size();
            for (std::size_t i = 0; i + 1 < links || (ring && i < links); ++i) {
                const DrawnLink& one = links_[c][i];
                const DrawnLink& two = links_[c][(i + 1) % links];
                if (one.run == nullptr || two.run == nullptr || one.run == two.run ||
                    one.nodes.size() < 2 || two.nodes.size() < 2) {
                    continue;
                }
                const int in = DirectionOf(one.nodes[one.nodes.size() - 2], one.nodes.back());
                const int out = DirectionOf(two.nodes[0], two.nodes[1]);
                const int place = chain.places[(i + 1) % chain.places.size()];
                turns[{one.run, place}].push_back({c, SignedTurn(in, out), one.reversed ? -1 : 1});
                turns[{two.run, place}].push_back(
                    {c, SignedTurn(Opposite(out), Opposite(in)), two.reversed ? 1 : -1});
                if (Change(in, out) <= kLaneKeptTurn) {
                    rules.onwards.push_back(
                        {one.run, one.reversed ? -1 : 1, two.run, two.reversed ? -1 : 1, c});
                }
            }
        }
        for (const auto& [end, leaving] : turns) {
            for (const Turn& a : leaving) {
                for (const Turn& b : leaving) {
                    if (a.turn > b.turn) {
                        rules.forks[end.first].push_back({a.side, a.chain, b.chain});
                    }
                }
            }
        }
        return rules;
    }

    // Per run, the order of its line records across it (in lanes_) and the slot of its first:
    // centred or one off, and in the order, that keeps the most lines in their lane where they
    // go on into the next run (each lane change is two bends, and at a turn it draws the line
    // back across its neighbours) and lets the most part at its ends without crossing.
    std::map<const struct Run*, int> SlotBases() {
        const LaneRules rules = Rules();
        std::map<const struct Run*, int> bases;
        for (const struct Run& run : runs_) {
            bases[&run] = -(static_cast<int>(run.chains.size()) - 1) / 2;
            lanes_[&run] = run.chains;
        }
        const auto faults = [&](const struct Run* run) {
            int count = 0;
            if (const auto found = rules.forks.find(run); found != rules.forks.end()) {
                for (const Fork& fork : found->second) {
                    count += fork.side * Position(*run, fork.right) <=
                             fork.side * Position(*run, fork.left);
                }
            }
            for (const Onward& s : rules.onwards) {
                if (s.from == run || s.to == run) {
                    count += s.fromSign * (Position(*s.from, s.chain) + bases.at(s.from)) !=
                             s.toSign * (Position(*s.to, s.chain) + bases.at(s.to));
                }
            }
            return count;
        };
        for (int pass = 0; pass < 3; ++pass) {
            for (const struct Run& run : runs_) {
                const int size = static_cast<int>(run.chains.size());
                const int centred = -(size - 1) / 2;
                int fewest = faults(&run);
                std::pair<int, std::vector<int>> kept{bases[&run], lanes_[&run]};
                std::vector<int> order = run.chains;
                do {
                    for (const int b : {centred, centred - 1, centred + 1}) {
                        if (b > 0 || b < 1 - size || (b != centred && !LanesFit(b, size))) {
                            continue;
                        }
                        bases[&run] = b;
                        lanes_[&run] = order;
                        if (const int count = faults(&run); count < fewest) {
                            fewest = count;
                            kept = {b, order};
                        }
                    }
                } while (size <= kMostReorderedLanes &&
                         std::next_permutation(order.begin(), order.end()));
                bases[&run] = kept.first;
                lanes_[&run] = std::move(kept.second);
            }
        }
        return bases;
    }

    GridPoint At(int node) const { return {node % width_, node / width_}; }

    // Whether the lanes of a run of `size` records from slot `base` on stay less than a grid step
    // off its centre line: a lane farther out reaches the line of the next node, and its corners
    // overshoot the run's own.
    bool LanesFit(int base, int size) const {
        return std::max(std::abs(base), std::abs(base + size - 1)) * request_.separation <
               request_.grid;
    }

    // Map units of a grid node.
    GridPoint MapPoint(GridPoint node) const {
        return {static_cast<int>(std::lround(request_.box.left)) + node.x * request_.grid,
                static_cast<int>(std::lround(request_.box.top)) + node.y * request_.grid};
    }

    // The offset of a line record's stroke from the run's centre line, for a segment of the
    // run going in `direction`, in map units.
    GridPoint Offset(int direction, int slot) const {
        const GridPoint step = kSteps[static_cast<std::size_t>(direction)];
        const int amount =
            direction % 2 == 0
                ? request_.separation
                : std::max(1, static_cast<int>(std::lround(request_.separation / std::sqrt(2.0))));
        return {-step.y * slot * amount, step.x * slot * amount};
    }

    struct Stroke {
        GridPoint node;  // map units, where the run's centre line turns or a station is
        bool station = false;
        int direction = kNoDirection;  // of the segment after it
        GridPoint offset;              // of the segment after it
    };

    static bool IsGridStep(GridPoint a, GridPoint b) {
        return std::abs(a.x - b.x) <= 1 && std::abs(a.y - b.y) <= 1 && !(a == b);
    }

    // Where two offset strokes meet: the corner of the line drawn beside the centre line.
    static GridPoint Meet(GridPoint node, int inDirection, GridPoint inOffset, int outDirection,
                          GridPoint outOffset) {
        const GridPoint u = kSteps[static_cast<std::size_t>(inDirection)];
        const GridPoint v = kSteps[static_cast<std::size_t>(outDirection)];
        // node + inOffset + s u = node + outOffset + t v
        const int rx = outOffset.x - inOffset.x;
        const int ry = outOffset.y - inOffset.y;
        const int det = u.x * (-v.y) - u.y * (-v.x);
        if (det == 0) {
            return {node.x + inOffset.x, node.y + inOffset.y};
        }
        const double s = static_cast<double>(rx * (-v.y) - ry * (-v.x)) / det;
        return {node.x + inOffset.x + static_cast<int>(std::lround(s * u.x)),
                node.y + inOffset.y + static_cast<int>(std::lround(s * u.y))};
    }

    // The length of a stretch at a multiple of 45 degrees, in map units along its direction.
    static int Span(GridPoint a, GridPoint b) {
        return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
    }

    // How far `to` lies ahead of `from` in direction `d`, times d's length squared: positive
    // ahead, negative behind.
    static int Ahead(GridPoint from, GridPoint to, GridPoint d) {
        return (to.x - from.x) * d.x + (to.y - from.y) * d.y;
    }

    // The corner (or corners) of a line turning at `here` from the lane it arrives in into the
    // lane it leaves by, the line drawn so far ending at `last`. Where the lanes' lines meet
    // behind that point or beyond the next stroke (a lane changed across the turn), the line
    // would run back on itself: it goes on to the node in its lane instead and crosses to the
    // other lane in a third direction, turning by at most 90 degrees each time.
    static std::vector<GridPoint> Turn(const Stroke& before, const Stroke& here, const Stroke& next,
                                       std::optional<GridPoint> last) {
        const GridPoint meet =
            Meet(here.node, before.direction, before.offset, here.direction, here.offset);
        const GridPoint u = kSteps[static_cast<std::size_t>(before.direction)];
        const GridPoint v = kSteps[static_cast<std::size_t>(here.direction)];
        GridPoint arrive{here.node.x + before.offset.x, here.node.y + before.offset.y};
        const GridPoint leave{here.node.x + here.offset.x, here.node.y + here.offset.y};
        const auto along = [](GridPoint from, GridPoint to, GridPoint d) {
            return Ahead(from, to, d) / (d.x * d.x + d.y * d.y);
        };
        const bool ahead = last ? along(*last, meet, u) > 0
                                : along(arrive, meet, u) > -Span(before.node, here.node);
        if (ahead && along(leave, meet, v) < Span(here.node, next.node)) {
            return {meet};
        }
        if (last && along(*last, arrive, u) <= 0) {
            arrive = *last;
        }
        std::optional<std::pair<int, GridPoint>> best;  // turning in all, the corner
        for (int w = 0; w < 8; ++w) {
            const int turning = Change(before.direction, w) + Change(w, here.direction);
            if (Change(before.direction, w) > 2 || Change(w, here.direction) > 2 ||
                w == before.direction || w == here.direction || (best && best->first <= turning)) {
                continue;
            }
            // Where the way from `arrive` in direction w meets the lane it leaves by: at a whole
            // map unit on that lane, ahead of `arrive` and short of the next stroke.
            const GridPoint corner =
                Meet(arrive, w, {}, here.direction, {leave.x - arrive.x, leave.y - arrive.y});
            const bool onLane = (corner.x - leave.x) * v.y == (corner.y - leave.y) * v.x;
            if (onLane && along(arrive, corner, kSteps[static_cast<std::size_t>(w)]) > 0 &&
                along(leave, corner, v) < Span(here.node, next.node)) {
                best = {turning, corner};
            }
        }
        if (!best) {
            return {meet};
        }
        return {arrive, best->second};
    }

    // A step sideways from the lane a line arrives in at `here` to the one it leaves by, going
    // straight on: 45 degrees out and back. A step wider than the way to the next stroke starts
    // before the node, where the line drawn so far (to `last`) leaves room, so that the line
    // never runs back.
    static std::vector<GridPoint> SidewaysStep(const Stroke& before, const Stroke& here,
                                               const Stroke& next, std::optional<GridPoint> last) {
        const GridPoint u = kSteps[static_cast<std::size_t>(here.direction)];
        const int shift = Span(before.offset, here.offset);
        const int room = Span(here.node, next.node);
        const auto start = [&](int back) {
            return GridPoint{here.node.x + before.offset.x - u.x * back,
                             here.node.y + before.offset.y - u.y * back};
        };
        int back = shift >= room ? shift - room + 1 : 0;
        if (back > 0 && last && Ahead(*last, start(back), u) <= 0) {
            back = 0;  // no room behind either
        }
        return {start(back),
                {here.node.x + here.offset.x + u.x * (shift - back),
                 here.node.y + here.offset.y + u.y * (shift - back)}};
    }

    static SchematicChain Trace(const std::vector<Stroke>& strokes, bool ring,
                                std::size_t stations) {
        SchematicChain chain;
        chain.corners.assign(ring ? stations : stations - 1, {});
        const std::size_t count = strokes.size();
        int link = -1;
        std::optional<GridPoint> last;
        for (std::size_t k = 0; k < count; ++k) {
            const Stroke& here = strokes[k];
            const bool hasBefore = ring || k > 0;
            const Stroke& before = strokes[(k + count - 1) % count];
            const bool hasAfter = here.direction != kNoDirection;
            std::vector<GridPoint> points;
            if (hasBefore && before.direction != kNoDirection && hasAfter) {
                if (Change(before.direction, here.direction) == 0 &&
                    !(before.offset == here.offset)) {
                    points = SidewaysStep(before, here, strokes[(k + 1) % count], last);
                } else if (Change(before.direction, here.direction) == 0) {
                    points = {{here.node.x + here.offset.x, here.node.y + here.offset.y}};
                } else {
                    points = Turn(before, here, strokes[(k + 1) % count], last);
                }
            } else if (hasAfter) {
                points = {{here.node.x + here.offset.x, here.node.y + here.offset.y}};
            } else if (hasBefore && before.direction != kNoDirection) {
                points = {{here.node.x + before.offset.x, here.node.y + before.offset.y}};
            } else {
                points = {here.node};
            }
            if (here.station) {
                ++link;
                chain.stations.push_back(points.front());
                if (link > 0) {
                    // Drop a corner that is the station itself.
                    auto& corners = chain.corners[static_cast<std::size_t>(link - 1)];
                    if (!corners.empty() && corners.back() == points.front()) {
                        corners.pop_back();
                    }
                }
                for (std::size_t i = 1; i < points.size(); ++i) {
                    if (static_cast<std::size_t>(link) < chain.corners.size()) {
                        chain.corners[static_cast<std::size_t>(link)].push_back(points[i]);
                    }
                }
            } else if (link >= 0 && static_cast<std::size_t>(link) < chain.corners.size()) {
                auto& corners = chain.corners[static_cast<std::size_t>(link)];
                const bool straight =
                    hasBefore && before.direction == here.direction && before.offset == here.offset;
                if (!straight) {
                    corners.insert(corners.end(), points.begin(), points.end());
                }
            }
            last = points.back();
        }
        if (ring && !chain.corners.empty() && !chain.stations.empty()) {
            auto& corners = chain.corners.back();
            if (!corners.empty() && corners.back() == chain.stations.front()) {
                corners.pop_back();
            }
        }
        return chain;
    }

    // Stations of different records drawn on one spot: all but the first slide along their
    // line by a line's separation, leaving a corner where they stood when the line turns there.
    void Separate(SchematicLayout& layout) const {
        // Spots as x and y in one number: looked up for every station of every trial layout.
        std::unordered_set<std::int64_t> taken;
        const auto key = [](GridPoint p) {
            return (static_cast<std::int64_t>(p.x) << 32) ^ static_cast<std::uint32_t>(p.y);
        };
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            SchematicChain& chain = layout.chains[c];
            const std::size_t n = chain.stations.size();
            const bool ring = chain.corners.size() == n && n > 2;
            for (std::size_t i = 0; i < n; ++i) {
                GridPoint& spot = chain.stations[i];
                if (taken.insert(key(spot)).second) {
                    continue;
                }
                const auto nextOf = [&]() -> std::optional<GridPoint> {
                    if (i < chain.corners.size()) {
                        return chain.corners[i].empty() ? chain.stations[(i + 1) % n]
                                                        : chain.corners[i].front();
                    }
                    return std::nullopt;
                };
                const auto previousOf = [&]() -> std::optional<GridPoint> {
                    if (i > 0 || ring) {
                        const std::size_t link = (i + n - 1) % n;
                        return chain.corners[link].empty() ? chain.stations[link]
                                                           : chain.corners[link].back();
                    }
                    return std::nullopt;
                };
                const std::optional<GridPoint> next = nextOf();
                const std::optional<GridPoint> previous = previousOf();
                bool moved = false;
                for (int amount = request_.separation; amount <= 3 * request_.separation && !moved;
                     amount += request_.separation) {
                    for (const bool forward : {true, false}) {
                        const std::optional<GridPoint> toward = forward ? next : previous;
                        if (!toward) {
                            continue;
                        }
                        const int d = DirectionOf(spot, *toward);
                        if (d == kNoDirection) {
                            continue;
                        }
                        const GridPoint step = kSteps[static_cast<std::size_t>(d)];
                        const int unit = d % 2 == 0 ? amount : std::max(1, amount * 7 / 10);
                        const GridPoint to{spot.x + step.x * unit, spot.y + step.y * unit};
                        const int room =
                            std::max(std::abs(toward->x - spot.x), std::abs(toward->y - spot.y));
                        if (std::max(std::abs(to.x - spot.x), std::abs(to.y - spot.y)) >= room ||
                            taken.contains(key(to))) {
                            continue;
                        }
                        const std::optional<GridPoint> other = forward ? previous : next;
                        const bool corner =
                            other && DirectionOf(*other, spot) != DirectionOf(spot, *toward);
                        if (corner) {
                            auto& list =
                                forward ? chain.corners[(i + n - 1) % n] : chain.corners[i];
                            if (forward) {
                                list.push_back(spot);
                            } else {
                                list.insert(list.begin(), spot);
                            }
                        }
                        spot = to;
                        moved = true;
                        break;
                    }
                }
                taken.insert(key(spot));
            }
        }
    }

    const SchematicRequest& request_;
    const std::vector<Run>& runs_;
    const std::vector<int>& nodeOf_;  // per place
    const int width_;
    const int unrouted_;
    const DrawingPass pass_;
    std::map<std::pair<int, int>, Piece> pieces_;
    std::map<const struct Run*, std::vector<int>> lanes_;  // per run, its records across it
    std::vector<std::vector<int>> linkLanes_;    // per line record and link, its lane on the run
    std::vector<std::vector<DrawnLink>> links_;  // per line record, each of its links
};

}  // namespace

std::vector<std::pair<int, int>> LinksOnSharedTrack(const SchematicLayout& layout) {
    struct Segment {
        GridPoint a;
        GridPoint b;
        int chain;
        int link;
    };
    std::vector<Segment> segments;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        for (std::size_t l = 0; l < layout.chains[c].corners.size(); ++l) {
            const std::vector<GridPoint> path = LinkPath(layout.chains[c], l);
            for (std::size_t k = 0; k + 1 < path.size(); ++k) {
                if (!(path[k] == path[k + 1])) {
                    segments.push_back(
                        {path[k], path[k + 1], static_cast<int>(c), static_cast<int>(l)});
                }
            }
        }
    }
    // Segments sharing a stretch overlap in x: each meets only those starting before it
    // ends, in order of their western ends.
    const auto west = [](const Segment& s) { return std::min(s.a.x, s.b.x); };
    const auto east = [](const Segment& s) { return std::max(s.a.x, s.b.x); };
    std::sort(segments.begin(), segments.end(),
              [&west](const Segment& p, const Segment& q) { return west(p) < west(q); });
    std::vector<std::pair<int, int>> shared;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        for (std::size_t j = i + 1; j < segments.size() && west(segments[j]) <= east(segments[i]);
             ++j) {
            const Segment& p = segments[i];
            const Segment& q = segments[j];
            if ((p.chain != q.chain || p.link != q.link) &&
                SharesStretch(Wide(p.a), Wide(p.b), Wide(q.a), Wide(q.b))) {
                shared.push_back({p.chain, p.link});
                shared.push_back({q.chain, q.link});
            }
        }
    }
    std::sort(shared.begin(), shared.end());
    shared.erase(std::unique(shared.begin(), shared.end()), shared.end());
    return shared;
}

// Each segment of a link and station it passes closer than a station's radius, the station
// of a place the link's line record does not serve.
std::vector<Passing> StationsPassed(const SchematicRequest& request,
                                    const SchematicLayout& layout) {
    const double radius = request.separation - 1;
    // The stations (chain, station) in square cells of the map: a link's box, widened by the
    // radius, holds those of a few cells.
    std::optional<PathBox> spread;
    for (const SchematicChain& chain : layout.chains) {
        for (const GridPoint& p : chain.stations) {
            if (!spread) {
                spread = PathBox{p, p};
            }
            spread->Take(p);
        }
    }
    if (!spread) {
        return {};
    }
    const PathBox bounds = *spread;
    constexpr int kCell = 16;
    const int columns = (bounds.high.x - bounds.low.x) / kCell + 1;
    const int rows = (bounds.high.y - bounds.low.y) / kCell + 1;
    std::vector<std::vector<std::pair<int, int>>> cells(static_cast<std::size_t>(columns) *
                                                        static_cast<std::size_t>(rows));
    const auto cellOf = [&](int x, int y) {
        return static_cast<std::size_t>((y - bounds.low.y) / kCell) *
                   static_cast<std::size_t>(columns) +
               static_cast<std::size_t>((x - bounds.low.x) / kCell);
    };
    for (std::size_t o = 0; o < layout.chains.size(); ++o) {
        for (std::size_t i = 0; i < layout.chains[o].stations.size(); ++i) {
            const GridPoint at = layout.chains[o].stations[i];
            cells[cellOf(at.x, at.y)].emplace_back(static_cast<int>(o), static_cast<int>(i));
        }
    }
    const auto stationAt = [&layout](std::pair<int, int> station) {
        return layout.chains[static_cast<std::size_t>(station.first)]
            .stations[static_cast<std::size_t>(station.second)];
    };
    // The cell holding a coordinate along one axis, or the nearest one where none does.
    const auto clampedCell = [](double at, int from, int count) {
        return std::clamp(static_cast<int>(std::floor((at - from) / kCell)), 0, count - 1);
    };
    std::vector<std::pair<int, int>> near;
    std::vector<Passing> found;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        const std::vector<int>& served = request.chains[c].places;
        for (std::size_t l = 0; l < layout.chains[c].corners.size(); ++l) {
            const std::vector<GridPoint> path = LinkPath(layout.chains[c], l);
            // Stations beyond the radius from the path's box are not passed: most are.
            const PathBox box = BoxOf(path);
            const GridPoint low = box.low;
            const GridPoint high = box.high;
            near.clear();
            const int west = clampedCell(low.x - radius, bounds.low.x, columns);
            const int east = clampedCell(high.x + radius, bounds.low.x, columns);
            const int north = clampedCell(low.y - radius, bounds.low.y, rows);
            const int south = clampedCell(high.y + radius, bounds.low.y, rows);
            for (int row = north; row <= south; ++row) {
                for (int column = west; column <= east; ++column) {
                    for (const std::pair<int, int>& station :
                         cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                               static_cast<std::size_t>(column)]) {
                        const GridPoint at = stationAt(station);
                        if (at.x > low.x - radius && at.x < high.x + radius &&
                            at.y > low.y - radius && at.y < high.y + radius) {
                            near.push_back(station);
                        }
                    }
                }
            }
            std::sort(near.begin(), near.end());
            for (const auto& [o, i] : near) {
                const GridPoint at = stationAt({o, i});
                const int place =
                    request.chains[static_cast<std::size_t>(o)].places[static_cast<std::size_t>(i)];
                if (std::find(served.begin(), served.end(), place) != served.end()) {
                    continue;
                }
                for (std::size_t k = 0; k + 1 < path.size(); ++k) {
                    PathBox segment{path[k], path[k]};
                    segment.Take(path[k + 1]);
                    if (segment.AtLeast(radius, at)) {
                        continue;  // no root to take
                    }
                    if (DistanceToSegment(Wide(at), Wide(path[k]), Wide(path[k + 1])) < radius) {
                        found.push_back({{static_cast<int>(c), static_cast<int>(l)}, {o, i}});
                    }
                }
            }
        }
    }
    return found;
}

SchematicLayout DrawSchematic(const SchematicRequest& request, const std::vector<Run>& runs,
                              const std::vector<int>& nodeOf, int width, int unrouted,
                              DrawingPass pass) {
    return Drawing(request, runs, nodeOf, width, unrouted, pass).Draw();
}

}  // namespace qv::import::schematic
