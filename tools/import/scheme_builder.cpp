#include "scheme_builder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>
#include <optional>
#include <set>

#include "bent_projection.h"
#include "free_spot.h"
#include "geo.h"
#include "layout.h"
#include "line_splitting.h"
#include "link_check.h"
#include "model/map_parser.h"
#include "model/network_model.h"
#include "projection.h"
#include "schematic.h"
#include "segment_geometry.h"
#include "text/utf.h"

namespace qv::import {

namespace {

// Networks with more places than this are drawn with thinner lines and smaller discs.
constexpr int kLargeNetworkPlaces = 100;
// The crowded centres of the largest networks need 5 for most of their names to keep off other
// stations' discs; the zoomed map is then five screens across.
constexpr int kLargestZoom = 5;
// Labels fit at a scale where at most one in this many lies over another place's disc.
constexpr int kMostCoveringLabels = 10;
// Grid nodes are a median link apart, within bounds; in a large network closer, so that its
// crowded centre finds free ways.
constexpr double kCrowdedGridShare = 0.55;
constexpr int kLargestGrid = 48;

struct MapPoint {
    int line = 0;      // index into the scheme's lines
    int position = 0;  // along that line
    int station = 0;   // index into the source's stations
};

// A link between two places and its course from the first to the second.
struct LinkStretch {
    std::pair<int, int> link;
    std::vector<IntPoint> course;
};

// Adds to `sum` the unit vector from `from` towards `to`, if they differ.
void AddDirection(PlanePoint& sum, PlanePoint from, PlanePoint to) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (length > 0) {
        sum.x += (to.x - from.x) / length;
        sum.y += (to.y - from.y) / length;
    }
}

// Per place and neighbouring place, the angle of the summed directions towards it.
std::map<std::pair<int, int>, double> MeanAngles(
    const std::map<std::pair<int, int>, PlanePoint>& sums) {
    std::map<std::pair<int, int>, double> angles;
    for (const auto& [pair, sum] : sums) {
        angles[pair] = std::atan2(sum.y, sum.x);
    }
    return angles;
}

// The pairs of links without a common place whose courses meet.
std::vector<LinkCrossing> CrossingLinks(const std::vector<LinkStretch>& stretches) {
    std::set<LinkCrossing> found;
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        for (std::size_t j = i + 1; j < stretches.size(); ++j) {
            const LinkStretch& p = stretches[i];
            const LinkStretch& q = stretches[j];
            const LinkCrossing pair = std::minmax(std::minmax(p.link.first, p.link.second),
                                                  std::minmax(q.link.first, q.link.second));
            if (ShareAPlace(p.link, q.link) || found.contains(pair)) {
                continue;
            }
            bool meet = false;
            for (std::size_t m = 0; m + 1 < p.course.size() && !meet; ++m) {
                for (std::size_t n = 0; n + 1 < q.course.size() && !meet; ++n) {
                    meet = SegmentsMeet(p.course[m], p.course[m + 1], q.course[n], q.course[n + 1]);
                }
            }
            if (meet) {
                found.insert(pair);
            }
        }
    }
    return {found.begin(), found.end()};
}

// The network as it really lies: per point its station's position (kilometres east and south
// of the network's centre), the links crossing there, and per place the directions towards its
// neighbours.
struct Ground {
    std::vector<PlanePoint> points;
    std::vector<LinkCrossing> crossings;
    std::map<std::pair<int, int>, double> headings;
};

struct Drawing {
    int lineWidth = 3;
    int stationRadius = 3;
    int outlineWidth = 1;
    int spacing = 4;  // between the stations of one place
    int gap = 5;      // between the discs of two places
};

class UnionFind {
  public:
    explicit UnionFind(std::size_t size) : parent_(size) {
        std::iota(parent_.begin(), parent_.end(), 0);
    }
    int Find(int item) {
        while (parent_[static_cast<std::size_t>(item)] != item) {
            item = parent_[static_cast<std::size_t>(item)] =
                parent_[static_cast<std::size_t>(parent_[static_cast<std::size_t>(item)])];
        }
        return item;
    }
    void Join(int a, int b) { parent_[static_cast<std::size_t>(Find(a))] = Find(b); }

  private:
    std::vector<int> parent_;
};

std::int32_t WaitFor(const SourceNetwork& network, const SourceLine& line,
                     const BuildOptions& options) {
    std::int32_t headway = options.times.headwayMinutes;
    for (const HeadwayException& exception : options.headways) {
        if (exception.city == network.name && exception.line == line.name) {
            headway = exception.headwayMinutes;
        }
    }
    return WaitMinutes(headway);
}

class Builder {
  public:
    Builder(const SourceNetwork& network, const BuildOptions& options, BuildReport& report)
        : network_(network), options_(options), report_(report) {}

    DraftScheme Build() {
        SplitLines();
        FindPlaces();
        ChooseDrawing();
        LayOut();
        AddRunTimes();
        AddTransfers();
        ChooseZoomAndLabels();
        InsertCorners();
        scheme_.name = network_.name;
        std::vector<std::u16string> names;
        std::vector<Colour> colours;
        for (const DraftLine& line : scheme_.lines) {
            colours.push_back(line.colour);
            for (const DraftPoint& point : line.points) {
                if (point.kind == u'S') {
                    names.push_back(point.name);
                }
            }
        }
        scheme_.tabLetters = TabLetters(std::move(names));
        scheme_.routeColour = ChooseRouteColour(colours);
        return std::move(scheme_);
    }

