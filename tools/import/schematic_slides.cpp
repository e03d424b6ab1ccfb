#include "schematic_slides.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <numeric>
#include <optional>
#include <set>

#include "schematic_grid.h"
#include "square_cells.h"

namespace qv::import::schematic {

namespace {

constexpr int kApartRounds = 3;  // passes sliding stations apart, at most
constexpr int kLinkCell = 16;    // map units a side of the cells that find links near a spot

// The crossings the request gives, each link as its places, the smaller first.
std::set<LinkCrossing> WantedCrossings(const SchematicRequest& request) {
    std::set<LinkCrossing> wanted;
    for (const auto& [one, other] : request.crossings.value_or(std::vector<LinkCrossing>{})) {
        const std::pair<int, int> a = std::minmax(one.first, one.second);
        const std::pair<int, int> b = std::minmax(other.first, other.second);
        wanted.insert(std::minmax(a, b));
    }
    return wanted;
}

// The box of a chain's link, without building its path.
PathBox BoxOfLink(const SchematicChain& chain, std::size_t link) {
    PathBox box{chain.stations[link], chain.stations[link]};
    for (const GridPoint& p : chain.corners[link]) {
        box.Take(p);
    }
    box.Take(chain.stations[(link + 1) % chain.stations.size()]);
    return box;
}

// Whether a link, as its places, is in any of the crossings to keep: most are in none, and
// looking up each pair of links was a tenth of the drawing's time.
bool InAnyCrossing(const std::set<LinkCrossing>& wanted, std::pair<int, int> link) {
    return std::any_of(wanted.begin(), wanted.end(), [link](const LinkCrossing& crossing) {
        return crossing.first == link || crossing.second == link;
    });
}

// Whether two links drawn along `path` and `across` cross (running along each other is no
// crossing).
bool DrawnAcross(const std::vector<GridPoint>& path, const std::vector<GridPoint>& across) {
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        for (std::size_t j = 0; j + 1 < across.size(); ++j) {
            if (!SharesStretch(Wide(path[i]), Wide(path[i + 1]), Wide(across[j]),
                               Wide(across[j + 1])) &&
                SegmentsMeet(Wide(path[i]), Wide(path[i + 1]), Wide(across[j]),
                             Wide(across[j + 1]))) {
                return true;
            }
        }
    }
    return false;
}

// Per chain, how many of its things `count` finds (stations, links).
template <typename Count>
std::vector<std::size_t> PerChain(const SchematicLayout& layout, Count count) {
    std::vector<std::size_t> counts;
    for (const SchematicChain& chain : layout.chains) {
        counts.push_back(count(chain));
    }
    return counts;
}

// The least distance from `spot` to a chain's link, corners and all, without building its path.
double DistanceToLink(GridPoint spot, const SchematicChain& chain, std::size_t link) {
    double nearest = std::numeric_limits<double>::infinity();
    GridPoint from = chain.stations[link];
    const auto reach = [&](GridPoint to) {
        nearest = std::min(nearest, DistanceToSegment(Wide(spot), Wide(from), Wide(to)));
        from = to;
    };
    for (const GridPoint& corner : chain.corners[link]) {
        reach(corner);
    }
    reach(chain.stations[(link + 1) % chain.stations.size()]);
    return nearest;
}

class Slides {
  public:
    Slides(const SchematicRequest& request, SchematicLayout& layout)
        : request_(request),
          layout_(layout),
          reach_(request.separation + 1),
          stationCells_(
              reach_,
              PerChain(layout, [](const SchematicChain& chain) { return chain.stations.size(); })),
          linkCells_(kLinkCell, PerChain(layout, [](const SchematicChain& chain) {
                         return chain.corners.size();
                     })) {
        for (std::size_t c = 0; c < layout_.chains.size(); ++c) {
            for (std::size_t i = 0; i < layout_.chains[c].stations.size(); ++i) {
                const GridPoint at = layout_.chains[c].stations[i];
                stationCells_.Put({c, i}, at, at);
            }
            boxes_.emplace_back();
            Rebox(c);
            const std::vector<int>& places = request_.chains[c].places;
            std::vector<std::pair<int, int>>& links = linkPlaces_.emplace_back();
            for (std::size_t l = 0; l < layout_.chains[c].corners.size(); ++l) {
                links.push_back(std::minmax(places[l], places[(l + 1) % places.size()]));
            }
        }
    }

