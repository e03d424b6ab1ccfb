#include "schematic_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

namespace qv::import::schematic {

namespace {

// Draws the routed runs as each line record's stations and corners, lines sharing a run side
// by side.
class Drawing {
  public:
    Drawing(const SchematicRequest& request, const std::vector<Run>& runs,
            const std::vector<int>& nodeOf, int width, int unrouted)
        : request_(request), runs_(runs), nodeOf_(nodeOf), width_(width), unrouted_(unrouted) {}

    SchematicLayout Draw() {
        // Each pair of neighbouring places: its run and where along it.
        struct Piece {
            const struct Run* run;
            int from;  // step indices on the run's path
            int to;
        };
        std::map<std::pair<int, int>, Piece> pieces;
        for (const struct Run& run : runs_) {
            for (std::size_t i = 0; !run.path.empty() && i + 1 < run.places.size(); ++i) {
                pieces[{run.places[i], run.places[i + 1]}] = {&run, run.stationSteps[i],
                                                              run.stationSteps[i + 1]};
            }
        }
        SchematicLayout layout;
        layout.unrouted = unrouted_;
        for (std::size_t c = 0; c < request_.chains.size(); ++c) {
            const PlaceChain& chain = request_.chains[c];
            const std::size_t n = chain.places.size();
            const std::size_t links = chain.isRing && n > 2 ? n : n - 1;
            std::vector<Stroke> strokes;
            for (std::size_t i = 0; i < links; ++i) {
                const int a = chain.places[i];
                const int b = chain.places[(i + 1) % n];
                std::vector<GridPoint> nodes;
                const struct Run* run = nullptr;
                bool reversed = false;
                if (const auto f = pieces.find({a, b}); f != pieces.end()) {
                    run = f->second.run;
                    for (int s = f->second.from; s <= f->second.to; ++s) {
                        nodes.push_back(run->path[static_cast<std::size_t>(s)]);
                    }
                } else if (const auto r = pieces.find({b, a}); r != pieces.end()) {
                    run = r->second.run;
                    reversed = true;
                    for (int s = r->second.to; s >= r->second.from; --s) {
                        nodes.push_back(run->path[static_cast<std::size_t>(s)]);
                    }
                } else {
                    nodes = {At(std::max(0, nodeOf_[static_cast<std::size_t>(a)])),
                             At(std::max(0, nodeOf_[static_cast<std::size_t>(b)]))};
                }
                int slot = 0;
                if (run != nullptr) {
                    const auto position =
                        std::find(run->chains.begin(), run->chains.end(), static_cast<int>(c)) -
                        run->chains.begin();
                    slot =
                        static_cast<int>(position) - (static_cast<int>(run->chains.size()) - 1) / 2;
                }
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
                strokes.push_back(
                    {MapPoint(At(std::max(0, nodeOf_[static_cast<std::size_t>(last)]))),
                     true,
                     kNoDirection,
                     {}});
            }
            layout.chains.push_back(Trace(strokes, chain.isRing && n > 2, n));
        }
        Separate(layout);
        return layout;
    }

  private:
    GridPoint At(int node) const { return {node % width_, node / width_}; }

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

    SchematicChain Trace(const std::vector<Stroke>& strokes, bool ring, std::size_t stations) {
        SchematicChain chain;
        chain.corners.assign(ring ? stations : stations - 1, {});
        const std::size_t count = strokes.size();
        int link = -1;
        for (std::size_t k = 0; k < count; ++k) {
            const Stroke& here = strokes[k];
            const bool hasBefore = ring || k > 0;
            const Stroke& before = strokes[(k + count - 1) % count];
            const bool hasAfter = here.direction != kNoDirection;
            std::vector<GridPoint> points;
            if (hasBefore && before.direction != kNoDirection && hasAfter) {
                if (Change(before.direction, here.direction) == 0 &&
                    !(before.offset == here.offset)) {
                    // A step sideways to another slot: 45 degrees out and back.
                    const GridPoint start{here.node.x + before.offset.x,
                                          here.node.y + before.offset.y};
                    const GridPoint u = kSteps[static_cast<std::size_t>(here.direction)];
                    const int shift = std::max(std::abs(here.offset.x - before.offset.x),
                                               std::abs(here.offset.y - before.offset.y));
                    const int along = here.direction % 2 == 0 ? shift : shift;
                    points = {start,
                              {here.node.x + here.offset.x + u.x * along,
                               here.node.y + here.offset.y + u.y * along}};
                } else if (Change(before.direction, here.direction) == 0) {
                    points = {{here.node.x + here.offset.x, here.node.y + here.offset.y}};
                } else {
                    points = {Meet(here.node, before.direction, before.offset, here.direction,
                                   here.offset)};
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
        std::map<std::pair<int, int>, int> taken;
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            SchematicChain& chain = layout.chains[c];
            const std::size_t n = chain.stations.size();
            const bool ring = chain.corners.size() == n && n > 2;
            for (std::size_t i = 0; i < n; ++i) {
                GridPoint& spot = chain.stations[i];
                if (taken.emplace(std::make_pair(spot.x, spot.y), 1).second) {
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
                            taken.contains({to.x, to.y})) {
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
                taken.emplace(std::make_pair(spot.x, spot.y), 1);
            }
        }
    }

    const SchematicRequest& request_;
    const std::vector<Run>& runs_;
    const std::vector<int>& nodeOf_;  // per place
    const int width_;
    const int unrouted_;
};

}  // namespace

SchematicLayout DrawSchematic(const SchematicRequest& request, const std::vector<Run>& runs,
                              const std::vector<int>& nodeOf, int width, int unrouted) {
    return Drawing(request, runs, nodeOf, width, unrouted).Draw();
}

}  // namespace qv::import::schematic