  private:
    const SourceStation& StationOf(const MapPoint& point) const {
        return network_.stations[static_cast<std::size_t>(point.station)];
    }
    DraftPoint& Draft(const MapPoint& point) {
        return scheme_.lines[static_cast<std::size_t>(point.line)]
            .points[static_cast<std::size_t>(point.position)];
    }
    const DraftPoint& Draft(const MapPoint& point) const {
        return scheme_.lines[static_cast<std::size_t>(point.line)]
            .points[static_cast<std::size_t>(point.position)];
    }

    void SplitLines() {
        std::int32_t number = 0;
        for (const SourceLine& line : network_.lines) {
            if (line.links.empty()) {
                continue;
            }
            ++number;
            SplitLine split = SplitIntoChains(line.links);
            for (const int fork : split.costlyForks) {
                report_.notes.push_back(
                    Utf16ToUtf8(line.name) + ": a ride across the fork at " +
                    Utf16ToUtf8(network_.stations[static_cast<std::size_t>(fork)].name) +
                    " counts a run time too many");
            }
            for (Chain& chain : split.chains) {
                chainFirstPoint_.push_back(static_cast<int>(points_.size()));
                DraftLine draft{
                    number, line.name, line.colour, chain.isRing, WaitFor(network_, line, options_),
                    {}};
                for (std::size_t i = 0; i < chain.stations.size(); ++i) {
                    const int station = chain.stations[i];
                    points_.push_back(
                        {static_cast<int>(scheme_.lines.size()), static_cast<int>(i), station});
                    DraftPoint point;
                    point.name = network_.stations[static_cast<std::size_t>(station)].name;
                    draft.points.push_back(std::move(point));
                }
                scheme_.lines.push_back(std::move(draft));
                chains_.push_back(std::move(chain));
                sourceLineOf_.push_back(&line);
            }
        }
    }

    void FindPlaces() {
        joined_ = FindInterchanges(network_, options_.interchange, options_.interchangeExceptions);
        UnionFind places(network_.stations.size());
        for (const StationPair& pair : joined_) {
            places.Join(pair.first, pair.second);
        }
        std::map<int, int> placeOfRoot;
        for (const MapPoint& point : points_) {
            const int root = places.Find(point.station);
            if (!placeOfRoot.contains(root)) {
                placeOfRoot[root] = static_cast<int>(placePoints_.size());
                placePoints_.emplace_back();
            }
            placePoints_[static_cast<std::size_t>(placeOfRoot[root])].push_back(
                static_cast<int>(&point - points_.data()));
        }
        for (const MapPoint& point : points_) {
            placeOf_.push_back(placeOfRoot[places.Find(point.station)]);
        }
        report_.places = static_cast<int>(placePoints_.size());
    }

    void ChooseDrawing() {
        if (static_cast<int>(placePoints_.size()) > kLargeNetworkPlaces) {
            drawing_ = {2, 2, 1, 3, 4};
        }
        scheme_.lineWidth = drawing_.lineWidth;
        scheme_.stationRadius = drawing_.stationRadius;
        scheme_.outlineWidth = drawing_.outlineWidth;
    }

    std::vector<PlanePoint> Project(const std::vector<GeoPosition>& positions,
                                    const std::vector<double>& radii, const ScreenBox& box,
                                    double margin) {
        BentProjection projection =
            ProjectBent(positions, radii, box, margin, options_.exponent, drawing_.gap);
        report_.exponent = projection.exponent;
        report_.stretched = projection.stretched;
        return std::move(projection.centres);
    }

    void LayOut() {
        std::vector<GeoPosition> positions;
        std::vector<double> radii;
        double widest = 0;
        for (const std::vector<int>& members : placePoints_) {
            std::set<int> stations;
            GeoPosition sum;
            for (const int point : members) {
                if (stations.insert(points_[static_cast<std::size_t>(point)].station).second) {
                    const GeoPosition position =
                        StationOf(points_[static_cast<std::size_t>(point)]).position;
                    sum.latitude += position.latitude;
                    sum.longitude += position.longitude;
                }
            }
            const auto count = static_cast<double>(stations.size());
            positions.push_back({sum.latitude / count, sum.longitude / count});
            const std::vector<Offset> slots =
                ClusterSlots(static_cast<int>(members.size()), drawing_.spacing);
            double radius = 0;
            for (const Offset& slot : slots) {
                radius = std::max(radius, std::hypot(slot.dx, slot.dy));
            }
            radii.push_back(radius);
            widest = std::max(widest, radius);
        }
        const ScreenBox screen;
        LayOutGeographic(positions, radii, widest, screen);
        const Ground ground = OnTheGround();
        if (options_.layout == Layout::kSchematic) {
            // The crossings and the order round each place to keep are those of the stations'
            // own positions, not of the geographic drawing, which spreads crowded places apart,
            // nor of the places' centres, from which an interchange's stations stand apart.
            LayOutOnGrid(positions, radii, screen, ground);
        }
        CompareWithGeography(ground);
    }