    // Each station left within a station's radius of a line that does not serve it, or whose
    // links cross other lines where they are not to (or not where they are), slides along its
    // line, over other lines where it must, to the nearest free spot that leaves fewest of
    // those faults, keeping its distance from other places' stations.
    void KeepClear() {
        const std::set<LinkCrossing> wanted = WantedCrossings(request_);
        const double apart = reach_;
        CountWrongCrossings(wanted);
        for (std::size_t c = 0; c < layout_.chains.size(); ++c) {
            SchematicChain& chain = layout_.chains[c];
            const std::size_t n = chain.stations.size();
            for (std::size_t i = 0; i < n && n > 1; ++i) {
                const Way way = WayThrough(chain, i);
                const std::size_t before = (i + n - 1) % n;
                const auto wrong = [&](const SlidWay& slid) {
                    if (!request_.crossings) {
                        return 0;
                    }
                    return (way.hasPrevious ? WrongCrossings(wanted, c, before, slid.Before())
                                            : 0) +
                           (way.hasNext ? WrongCrossings(wanted, c, i, slid.After()) : 0);
                };
                const int place = request_.chains[c].places[i];
                int fewest = (way.hasPrevious ? wrongCounts_[c][before] : 0) +
                             (way.hasNext ? wrongCounts_[c][i] : 0) +
                             (OverLine(place, chain.stations[i]) ? 1 : 0);
                if (fewest == 0) {
                    continue;
                }
                const double clearance = std::min(apart, Clearance(c, i, chain.stations[i]));
                std::optional<std::pair<Slide, int>> best;
                for (const std::vector<Slide>& spots : SpotsAlong(way, 2 * request_.grid)) {
                    for (const Slide& spot : spots) {
                        if (Clearance(c, i, spot.to) < clearance ||
                            !FreeForStation(place, spot.to)) {
                            continue;
                        }
                        const int count = wrong(SlidWay(way, spot));
                        if (count < fewest ||
                            (best && count == fewest && spot.length < best->first.length)) {
                            fewest = count;
                            best = {spot, count};
                        }
                    }
                }
                if (best) {
                    std::vector<std::size_t> moved;
                    if (way.hasPrevious) {
                        moved.push_back(before);
                    }
                    if (way.hasNext) {
                        moved.push_back(i);
                    }
                    Recount(wanted, c, moved, -1);
                    Move(c, i, way, best->first);
                    Recount(wanted, c, moved, +1);
                }
            }
        }
    }

    // Stations of different places closer than a line separation and a unit: each slides
    // along its own line, off a corner it stands on (the corner stays), to the nearest spot
    // that leaves it farther from the others, without coming onto another line or station.
    void KeepApart() {
        const double wanted = reach_;
        // Stations another line runs through move last: the lines would meet where no station is.
        for (const bool pinnedToo : {false, true}) {
            for (int round = 0; round < kApartRounds; ++round) {
                if (!SlideApart(wanted, pinnedToo)) {
                    break;
                }
            }
        }
    }