    // The squared distance between the nearest two places' stations as drawn now; the largest
    // number where there is no such pair.
    std::int64_t NearestApartSquared() const {
        std::int64_t nearest = std::numeric_limits<std::int64_t>::max();
        for (std::size_t a = 0; a < points_.size(); ++a) {
            const DraftPoint& one = Draft(points_[a]);
            for (std::size_t b = a + 1; b < points_.size(); ++b) {
                if (placeOf_[a] != placeOf_[b]) {
                    const DraftPoint& other = Draft(points_[b]);
                    const std::int64_t dx = one.x - other.x;
                    const std::int64_t dy = one.y - other.y;
                    nearest = std::min(nearest, dx * dx + dy * dy);
                }
            }
        }
        return nearest;
    }

    Ground OnTheGround() const {
        Ground ground;
        ground.points = GeographicPositions();
        ground.crossings = GeographicCrossings(ground.points);
        ground.headings = Headings(ground.points);
        return ground;
    }

    // How the drawing keeps the crossings and the order round each place of the network as
    // it really lies.
    void CompareWithGeography(const Ground& ground) {
        const std::vector<LinkCrossing>& real = ground.crossings;
        const std::vector<LinkCrossing> drawn = DrawnCrossings();
        report_.realCrossings = static_cast<int>(real.size());
        const auto tally = [&](const std::vector<LinkCrossing>& one,
                               const std::vector<LinkCrossing>& other, const std::string& what) {
            int count = 0;
            for (const LinkCrossing& pair : one) {
                if (!std::binary_search(other.begin(), other.end(), pair)) {
                    ++count;
                    report_.geographyFaults.push_back("crossing " + what + ": " +
                                                      LinkName(pair.first) + " x " +
                                                      LinkName(pair.second));
                }
            }
            return count;
        };
        report_.crossingsAdded = tally(drawn, real, "added");
        report_.crossingsLost = tally(real, drawn, "lost");

        const std::vector<std::vector<int>> realOrder = NeighbourOrder(ground.headings);
        const std::vector<std::vector<int>> drawnOrder = NeighbourOrder(LeavingHeadings());
        for (std::size_t place = 0; place < placePoints_.size(); ++place) {
            if (drawnOrder[place] != realOrder[place]) {
                ++report_.ordersChanged;
                report_.geographyFaults.push_back("neighbours in another order: " +
                                                  PlaceName(static_cast<int>(place)));
            }
        }
    }

    std::string PlaceName(int place) const {
        const MapPoint& point = points_[static_cast<std::size_t>(
            placePoints_[static_cast<std::size_t>(place)].front())];
        return Utf16ToUtf8(StationOf(point).name);
    }

    std::string LinkName(std::pair<int, int> link) const {
        return PlaceName(link.first) + " - " + PlaceName(link.second);
    }

    // Per place, its neighbouring places in the order of `headings` round it, from the smallest.
    std::vector<std::vector<int>> NeighbourOrder(
        const std::map<std::pair<int, int>, double>& headings) const {
        std::vector<std::vector<std::pair<double, int>>> around(placePoints_.size());
        for (const auto& [pair, heading] : headings) {
            around[static_cast<std::size_t>(pair.first)].emplace_back(heading, pair.second);
        }
        std::vector<std::vector<int>> order(placePoints_.size());
        for (std::size_t place = 0; place < around.size(); ++place) {
            std::sort(around[place].begin(), around[place].end());
            for (const auto& entry : around[place]) {
                order[place].push_back(entry.second);
            }
            if (!order[place].empty()) {
                std::rotate(order[place].begin(),
                            std::min_element(order[place].begin(), order[place].end()),
                            order[place].end());
            }
        }
        return order;
    }

    // Per place and neighbouring place, the direction the drawn links towards it leave in: from
    // the place's centre to the first point of their course, corners included, clear of the
    // place's own stations; the mean over their links.
    std::map<std::pair<int, int>, double> LeavingHeadings() const {
        const std::vector<PlanePoint> at = DrawnPositions();
        const std::vector<PlanePoint> centres = PlaceCentres(at);
        const double clear = 2.0 * (drawing_.lineWidth + 1) + drawing_.stationRadius;
        std::map<std::pair<int, int>, PlanePoint> sums;
        for (const LinkStretch& stretch : DrawnLinks()) {
            for (const bool forward : {true, false}) {
                const int here = forward ? stretch.link.first : stretch.link.second;
                const int there = forward ? stretch.link.second : stretch.link.first;
                const PlanePoint centre = centres[static_cast<std::size_t>(here)];
                const std::size_t count = stretch.course.size();
                IntPoint leave = forward ? stretch.course.back() : stretch.course.front();
                for (std::size_t k = 0; k < count; ++k) {
                    const IntPoint p = stretch.course[forward ? k : count - 1 - k];
                    if (std::hypot(p.x - centre.x, p.y - centre.y) > clear) {
                        leave = p;
                        break;
                    }
                }
                AddDirection(sums[{here, there}], centre,
                             {static_cast<double>(leave.x), static_cast<double>(leave.y)});
            }
        }
        return MeanAngles(sums);
    }

    // Stations where the geography puts them, bent, fitted and spread apart, each interchange's
    // stations round its centre.
    void LayOutGeographic(const std::vector<GeoPosition>& positions,
                          const std::vector<double>& radii, double widest,
                          const ScreenBox& screen) {
        const double margin = widest + drawing_.stationRadius + 2;
        std::vector<PlanePoint> centres = Project(positions, radii, screen, margin);
        const double edge = drawing_.stationRadius + 2;
        SpreadApart(
            centres, radii, drawing_.gap,
            {screen.left + edge, screen.top + edge, screen.right - edge, screen.bottom - edge},
            400);

        std::set<std::pair<int, int>> taken;
        for (std::size_t place = 0; place < placePoints_.size(); ++place) {
            const std::vector<int>& members = placePoints_[place];
            const int cx = static_cast<int>(std::lround(centres[place].x));
            const int cy = static_cast<int>(std::lround(centres[place].y));
            const std::vector<Offset> slots =
                ClusterSlots(static_cast<int>(members.size()), drawing_.spacing);
            std::vector<PlanePoint> directions;
            for (const int point : members) {
                directions.push_back(Direction(point, centres));
            }
            const std::vector<int> assignment = AssignSlots(slots, directions);
            for (std::size_t i = 0; i < members.size(); ++i) {
                const Offset slot = slots[static_cast<std::size_t>(assignment[i])];
                std::pair<int, int> spot{cx + slot.dx, cy + slot.dy};
                spot = FreeSpot(spot, taken);
                taken.insert(spot);
                DraftPoint& draft = Draft(points_[static_cast<std::size_t>(members[i])]);
                draft.x = spot.first;
                draft.y = spot.second;
            }
        }
    }

    // Calls `visit` with each link between two places of every line record: the places and
    // the indices of their points (a ring's last station links to its first).
    template <typename Visit>
    void ForEachLinkPoints(Visit visit) const {
        for (std::size_t l = 0; l < chains_.size(); ++l) {
            const std::size_t count = scheme_.lines[l].points.size();
            if (count < 2) {
                continue;
            }
            const std::size_t links = chains_[l].isRing && count > 2 ? count : count - 1;
            const int first = chainFirstPoint_[l];
            for (std::size_t i = 0; i < links; ++i) {
                const int from = first + static_cast<int>(i);
                const int to = first + static_cast<int>((i + 1) % count);
                const int a = placeOf_[static_cast<std::size_t>(from)];
                const int b = placeOf_[static_cast<std::size_t>(to)];
                if (a != b) {
                    visit(a, b, from, to);
                }
            }
        }
    }

    // The links that cross where the stations really are: straight between the stations' own
    // positions, to the metre. The geographic drawing spreads crowded places apart and sets an
    // interchange's stations round its centre, which makes links cross there that do not and
    // parts some that do.
    std::vector<LinkCrossing> GeographicCrossings(const std::vector<PlanePoint>& kilometres) const {
        const auto metres = [&](int point) {
            const PlanePoint at = kilometres[static_cast<std::size_t>(point)];
            return IntPoint{std::llround(at.x * 1000), std::llround(at.y * 1000)};
        };
        std::vector<LinkStretch> stretches;
        ForEachLinkPoints([&](int a, int b, int from, int to) {
            stretches.push_back({{a, b}, {metres(from), metres(to)}});
        });
        return CrossingLinks(stretches);
    }

    // Each link as drawn now, its course from its first station to its second, corners
    // included.
    std::vector<LinkStretch> DrawnLinks() const {
        std::vector<LinkStretch> stretches;
        ForEachLinkPoints([&](int a, int b, int from, int to) {
            const MapPoint& start = points_[static_cast<std::size_t>(from)];
            const DraftPoint& first = Draft(start);
            const DraftPoint& last = Draft(points_[static_cast<std::size_t>(to)]);
            LinkStretch stretch{{a, b}, {{first.x, first.y}}};
            const auto line = static_cast<std::size_t>(start.line);
            const auto position = static_cast<std::size_t>(start.position);
            if (line < corners_.size() && position < corners_[line].size()) {
                for (const GridPoint& corner : corners_[line][position]) {
                    stretch.course.push_back({corner.x, corner.y});
                }
            }
            stretch.course.push_back({last.x, last.y});
            stretches.push_back(std::move(stretch));
        });
        return stretches;
    }

    // The links whose courses cross as the lines are drawn now.
    std::vector<LinkCrossing> DrawnCrossings() const { return CrossingLinks(DrawnLinks()); }

    // Per point, where its station really is: kilometres east and south of the network's centre.
    std::vector<PlanePoint> GeographicPositions() const {
        std::vector<GeoPosition> positions;
        for (const MapPoint& point : points_) {
            positions.push_back(StationOf(point).position);
        }
        return ProjectToPlane(positions, 1);
    }

    // Per point, where it is drawn now.
    std::vector<PlanePoint> DrawnPositions() const {
        std::vector<PlanePoint> positions;
        for (const MapPoint& point : points_) {
            const DraftPoint& draft = Draft(point);
            positions.push_back({static_cast<double>(draft.x), static_cast<double>(draft.y)});
        }
        return positions;
    }

    // Per place, the mean of its points at `at`.
    std::vector<PlanePoint> PlaceCentres(const std::vector<PlanePoint>& at) const {
        std::vector<PlanePoint> centres(placePoints_.size());
        for (std::size_t place = 0; place < placePoints_.size(); ++place) {
            for (const int point : placePoints_[place]) {
                centres[place].x += at[static_cast<std::size_t>(point)].x;
                centres[place].y += at[static_cast<std::size_t>(point)].y;
            }
            const auto count = static_cast<double>(placePoints_[place].size());
            centres[place].x /= count;
            centres[place].y /= count;
        }
        return centres;
    }