  private:
    // The least distance from `spot` to a station of another place than chain c's station i,
    // or reach_ where none is nearer (the slides ask no farther).
    double Clearance(std::size_t c, std::size_t i, GridPoint spot) const {
        const int place = request_.chains[c].places[i];
        // Squared while searching: a root per station was most of the slides' time.
        int nearest = reach_ * reach_;
        stationCells_.ForEachIn(
            Shifted(spot, -reach_), Shifted(spot, reach_), [&](std::size_t o, std::size_t k) {
                if (request_.chains[o].places[k] != place) {
                    const GridPoint at = layout_.chains[o].stations[k];
                    nearest = std::min(nearest, (at.x - spot.x) * (at.x - spot.x) +
                                                    (at.y - spot.y) * (at.y - spot.y));
                }
            });
        return std::sqrt(static_cast<double>(nearest));
    }

    // Whether a station of `place` at `spot` would be clear of every other station's spot and
    // of the lines that do not serve the place.
    bool FreeForStation(int place, GridPoint spot) const {
        bool taken = false;
        stationCells_.ForEachIn(spot, spot, [&](std::size_t o, std::size_t k) {
            taken = taken || layout_.chains[o].stations[k] == spot;
        });
        return !taken && !OverLine(place, spot);
    }

    // Whether another record's line runs through chain c's station i: leaving its spot would
    // leave the lines meeting where no station is.
    bool Pinned(std::size_t c, std::size_t i) const {
        return LineWithin(layout_.chains[c].stations[i], 1, [c](std::size_t o) { return o == c; });
    }

    // Whether `spot` lies within a station's radius of a line that does not serve `place`.
    bool OverLine(int place, GridPoint spot) const {
        return LineWithin(spot, request_.separation - 1, [&](std::size_t o) {
            const std::vector<int>& served = request_.chains[o].places;
            return std::find(served.begin(), served.end(), place) != served.end();
        });
    }

    // Whether the line of a chain other than those `skip` names passes nearer than `distance`.
    template <typename Skip>
    bool LineWithin(GridPoint spot, double distance, Skip skip) const {
        const int reach = static_cast<int>(std::ceil(distance));
        bool within = false;
        linkCells_.ForEachIn(
            Shifted(spot, -reach), Shifted(spot, reach), [&](std::size_t o, std::size_t l) {
                within = within || (!boxes_[o][l].AtLeast(distance, spot) && !skip(o) &&
                                    DistanceToLink(spot, layout_.chains[o], l) < distance);
            });
        return within;
    }

    static bool Octilinear(GridPoint a, GridPoint b) {
        const int dx = std::abs(a.x - b.x);
        const int dy = std::abs(a.y - b.y);
        return dx == 0 || dy == 0 || dx == dy;
    }

    // One pass of KeepApart over the stations; whether any moved.
    bool SlideApart(double wanted, bool pinnedToo) {
        bool moved = false;
        for (std::size_t c = 0; c < layout_.chains.size(); ++c) {
            for (std::size_t i = 0; i < layout_.chains[c].stations.size(); ++i) {
                moved = SlideStation(c, i, wanted, pinnedToo) || moved;
            }
        }
        return moved;
    }

    // The line through a chain's station from the station before (if any) to the one after,
    // corners included; a line's end reaches on, straight, by a separation.
    struct Way {
        std::vector<GridPoint> points;
        std::size_t at = 0;  // the station's index
        bool hasPrevious = false;
        bool hasNext = false;
    };

    Way WayThrough(const SchematicChain& chain, std::size_t i) const {
        const std::size_t n = chain.stations.size();
        const std::size_t before = (i + n - 1) % n;
        Way way;
        way.hasPrevious = i > 0 || (chain.corners.size() == n && n > 2);
        way.hasNext = i < chain.corners.size();
        if (way.hasPrevious) {
            way.points.push_back(chain.stations[before]);
            way.points.insert(way.points.end(), chain.corners[before].begin(),
                              chain.corners[before].end());
        }
        way.at = way.points.size();
        way.points.push_back(chain.stations[i]);
        if (way.hasNext) {
            way.points.insert(way.points.end(), chain.corners[i].begin(), chain.corners[i].end());
            way.points.push_back(chain.stations[(i + 1) % n]);
        }
        if (way.hasPrevious != way.hasNext) {
            const GridPoint spot = chain.stations[i];
            const GridPoint inner = way.points[way.hasNext ? way.at + 1 : way.at - 1];
            const int d = DirectionOf(inner, spot);
            if (d != kNoDirection && Octilinear(inner, spot)) {
                const GridPoint step = kSteps[static_cast<std::size_t>(d)];
                const GridPoint beyond{spot.x + step.x * request_.separation,
                                       spot.y + step.y * request_.separation};
                if (way.hasNext) {
                    way.points.insert(way.points.begin(), beyond);
                    ++way.at;
                } else {
                    way.points.push_back(beyond);
                }
            }
        }
        return way;
    }

    struct Slide {
        GridPoint to;
        std::size_t after = 0;  // the point of the way it follows, going forward
        int length = 0;         // map units along the way
    };

    // The spots along the way from its station, forwards and then backwards, each in the order
    // met, short of the way's ends and within `reach` map units along it.
    std::array<std::vector<Slide>, 2> SpotsAlong(const Way& way, int reach) const {
        std::array<std::vector<Slide>, 2> spots;
        const std::size_t ends = way.points.size() - 1;
        for (const bool forward : {true, false}) {
            int length = 0;
            for (std::size_t j = way.at; forward ? j < ends : j > 0; forward ? ++j : --j) {
                const GridPoint from = way.points[j];
                const std::size_t toward = forward ? j + 1 : j - 1;
                const GridPoint target = way.points[toward];
                if (!Octilinear(from, target) || from == target) {
                    break;
                }
                const GridPoint step = kSteps[static_cast<std::size_t>(DirectionOf(from, target))];
                const int span = std::max(std::abs(target.x - from.x), std::abs(target.y - from.y));
                const bool last = toward == 0 || toward == ends;
                for (int k = 1; k <= span - (last ? 1 : 0) && length < reach; ++k) {
                    spots[forward ? 0 : 1].push_back({{from.x + step.x * k, from.y + step.y * k},
                                                      forward ? j : j - 1,
                                                      ++length});
                }
            }
        }
        return spots;
    }

    // Of the spots along the way not over another line (the crossing would change links), the
    // one that takes chain c's station i farthest from other places' stations (up to `wanted`),
    // the nearer first.
    std::optional<Slide> BestSlide(std::size_t c, std::size_t i, const Way& way,
                                   double wanted) const {
        const int place = request_.chains[c].places[i];
        const double clearance = Clearance(c, i, way.points[way.at]);
        std::optional<Slide> best;
        double most = 0;
        for (const std::vector<Slide>& spots : SpotsAlong(way, request_.grid)) {
            for (const Slide& spot : spots) {
                if (!FreeForStation(place, spot.to)) {
                    break;
                }
                const double gain = std::min(wanted, Clearance(c, i, spot.to)) - clearance;
                if (gain > most || (best && gain == most && spot.length < best->length)) {
                    most = gain;
                    best = spot;
                }
            }
        }
        return best;
    }

    // The way once its station has slid: the points kept, less those where it runs straight on,
    // and which of them is the station.
    struct SlidWay {
        std::vector<GridPoint> kept;
        std::size_t station = 0;

        SlidWay(const Way& way, const Slide& slide) {
            std::vector<GridPoint> points;
            std::size_t at = 0;
            for (std::size_t j = 0; j < way.points.size(); ++j) {
                if (!(way.points[j] == slide.to)) {
                    points.push_back(way.points[j]);
                }
                if (j == slide.after) {
                    at = points.size();
                    points.push_back(slide.to);
                }
            }
            for (std::size_t j = 0; j < points.size(); ++j) {
                const bool end = j == 0 || j + 1 == points.size() || j == at;
                if (!end && DirectionOf(points[j - 1], points[j]) ==
                                DirectionOf(points[j], points[j + 1])) {
                    continue;
                }
                if (j == at) {
                    station = kept.size();
                }
                kept.push_back(points[j]);
            }
        }
        // The paths of the links before and after the station: a way starts at the station
        // before and ends at the one after, where the station has them.
        std::vector<GridPoint> Before() const {
            return {kept.begin(), kept.begin() + static_cast<std::ptrdiff_t>(station) + 1};
        }
        std::vector<GridPoint> After() const {
            return {kept.begin() + static_cast<std::ptrdiff_t>(station), kept.end()};
        }
    };