    // Per place and neighbouring place, the direction towards it with the points at `at`: from
    // the place's centre to the neighbour's station, the mean over their links.
    std::map<std::pair<int, int>, double> Headings(const std::vector<PlanePoint>& at) const {
        const std::vector<PlanePoint> centres = PlaceCentres(at);
        std::map<std::pair<int, int>, PlanePoint> sums;
        ForEachLinkPoints([&](int a, int b, int from, int to) {
            AddDirection(sums[{a, b}], centres[static_cast<std::size_t>(a)],
                         at[static_cast<std::size_t>(to)]);
            AddDirection(sums[{b, a}], centres[static_cast<std::size_t>(b)],
                         at[static_cast<std::size_t>(from)]);
        });
        return MeanAngles(sums);
    }

    // The ground's headings turned onto the bent and stretched plane of `centres`
    // that the layout follows, since its ports are chosen by angle: each the direction between
    // the two places there, turned as much as the stations' own positions turn it from the
    // direction between the places' centres.
    std::map<std::pair<int, int>, double> OnThePlane(const Ground& ground,
                                                     const std::vector<PlanePoint>& centres) const {
        const std::vector<PlanePoint> real = PlaceCentres(ground.points);
        const auto angle = [](const std::vector<PlanePoint>& at, std::pair<int, int> pair) {
            const PlanePoint from = at[static_cast<std::size_t>(pair.first)];
            const PlanePoint to = at[static_cast<std::size_t>(pair.second)];
            return std::atan2(to.y - from.y, to.x - from.x);
        };
        std::map<std::pair<int, int>, double> turned;
        for (const auto& [pair, heading] : ground.headings) {
            const double turn = std::remainder(heading - angle(real, pair), 2 * std::numbers::pi);
            turned[pair] = angle(centres, pair) + turn;
        }
        return turned;
    }

    // Lines at 0, 45 and 90 degrees: places on the nodes of a grid as near to their projected
    // spots as the routing allows, lines sharing a stretch side by side, the crossings and
    // orders of the ground kept.
    void LayOutOnGrid(const std::vector<GeoPosition>& positions, const std::vector<double>& radii,
                      const ScreenBox& screen, const Ground& ground) {
        const int separation = drawing_.lineWidth + 1;
        const double edge = drawing_.stationRadius + 2 + 2 * separation;
        const ScreenBox inner{screen.left + edge, screen.top + edge, screen.right - edge,
                              screen.bottom - edge};
        const std::vector<PlanePoint> centres = Project(positions, radii, inner, 0);
        SchematicRequest request;
        request.places = centres;
        request.box = inner;
        request.separation = separation;
        std::vector<double> lengths;
        for (std::size_t l = 0; l < chains_.size(); ++l) {
            PlaceChain chain;
            chain.isRing = chains_[l].isRing;
            for (std::size_t i = 0; i < chains_[l].stations.size(); ++i) {
                chain.places.push_back(placeOf_[static_cast<std::size_t>(chainFirstPoint_[l]) + i]);
            }
            for (std::size_t i = 0; i + 1 < chain.places.size(); ++i) {
                const PlanePoint a = centres[static_cast<std::size_t>(chain.places[i])];
                const PlanePoint b = centres[static_cast<std::size_t>(chain.places[i + 1])];
                if (chain.places[i] != chain.places[i + 1]) {
                    lengths.push_back(std::hypot(a.x - b.x, a.y - b.y));
                }
            }
            request.chains.push_back(std::move(chain));
        }
        std::sort(lengths.begin(), lengths.end());
        const double median = lengths.empty() ? 0 : lengths[lengths.size() / 2];
        const bool large = static_cast<int>(placePoints_.size()) > kLargeNetworkPlaces;
        request.grid =
            std::clamp(static_cast<int>(std::lround(median * (large ? kCrowdedGridShare : 1.0))),
                       separation + 2, kLargestGrid);
        // In a large network's crowded centre the extra steps leave runs without a free way.
        request.roomForCrossings = !large;
        request.crowded = large;
        request.crossings = ground.crossings;
        request.headings = OnThePlane(ground, centres);
        request.nearestApartSquared = NearestApartSquared();
        const SchematicLayout layout = LayOutSchematic(request);
        report_.grid = request.grid;
        report_.unroutedRuns = layout.unrouted;
        for (std::size_t l = 0; l < chains_.size(); ++l) {
            const SchematicChain& drawn = layout.chains[l];
            for (std::size_t i = 0; i < drawn.stations.size(); ++i) {
                DraftPoint& draft = scheme_.lines[l].points[i];
                draft.x = drawn.stations[i].x;
                draft.y = drawn.stations[i].y;
            }
            corners_.push_back(drawn.corners);
        }
        // Transfers find their stations by position: no two may share one.
        std::set<std::pair<int, int>> taken;
        DrawnStretches drawn;
        for (std::size_t l = 0; l < scheme_.lines.size(); ++l) {
            const std::vector<std::pair<int, int>> course = Course(l);
            for (std::size_t i = 0; i + 1 < course.size(); ++i) {
                drawn.Add(course[i], course[i + 1], static_cast<int>(l));
            }
        }
        // A point moved off a taken spot keeps its line octilinear and off other lines' track
        // where it can.
        for (const MapPoint& point : points_) {
            DraftPoint& draft = Draft(point);
            const std::vector<LineSide> sides = LineNeighbours(point);
            const auto clear = [&](Spot spot) {
                for (const LineSide& side : sides) {
                    if (!drawn.KeepsOwnTrack(spot, side.next, point.line) ||
                        (side.beyond && Sharp(*side.beyond, side.next, spot))) {
                        return false;
                    }
                }
                return sides.size() < 2 || !Sharp(sides[0].next, spot, sides[1].next);
            };
            const std::pair<int, int> spot =
                FreeSpot({draft.x, draft.y}, taken, clear, 2 * separation);
            taken.insert(spot);
            draft.x = spot.first;
            draft.y = spot.second;
        }
    }