    // Puts chain c's station i where `slide` takes it along `way`: the corners before and after
    // it are those of the way on either side, less the points where it runs straight on.
    static void PutOnWay(SchematicChain& chain, std::size_t i, const Way& way, const Slide& slide) {
        const SlidWay slid(way, slide);
        const auto stationAt = slid.kept.begin() + static_cast<std::ptrdiff_t>(slid.station);
        chain.stations[i] = slide.to;
        if (way.hasPrevious) {
            const std::size_t n = chain.stations.size();
            chain.corners[(i + n - 1) % n].assign(slid.kept.begin() + 1, stationAt);
        }
        if (way.hasNext) {
            chain.corners[i].assign(stationAt + 1, slid.kept.end() - 1);
        }
    }

    // Puts chain c's station i where `slide` takes it along `way`, its cell and boxes following.
    void Move(std::size_t c, std::size_t i, const Way& way, const Slide& slide) {
        const GridPoint from = layout_.chains[c].stations[i];
        PutOnWay(layout_.chains[c], i, way, slide);
        stationCells_.Remove({c, i}, from, from);
        stationCells_.Put({c, i}, slide.to, slide.to);
        Rebox(c);
    }

    // Slides chain c's station i along its line where it stands nearer than `wanted` to
    // another place's station; whether it moved.
    bool SlideStation(std::size_t c, std::size_t i, double wanted, bool pinnedToo) {
        SchematicChain& chain = layout_.chains[c];
        if (chain.stations.size() < 2 || Clearance(c, i, chain.stations[i]) >= wanted ||
            (!pinnedToo && Pinned(c, i))) {
            return false;
        }
        const Way way = WayThrough(chain, i);
        const std::optional<Slide> slide = BestSlide(c, i, way, wanted);
        if (slide) {
            Move(c, i, way, *slide);
        }
        return slide.has_value();
    }

    // Calls visit(o, k) for each chain o's link k that crosses chain c's link l (drawn along
    // `path`) and is not to, or is to and does not; links sharing a place with it never count.
    template <typename Visit>
    void ForEachWrongCrossing(const std::set<LinkCrossing>& wanted, std::size_t c, std::size_t l,
                              const std::vector<GridPoint>& path, Visit visit) const {
        const std::pair<int, int> own = linkPlaces_[c][l];
        const bool ownWanted = linkWanted_[c][l];
        const PathBox box = BoxOf(path);
        const auto judge = [&](std::size_t o, std::size_t k) {
            const std::pair<int, int> link = linkPlaces_[o][k];
            if (ShareAPlace(own, link)) {
                return;
            }
            const bool across =
                !box.Apart(boxes_[o][k]) && DrawnAcross(path, LinkPath(layout_.chains[o], k));
            if (across !=
                (ownWanted && linkWanted_[o][k] && wanted.contains(std::minmax(own, link)))) {
                visit(o, k);
            }
        };
        // Only links near it can cross it, but it may be to cross links far from it.
        std::vector<SquareCells::Thing> far =
            ownWanted ? partners_[c][l] : std::vector<SquareCells::Thing>{};
        linkCells_.ForEachIn(box.low, box.high, [&](std::size_t o, std::size_t k) {
            std::erase(far, SquareCells::Thing{o, k});
            judge(o, k);
        });
        for (const auto& [o, k] : far) {
            judge(o, k);
        }
    }