    // The points of a line in order, its corners included.
    std::vector<std::pair<int, int>> Course(std::size_t l) const {
        const DraftLine& line = scheme_.lines[l];
        std::vector<std::pair<int, int>> course;
        for (std::size_t i = 0; i < line.points.size(); ++i) {
            course.emplace_back(line.points[i].x, line.points[i].y);
            if (l < corners_.size() && i < corners_[l].size()) {
                for (const GridPoint& corner : corners_[l][i]) {
                    course.emplace_back(corner.x, corner.y);
                }
            }
        }
        return course;
    }

    void InsertCorners() {
        for (std::size_t l = 0; l < corners_.size(); ++l) {
            std::vector<DraftPoint> points;
            for (std::size_t i = 0; i < scheme_.lines[l].points.size(); ++i) {
                const DraftPoint& station = scheme_.lines[l].points[i];
                points.push_back(station);
                if (l < corners_.size() && i < corners_[l].size()) {
                    for (const GridPoint& corner : corners_[l][i]) {
                        DraftPoint point;
                        point.kind = u'P';
                        point.name = station.name;
                        point.x = corner.x;
                        point.y = corner.y;
                        points.push_back(std::move(point));
                    }
                }
            }
            scheme_.lines[l].points = std::move(points);
        }
    }

    // The sum of unit vectors from the point's place towards the places of its line neighbours.
    PlanePoint Direction(int point, const std::vector<PlanePoint>& centres) const {
        const MapPoint& here = points_[static_cast<std::size_t>(point)];
        const Chain& chain = chains_[static_cast<std::size_t>(here.line)];
        const auto size = static_cast<int>(chain.stations.size());
        std::vector<int> neighbours;
        if (here.position > 0 || chain.isRing) {
            neighbours.push_back((here.position + size - 1) % size);
        }
        if (here.position + 1 < size || chain.isRing) {
            neighbours.push_back((here.position + 1) % size);
        }
        const PlanePoint origin =
            centres[static_cast<std::size_t>(placeOf_[static_cast<std::size_t>(point)])];
        PlanePoint sum;
        const int first = point - here.position;
        for (const int position : neighbours) {
            const int other = placeOf_[static_cast<std::size_t>(first + position)];
            const PlanePoint target = centres[static_cast<std::size_t>(other)];
            const double length = std::hypot(target.x - origin.x, target.y - origin.y);
            if (length > 1e-9) {
                sum.x += (target.x - origin.x) / length;
                sum.y += (target.y - origin.y) / length;
            }
        }
        return sum;
    }

    // Along a point's line as drawn so far, on each side: the next point (station or corner)
    // and the one beyond it, where there are such.
    struct LineSide {
        Spot next;
        std::optional<Spot> beyond;
    };
    std::vector<LineSide> LineNeighbours(const MapPoint& point) const {
        const auto l = static_cast<std::size_t>(point.line);
        const std::vector<Spot> course = Course(l);
        std::ptrdiff_t here = 0;
        for (int i = 0; i < point.position; ++i) {
            const auto link = static_cast<std::size_t>(i);
            here += 1 + static_cast<std::ptrdiff_t>(
                            link < corners_[l].size() ? corners_[l][link].size() : 0);
        }
        const auto size = static_cast<std::ptrdiff_t>(course.size());
        const bool ring = chains_[l].isRing && scheme_.lines[l].points.size() > 2;
        const auto at = [&](std::ptrdiff_t k) -> std::optional<Spot> {
            if (ring) {
                return course[static_cast<std::size_t>((k % size + size) % size)];
            }
            return k >= 0 && k < size ? std::optional(course[static_cast<std::size_t>(k)])
                                      : std::nullopt;
        };
        std::vector<LineSide> sides;
        for (const std::ptrdiff_t way : {-1, 1}) {
            if (const std::optional<Spot> next = at(here + way)) {
                sides.push_back({*next, at(here + 2 * way)});
            }
        }
        return sides;
    }

    // Whether a line through `a`, `at` and `b` turns at `at` by 135 degrees or more.
    static bool Sharp(Spot a, Spot at, Spot b) {
        const std::int64_t ux = a.first - at.first;
        const std::int64_t uy = a.second - at.second;
        const std::int64_t vx = b.first - at.first;
        const std::int64_t vy = b.second - at.second;
        const std::int64_t dot = ux * vx + uy * vy;
        return dot > 0 && 2 * dot * dot >= (ux * ux + uy * uy) * (vx * vx + vy * vy);
    }