    int WrongCrossings(const std::set<LinkCrossing>& wanted, std::size_t c, std::size_t l,
                       const std::vector<GridPoint>& path) const {
        int wrong = 0;
        ForEachWrongCrossing(wanted, c, l, path, [&wrong](std::size_t, std::size_t) { ++wrong; });
        return wrong;
    }

    // Per link, how many others it crosses wrongly: kept up to date as stations move, as
    // looking at every link for every station was most of the slides' time.
    void CountWrongCrossings(const std::set<LinkCrossing>& wanted) {
        linkWanted_.clear();
        std::vector<SquareCells::Thing> inCrossings;
        for (std::size_t c = 0; c < linkPlaces_.size(); ++c) {
            std::vector<bool>& flags = linkWanted_.emplace_back();
            for (std::size_t l = 0; l < linkPlaces_[c].size(); ++l) {
                flags.push_back(InAnyCrossing(wanted, linkPlaces_[c][l]));
                if (flags.back()) {
                    inCrossings.emplace_back(c, l);
                }
            }
        }
        partners_.assign(linkPlaces_.size(), {});
        for (std::size_t c = 0; c < linkPlaces_.size(); ++c) {
            partners_[c].resize(linkPlaces_[c].size());
        }
        for (const auto& [c, l] : inCrossings) {
            const std::pair<int, int> own = linkPlaces_[c][l];
            for (const auto& [o, k] : inCrossings) {
                const std::pair<int, int> link = linkPlaces_[o][k];
                if (!ShareAPlace(own, link) && wanted.contains(std::minmax(own, link))) {
                    partners_[c][l].emplace_back(o, k);
                }
            }
        }
        wrongCounts_.clear();
        for (std::size_t c = 0; c < layout_.chains.size(); ++c) {
            std::vector<int>& counts = wrongCounts_.emplace_back();
            for (std::size_t l = 0; l < layout_.chains[c].corners.size(); ++l) {
                counts.push_back(request_.crossings
                                     ? WrongCrossings(wanted, c, l, LinkPath(layout_.chains[c], l))
                                     : 0);
            }
        }
    }

    // Takes chain c's links `links` out of the counts (sign -1, before they move) or puts them
    // back in (+1, after): theirs and those of the links they cross wrongly.
    void Recount(const std::set<LinkCrossing>& wanted, std::size_t c,
                 const std::vector<std::size_t>& links, int sign) {
        if (!request_.crossings) {
            return;
        }
        for (const std::size_t l : links) {
            int own = 0;
            ForEachWrongCrossing(wanted, c, l, LinkPath(layout_.chains[c], l),
                                 [&](std::size_t o, std::size_t k) {
                                     ++own;
                                     // The other moved link shares the station: never counted.
                                     wrongCounts_[o][k] += sign;
                                 });
            wrongCounts_[c][l] = sign > 0 ? own : 0;
        }
    }

    // The boxes of chain c's links, after its stations moved.
    void Rebox(std::size_t c) {
        const SchematicChain& chain = layout_.chains[c];
        for (std::size_t l = 0; l < boxes_[c].size(); ++l) {
            linkCells_.Remove({c, l}, boxes_[c][l].low, boxes_[c][l].high);
        }
        boxes_[c].clear();
        for (std::size_t l = 0; l < chain.corners.size(); ++l) {
            boxes_[c].push_back(BoxOfLink(chain, l));
            linkCells_.Put({c, l}, boxes_[c][l].low, boxes_[c][l].high);
        }
    }

    static GridPoint Shifted(GridPoint p, int by) { return {p.x + by, p.y + by}; }