    void AddRunTimes() {
        for (std::size_t l = 0; l < scheme_.lines.size(); ++l) {
            const Chain& chain = chains_[l];
            const SourceLine& line = *sourceLineOf_[l];
            DraftLine& draft = scheme_.lines[l];
            for (std::size_t i = 0; i < chain.links.size(); ++i) {
                const SourceLink& link = line.links[static_cast<std::size_t>(chain.links[i])];
                if (link.minutes) {
                    draft.points[i].runTime = *link.minutes;
                    ++report_.dataRunTimes;
                } else {
                    const double metres = DistanceMetres(
                        network_.stations[static_cast<std::size_t>(link.from)].position,
                        network_.stations[static_cast<std::size_t>(link.to)].position);
                    draft.points[i].runTime = EstimateRunMinutes(metres, options_.times);
                    ++report_.estimatedRunTimes;
                }
            }
        }
    }

    bool IsLastOfOpenLine(int point) const {
        const MapPoint& here = points_[static_cast<std::size_t>(point)];
        const Chain& chain = chains_[static_cast<std::size_t>(here.line)];
        return !chain.isRing && here.position + 1 == static_cast<int>(chain.stations.size());
    }

    void AddTransfer(int a, int b, std::int32_t minutes) {
        const DraftPoint& first = Draft(points_[static_cast<std::size_t>(a)]);
        const DraftPoint& second = Draft(points_[static_cast<std::size_t>(b)]);
        scheme_.transfers.push_back({first.x, first.y, second.x, second.y, minutes});
    }

    void AddTransfers() {
        std::map<std::pair<int, int>, double> joined;
        for (const StationPair& pair : joined_) {
            joined[{pair.first, pair.second}] = pair.metres;
        }
        for (const std::vector<int>& members : placePoints_) {
            // Branches of one line meeting at a station: joined where a ride counts no run time,
            // and joined anyway where nothing else would connect them.
            UnionFind branches(points_.size());
            std::vector<std::pair<int, int>> costly;
            for (std::size_t i = 0; i < members.size(); ++i) {
                for (std::size_t j = i + 1; j < members.size(); ++j) {
                    const int a = members[i];
                    const int b = members[j];
                    const MapPoint& first = points_[static_cast<std::size_t>(a)];
                    const MapPoint& second = points_[static_cast<std::size_t>(b)];
                    const int numberA = scheme_.lines[static_cast<std::size_t>(first.line)].number;
                    const int numberB = scheme_.lines[static_cast<std::size_t>(second.line)].number;
                    if (numberA != numberB) {
                        const auto found = joined.find(std::minmax(first.station, second.station));
                        if (first.station == second.station || found != joined.end()) {
                            const double metres =
                                first.station == second.station ? 0 : found->second;
                            AddTransfer(a, b, EstimateTransferMinutes(metres, options_.times));
                            ++report_.estimatedTransfers;
                        }
                    } else if (first.station == second.station) {
                        if (IsLastOfOpenLine(a)) {
                            AddTransfer(a, b, 0);
                            branches.Join(a, b);
                            ++report_.forkTransfers;
                        } else {
                            costly.emplace_back(a, b);
                        }
                    }
                }
            }
            for (const auto& [a, b] : costly) {
                if (branches.Find(a) != branches.Find(b)) {
                    AddTransfer(a, b, 0);
                    branches.Join(a, b);
                    ++report_.forkTransfers;
                }
            }
        }
    }

    // Labels of stations joined by a straight stretch of line, so that they may keep to one side.
    void FindLabelNeighbours(const std::vector<int>& labelOf,
                             std::vector<LabelRequest>& requests) const {
        for (std::size_t l = 0; l < scheme_.lines.size(); ++l) {
            const DraftLine& line = scheme_.lines[l];
            const std::size_t count = line.points.size();
            const std::size_t links = count < 2 ? 0 : line.isRing && count > 2 ? count : count - 1;
            for (std::size_t i = 0; i < links; ++i) {
                const std::size_t j = (i + 1) % count;
                const bool straight =
                    l >= corners_.size() || i >= corners_[l].size() || corners_[l][i].empty();
                const auto first = static_cast<std::size_t>(chainFirstPoint_[l]);
                const int a = labelOf[first + i];
                const int b = labelOf[first + j];
                if (!straight || a == b) {
                    continue;
                }
                const int dx = line.points[j].x - line.points[i].x;
                const int dy = line.points[j].y - line.points[i].y;
                requests[static_cast<std::size_t>(a)].along.push_back({b, dx, dy});
                requests[static_cast<std::size_t>(b)].along.push_back({a, -dx, -dy});
            }
        }
    }