    const SchematicRequest& request_;
    SchematicLayout& layout_;
    // Per chain, the box of each link.
    std::vector<std::vector<PathBox>> boxes_;
    // Per chain and link, its places, the smaller first.
    std::vector<std::vector<std::pair<int, int>>> linkPlaces_;
    // Per chain and link, while keeping clear: whether it is in a crossing to keep, and how many
    // others it crosses wrongly.
    std::vector<std::vector<bool>> linkWanted_;
    // Per chain and link in a crossing to keep, the links it is to cross, wherever they are.
    std::vector<std::vector<std::vector<SquareCells::Thing>>> partners_;
    std::vector<std::vector<int>> wrongCounts_;
    // How far apart stations of two places are wanted: the farthest the slides look for them.
    int reach_;
    SquareCells stationCells_;
    SquareCells linkCells_;  // the links by their boxes
};

}  // namespace

std::vector<GridPoint> LinkPath(const SchematicChain& chain, std::size_t link) {
    std::vector<GridPoint> path{chain.stations[link]};
    path.insert(path.end(), chain.corners[link].begin(), chain.corners[link].end());
    path.push_back(chain.stations[(link + 1) % chain.stations.size()]);
    return path;
}

PathBox BoxOf(const std::vector<GridPoint>& path) {
    PathBox box{path.front(), path.front()};
    for (const GridPoint& p : path) {
        box.Take(p);
    }
    return box;
}

std::vector<std::pair<int, int>> LinksCrossedWrongly(const SchematicRequest& request,
                                                     const SchematicLayout& layout) {
    if (!request.crossings) {
        return {};
    }
    const std::set<LinkCrossing> wanted = WantedCrossings(request);
    struct Drawn {
        std::pair<int, int> link;    // chain, link
        std::pair<int, int> places;  // the smaller first
        std::vector<GridPoint> path;
        PathBox box;
        bool wanted;  // in any crossing to keep
    };
    std::vector<Drawn> drawn;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        const std::vector<int>& places = request.chains[c].places;
        for (std::size_t l = 0; l < layout.chains[c].corners.size(); ++l) {
            Drawn& d = drawn.emplace_back();
            d.link = {static_cast<int>(c), static_cast<int>(l)};
            d.places = std::minmax(places[l], places[(l + 1) % places.size()]);
            d.path = LinkPath(layout.chains[c], l);
            d.box = BoxOf(d.path);
            d.wanted = InAnyCrossing(wanted, d.places);
        }
    }
    // The pairs drawn across each other, found by sweeping the boxes from left to right (every
    // pair of a large map was a tenth of the drawing's time), and the pairs to cross; a pair in
    // one but not the other is wrong, in the order of the links.
    std::vector<std::size_t> byLeft(drawn.size());
    std::iota(byLeft.begin(), byLeft.end(), std::size_t{0});
    std::ranges::sort(byLeft, {}, [&drawn](std::size_t i) { return drawn[i].box.low.x; });
    std::vector<std::pair<std::size_t, std::size_t>> across;
    for (std::size_t a = 0; a < byLeft.size(); ++a) {
        const Drawn& one = drawn[byLeft[a]];
        for (std::size_t b = a + 1;
             b < byLeft.size() && drawn[byLeft[b]].box.low.x <= one.box.high.x; ++b) {
            const Drawn& other = drawn[byLeft[b]];
            if (!ShareAPlace(one.places, other.places) && !one.box.Apart(other.box) &&
                DrawnAcross(one.path, other.path)) {
                across.push_back(std::minmax(byLeft[a], byLeft[b]));
            }
        }
    }
    std::vector<std::pair<std::size_t, std::size_t>> toCross;
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        for (std::size_t j = i + 1; drawn[i].wanted && j < drawn.size(); ++j) {
            if (drawn[j].wanted && !ShareAPlace(drawn[i].places, drawn[j].places) &&
                wanted.contains(std::minmax(drawn[i].places, drawn[j].places))) {
                toCross.emplace_back(i, j);
            }
        }
    }
    std::ranges::sort(across);
    std::vector<std::pair<std::size_t, std::size_t>> differ;
    std::ranges::set_symmetric_difference(across, toCross, std::back_inserter(differ));
    std::vector<std::pair<int, int>> wrong;
    for (const auto& [i, j] : differ) {
        wrong.push_back(drawn[i].link);
        wrong.push_back(drawn[j].link);
    }
    return wrong;
}

namespace {

// A step along a course, in map units.
struct Step {
    std::int64_t x;
    std::int64_t y;
};

// Calls visit(in, out) with the steps into and out of each point of each chain's course where it
// may turn: every point of a ring, the inner ones of an open course; points repeated count once.
template <typename Visit>
void ForEachTurn(const SchematicLayout& layout, Visit visit) {
    for (const SchematicChain& chain : layout.chains) {
        std::vector<GridPoint> path;
        for (std::size_t l = 0; l < chain.corners.size(); ++l) {
            for (const GridPoint& p : LinkPath(chain, l)) {
                if (path.empty() || !(path.back() == p)) {
                    path.push_back(p);
                }
            }
        }
        const bool ring = chain.corners.size() == chain.stations.size() && path.size() > 2;
        if (ring && path.front() == path.back()) {
            path.pop_back();
        }
        const std::size_t n = path.size();
        for (std::size_t i = ring ? 0 : 1; i + (ring ? 0 : 1) < n; ++i) {
            const GridPoint u = path[(i + n - 1) % n];
            const GridPoint v = path[i];
            const GridPoint w = path[(i + 1) % n];
            visit(Step{v.x - u.x, v.y - u.y}, Step{w.x - v.x, w.y - v.y});
        }
    }
}

}  // namespace

std::size_t SharpTurns(const SchematicLayout& layout) {
    std::size_t sharp = 0;
    ForEachTurn(layout, [&sharp](Step in, Step out) {
        const std::int64_t dot = in.x * out.x + in.y * out.y;
        // An inside angle of 45 degrees or less: the steps turn by 135 degrees or more, their
        // cosine negative and its square at least a half.
        sharp += dot < 0 &&
                 2 * dot * dot >= (in.x * in.x + in.y * in.y) * (out.x * out.x + out.y * out.y);
    });
    return sharp;
}

std::size_t Bends(const SchematicLayout& layout) {
    std::size_t bends = 0;
    ForEachTurn(layout, [&bends](Step in, Step out) {
        bends += in.x * out.y != in.y * out.x || in.x * out.x + in.y * out.y <= 0;
    });
    return bends;
}

bool RepeatsAPoint(const SchematicLayout& layout) {
    return std::ranges::any_of(layout.chains, [](const SchematicChain& chain) {
        for (std::size_t i = 0; i < chain.corners.size(); ++i) {
            const std::vector<GridPoint> link = LinkPath(chain, i);
            if (std::adjacent_find(link.begin(), link.end()) != link.end()) {
                return true;
            }
        }
        return false;
    });
}

std::int64_t NearestApartSquared(const SchematicRequest& request, const SchematicLayout& layout) {
    std::vector<std::pair<GridPoint, int>> stations;  // where, and the place
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        const std::vector<GridPoint>& at = layout.chains[c].stations;
        for (std::size_t i = 0; i < at.size(); ++i) {
            stations.emplace_back(at[i], request.chains[c].places[i]);
        }
    }
    std::int64_t least = std::numeric_limits<std::int64_t>::max();
    for (std::size_t a = 0; a < stations.size(); ++a) {
        for (std::size_t b = a + 1; b < stations.size(); ++b) {
            if (stations[a].second != stations[b].second) {
                const std::int64_t dx = stations[a].first.x - stations[b].first.x;
                const std::int64_t dy = stations[a].first.y - stations[b].first.y;
                least = std::min(least, dx * dx + dy * dy);
            }
        }
    }
    return least;
}

void KeepStationsClearAndApart(const SchematicRequest& request, SchematicLayout& layout) {
    // One set of cells for both: building them took a sixth of the slides' time.
    Slides slides(request, layout);
    slides.KeepClear();
    slides.KeepApart();
}

}  // namespace qv::import::schematic