    void ChooseZoomAndLabels() {
        std::vector<LabelDisc> discs;
        for (std::size_t i = 0; i < points_.size(); ++i) {
            const DraftPoint& draft = Draft(points_[i]);
            discs.push_back({draft.x, draft.y, placeOf_[i]});
        }
        const std::int64_t nearestSquared = NearestApartSquared();
        const double nearest = nearestSquared == std::numeric_limits<std::int64_t>::max()
                                   ? std::numeric_limits<double>::infinity()
                                   : std::sqrt(static_cast<double>(nearestSquared));
        report_.nearestPlaceUnits = std::isfinite(nearest) ? static_cast<int>(nearest) : 0;
        // Discs of the size they have at scale 1, with a pixel between them.
        const double discSpan = 2 * (drawing_.stationRadius + drawing_.outlineWidth) + 1;
        int zoom = 1;
        while (zoom < kLargestZoom && zoom * nearest < discSpan) {
            ++zoom;
        }

        std::vector<LabelRequest> requests;
        std::vector<int> labelledPoint;
        std::vector<int> labelOf(points_.size());
        for (const std::vector<int>& members : placePoints_) {
            std::map<std::u16string, std::vector<int>> byName;
            for (const int point : members) {
                byName[Draft(points_[static_cast<std::size_t>(point)]).name].push_back(point);
            }
            for (const auto& [name, named] : byName) {
                LabelRequest request{name,
                                     std::numeric_limits<int>::max(),
                                     std::numeric_limits<int>::min(),
                                     std::numeric_limits<int>::max(),
                                     std::numeric_limits<int>::min(),
                                     placeOf_[static_cast<std::size_t>(named.front())]};
                for (const int point : named) {
                    const DraftPoint& draft = Draft(points_[static_cast<std::size_t>(point)]);
                    request.minX = std::min(request.minX, draft.x);
                    request.maxX = std::max(request.maxX, draft.x);
                    request.minY = std::min(request.minY, draft.y);
                    request.maxY = std::max(request.maxY, draft.y);
                    labelOf[static_cast<std::size_t>(point)] = static_cast<int>(requests.size());
                }
                requests.push_back(std::move(request));
                labelledPoint.push_back(*std::min_element(named.begin(), named.end()));
            }
        }
        FindLabelNeighbours(labelOf, requests);

        // Labels show from scale 1 when they fit there; otherwise only in the zoomed view, at
        // the smallest zoom (up to the largest) where they fit: whole or abbreviated, none
        // overlapping another, none struck through by a line, and no more than a tenth of them
        // over another place's disc.
        std::vector<Segment> segments;
        for (std::size_t l = 0; l < scheme_.lines.size(); ++l) {
            const DraftLine& line = scheme_.lines[l];
            const std::vector<std::pair<int, int>> course = Course(l);
            for (std::size_t i = 0; i < course.size(); ++i) {
                const std::size_t next = (i + 1) % course.size();
                if (next != 0 || (line.isRing && line.points.size() > 2)) {
                    segments.push_back({course[i], course[next], static_cast<int>(l)});
                }
            }
        }
        for (const Transfer& transfer : scheme_.transfers) {
            segments.push_back({{transfer.x1, transfer.y1}, {transfer.x2, transfer.y2}});
        }
        // A scale where more than a tenth of the labels would have to lie over other discs,
        // have a line along them or overlap another cannot fit and is not searched; the
        // largest always is.
        const int mostCovering = static_cast<int>(requests.size()) / kMostCoveringLabels;
        const auto place = [&](int scale, bool farRows = false) {
            LabelScreen screen{scale, drawing_.stationRadius};
            screen.farRows = farRows;
            return PlaceLabels(
                requests, discs, segments, screen,
                scale < kLargestZoom ? mostCovering : std::numeric_limits<int>::max());
        };
        const auto fit = [](const LabelOutcome& labels) {
            return labels.overlaps == 0 && labels.shortened == 0 && labels.struck == 0 &&
                   kMostCoveringLabels * labels.coveredDiscs <=
                       static_cast<int>(labels.labels.size());
        };
        LabelOutcome labels = place(1);
        int labelZoom = 1;
        if (!fit(labels)) {
            labelZoom = std::max(zoom, 2);
            labels = place(labelZoom);
            while (!fit(labels) && labelZoom < kLargestZoom) {
                labels = place(++labelZoom);
            }
            zoom = labelZoom;
        }
        // Labels overlapping even at the largest zoom may stand in rows further out.
        if (labels.overlaps > 0) {
            if (LabelOutcome stacked = place(labelZoom, true); stacked.overlaps < labels.overlaps) {
                labels = std::move(stacked);
            }
        }
        scheme_.zoomFactor = zoom;
        scheme_.labelMinZoom = labelZoom;
        for (std::size_t i = 0; i < requests.size(); ++i) {
            DraftPoint& draft = Draft(points_[static_cast<std::size_t>(labelledPoint[i])]);
            const PlacedLabel& label = labels.labels[i];
            draft.labelText = label.text;
            draft.labelX = label.labelX;
            draft.labelY = label.labelY;
            draft.labelAlign = label.labelAlign;
        }
        report_.labels = std::move(labels);
    }

    const SourceNetwork& network_;
    const BuildOptions& options_;
    BuildReport& report_;
    DraftScheme scheme_;
    Drawing drawing_;
    std::vector<MapPoint> points_;                 // in station-index order
    std::vector<Chain> chains_;                    // per scheme line
    std::vector<const SourceLine*> sourceLineOf_;  // per scheme line
    std::vector<StationPair> joined_;
    std::vector<std::vector<int>> placePoints_;                 // per place, its points
    std::vector<int> placeOf_;                                  // per point
    std::vector<int> chainFirstPoint_;                          // per scheme line, its first point
    std::vector<std::vector<std::vector<GridPoint>>> corners_;  // per line, per link
};

}  // namespace

Outcome<DraftScheme> BuildScheme(const SourceNetwork& network, const BuildOptions& options,
                                 BuildReport& report) {
    if (network.stations.size() > static_cast<std::size_t>(kMaxMapPoints)) {
        return Outcome<DraftScheme>::Failure(std::to_string(network.stations.size()) +
                                             " stations, more than a map can hold (" +
                                             std::to_string(kMaxMapPoints) + ")");
    }
    if (const std::string fault = CheckLinks(network); !fault.empty()) {
        return Outcome<DraftScheme>::Failure(fault);
    }
    return Outcome<DraftScheme>{Builder(network, options, report).Build(), {}};
}

}  // namespace qv::import
