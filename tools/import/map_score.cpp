#include "map_score.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "label_placement.h"
#include "platform/gdi/segment_clip.h"
#include "segment_geometry.h"
#include "text/utf.h"

namespace qv::import {

namespace {

using Vec = IntPoint;

double Length(Vec a, Vec b) {
    return std::hypot(static_cast<double>(b.x - a.x), static_cast<double>(b.y - a.y));
}

bool IsStationPoint(const Station& point) {
    return point.kind == kStationKind || point.kind == kForbiddenKind;
}

class UnionFind {
  public:
    explicit UnionFind(std::size_t size) : parent_(size) {
        std::iota(parent_.begin(), parent_.end(), 0);
    }
    std::size_t Find(std::size_t item) {
        while (parent_[item] != item) {
            item = parent_[item] = parent_[parent_[item]];
        }
        return item;
    }
    void Join(std::size_t a, std::size_t b) { parent_[Find(a)] = Find(b); }

  private:
    std::vector<std::size_t> parent_;
};

struct Link {
    std::int32_t number = 0;
    int from = 0;  // places
    int to = 0;
    std::vector<Vec> path;
    std::u16string key;
};

struct PlaceInfo {
    std::u16string key;
    std::string name;  // its stations' names, each once: "Полежаевская/Хорошевская"
    double x = 0;  // centre of its stations
    double y = 0;
    double radius = 0;
};

// The stations, places and links of one map, as the scores see them.
struct Drawing {
    std::vector<const Station*> stations;  // station points
    std::vector<int> placeOf;              // per station point
    std::vector<PlaceInfo> places;
    std::vector<Link> links;
    std::map<std::u16string, int> placeByKey;
    std::map<std::u16string, int> linkByKey;
};

Vec At(const Station& point) {
    return {point.x, point.y};
}

std::string LinkName(const Drawing& drawing, int link) {
    const Link& l = drawing.links[static_cast<std::size_t>(link)];
    return std::to_string(l.number) + " " + drawing.places[static_cast<std::size_t>(l.from)].name +
           " - " + drawing.places[static_cast<std::size_t>(l.to)].name;
}

Drawing Analyse(const NetworkModel& map) {
    Drawing drawing;
    std::map<const Station*, std::size_t> indexOf;
    std::map<std::pair<int, int>, std::vector<std::size_t>> atSpot;
    for (const Station* point : map.Stations()) {
        if (IsStationPoint(*point)) {
            indexOf[point] = drawing.stations.size();
            atSpot[{point->x, point->y}].push_back(drawing.stations.size());
            drawing.stations.push_back(point);
        }
    }
    UnionFind joined(drawing.stations.size());
    for (const auto& [spot, members] : atSpot) {
        for (const std::size_t member : members) {
            joined.Join(member, members.front());
        }
    }
    for (const Transfer& transfer : map.transfers) {
        const auto first = atSpot.find({transfer.x1, transfer.y1});
        const auto second = atSpot.find({transfer.x2, transfer.y2});
        if (first != atSpot.end() && second != atSpot.end()) {
            joined.Join(first->second.front(), second->second.front());
        }
    }
    std::map<std::size_t, std::set<std::u16string>> namesOf;
    std::map<std::size_t, std::set<std::u16string>> plainNamesOf;
    for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
        const Station& point = *drawing.stations[i];
        const std::string number = std::to_string(point.line->number);
        namesOf[joined.Find(i)].insert(point.name + u"#" +
                                       std::u16string(number.begin(), number.end()));
        plainNamesOf[joined.Find(i)].insert(point.name);
    }
    std::map<std::size_t, int> placeOfRoot;
    for (const auto& [root, names] : namesOf) {
        std::u16string key;
        for (const std::u16string& name : names) {
            key += name + u"|";
        }
        std::string shown;
        for (const std::u16string& name : plainNamesOf[root]) {
            if (!shown.empty()) {
                shown += '/';
            }
            shown += Utf16ToUtf8(name);
        }
        placeOfRoot[root] = static_cast<int>(drawing.places.size());
        drawing.placeByKey.emplace(key, static_cast<int>(drawing.places.size()));
        drawing.places.push_back({key, shown});
    }
    std::vector<int> members(drawing.places.size(), 0);
    for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
        const int place = placeOfRoot[joined.Find(i)];
        drawing.placeOf.push_back(place);
        drawing.places[static_cast<std::size_t>(place)].x += drawing.stations[i]->x;
        drawing.places[static_cast<std::size_t>(place)].y += drawing.stations[i]->y;
        ++members[static_cast<std::size_t>(place)];
    }
    for (std::size_t p = 0; p < drawing.places.size(); ++p) {
        drawing.places[p].x /= members[p];
        drawing.places[p].y /= members[p];
    }
    for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
        PlaceInfo& place = drawing.places[static_cast<std::size_t>(drawing.placeOf[i])];
        place.radius = std::max(place.radius, std::hypot(drawing.stations[i]->x - place.x,
                                                         drawing.stations[i]->y - place.y));
    }

    for (const auto& line : map.Lines()) {
        const auto& points = line->stations;
        const auto count = static_cast<int>(points.size());
        std::vector<int> stops;
        for (int i = 0; i < count; ++i) {
            if (IsStationPoint(*points[static_cast<std::size_t>(i)])) {
                stops.push_back(i);
            }
        }
        const auto stopCount = static_cast<int>(stops.size());
        const int linkCount = line->isRing && stopCount > 2 ? stopCount : stopCount - 1;
        for (int s = 0; s < linkCount; ++s) {
            const int begin = stops[static_cast<std::size_t>(s)];
            const int end =
                s + 1 < stopCount ? stops[static_cast<std::size_t>(s + 1)] : stops.front() + count;
            Link link;
            link.number = line->number;
            for (int i = begin; i <= end; ++i) {
                link.path.push_back(At(*points[static_cast<std::size_t>(i % count)]));
            }
            link.from = drawing.placeOf[indexOf[points[static_cast<std::size_t>(begin)].get()]];
            link.to = drawing.placeOf[indexOf[points[static_cast<std::size_t>(end % count)].get()]];
            const std::u16string& a = drawing.places[static_cast<std::size_t>(link.from)].key;
            const std::u16string& b = drawing.places[static_cast<std::size_t>(link.to)].key;
            link.key = std::u16string(1, static_cast<char16_t>(link.number)) + u"~" +
                       std::min(a, b) + u"~" + std::max(a, b);
            drawing.linkByKey.emplace(link.key, static_cast<int>(drawing.links.size()));
            drawing.links.push_back(std::move(link));
        }
    }
    return drawing;
}

// Per link, the places it passes over: within a disc's radius of one of their stations, on a
// line that does not stop there.
std::vector<std::set<int>> PlacesPassed(const NetworkModel& map, const Drawing& drawing) {
    std::set<std::pair<int, int>> served;
    for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
        served.insert({drawing.stations[i]->line->number, drawing.placeOf[i]});
    }
    std::vector<std::set<int>> over(drawing.links.size());
    for (std::size_t l = 0; l < drawing.links.size(); ++l) {
        const Link& link = drawing.links[l];
        for (std::size_t k = 0; k + 1 < link.path.size(); ++k) {
            for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
                const int place = drawing.placeOf[i];
                if (!served.contains({link.number, place}) &&
                    DistanceToSegment(At(*drawing.stations[i]), link.path[k], link.path[k + 1]) <
                        map.stationRadius) {
                    over[l].insert(place);
                }
            }
        }
    }
    return over;
}

void ScoreLines(const NetworkModel& map, const Drawing& drawing, MapScore& score) {
    for (const auto& line : map.Lines()) {
        std::vector<Vec> path;
        std::vector<const std::u16string*> names;
        for (const auto& point : line->stations) {
            if (path.empty() || !(path.back() == At(*point))) {
                path.push_back(At(*point));
                names.push_back(&point->name);
            }
        }
        const bool ring = line->isRing && path.size() > 2;
        if (ring && path.front() == path.back()) {
            path.pop_back();
        }
        const std::size_t n = path.size();
        const std::size_t segmentCount = ring ? n : n - 1;
        for (std::size_t i = 0; i < segmentCount; ++i) {
            const Vec a = path[i];
            const Vec b = path[(i + 1) % n];
            const double length = Length(a, b);
            score.drawnLength += length;
            const std::int64_t dx = std::abs(b.x - a.x);
            const std::int64_t dy = std::abs(b.y - a.y);
            if (dx == 0 || dy == 0 || dx == dy) {
                score.octilinearLength += length;
            }
        }
        for (std::size_t i = ring ? 0 : 1; i + (ring ? 0 : 1) < n; ++i) {
            const Vec u = path[(i + n - 1) % n];
            const Vec v = path[i];
            const Vec w = path[(i + 1) % n];
            const std::int64_t cross = Cross(u, v, w);
            const std::int64_t dot = (v.x - u.x) * (w.x - v.x) + (v.y - u.y) * (w.y - v.y);
            if (cross == 0 && dot > 0) {
                continue;
            }
            ++score.bends;
            const double inside =
                static_cast<double>((u.x - v.x) * (w.x - v.x) + (u.y - v.y) * (w.y - v.y)) /
                (Length(v, u) * Length(v, w));
            if (inside >= std::cos(std::numbers::pi / 4) - 1e-9) {
                ++score.sharpTurns;
                score.faults.push_back("sharp turn: " + std::to_string(line->number) + " at " +
                                       Utf16ToUtf8(*names[i]) + " (" + std::to_string(v.x) + ", " +
                                       std::to_string(v.y) + ")");
            }
        }
    }

    const std::vector<std::set<int>> over = PlacesPassed(map, drawing);
    std::set<std::pair<int, int>> falseStops;
    for (std::size_t l = 0; l < over.size(); ++l) {
        const int number = drawing.links[l].number;
        for (const int place : over[l]) {
            if (falseStops.insert({number, place}).second) {
                score.faults.push_back("line through a station: " + std::to_string(number) +
                                       " through " +
                                       drawing.places[static_cast<std::size_t>(place)].name);
            }
        }
    }
    score.falseStops = static_cast<int>(falseStops.size());
}

std::set<std::pair<int, int>> ScoreLinks(const Drawing& drawing, MapScore& score) {
    struct Piece {
        Vec a;
        Vec b;
        int link;
    };
    std::vector<Piece> pieces;
    for (std::size_t l = 0; l < drawing.links.size(); ++l) {
        const std::vector<Vec>& path = drawing.links[l].path;
        for (std::size_t k = 0; k + 1 < path.size(); ++k) {
            if (!(path[k] == path[k + 1])) {
                pieces.push_back({path[k], path[k + 1], static_cast<int>(l)});
            }
        }
    }
    std::vector<bool> shared(drawing.links.size(), false);
    std::set<std::pair<int, int>> crossing;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            const Piece& p = pieces[i];
            const Piece& q = pieces[j];
            if (p.link == q.link) {
                continue;
            }
            if (SharesStretch(p.a, p.b, q.a, q.b)) {
                shared[static_cast<std::size_t>(p.link)] = true;
                shared[static_cast<std::size_t>(q.link)] = true;
                continue;
            }
            const Link& first = drawing.links[static_cast<std::size_t>(p.link)];
            const Link& second = drawing.links[static_cast<std::size_t>(q.link)];
            if (first.from == second.from || first.from == second.to || first.to == second.from ||
                first.to == second.to) {
                continue;
            }
            if (SegmentsMeet(p.a, p.b, q.a, q.b)) {
                crossing.insert(std::minmax(p.link, q.link));
            }
        }
    }
    score.links = static_cast<int>(drawing.links.size());
    score.keptLinks = static_cast<int>(std::count(shared.begin(), shared.end(), false));
    for (std::size_t l = 0; l < shared.size(); ++l) {
        if (shared[l]) {
            score.faults.push_back("link on another's track: " +
                                   LinkName(drawing, static_cast<int>(l)));
        }
    }
    score.crossings = static_cast<int>(crossing.size());
    return crossing;
}

void ScoreSpacing(const NetworkModel& map, const Drawing& drawing, MapScore& score) {
    score.places = static_cast<int>(drawing.places.size());
    score.zoomFactor = map.zoomFactor;
    double nearest = std::numeric_limits<double>::infinity();
    for (std::size_t a = 0; a < drawing.stations.size(); ++a) {
        for (std::size_t b = a + 1; b < drawing.stations.size(); ++b) {
            if (drawing.placeOf[a] != drawing.placeOf[b]) {
                nearest =
                    std::min(nearest, Length(At(*drawing.stations[a]), At(*drawing.stations[b])));
            }
        }
    }
    score.nearestPlaces = std::isfinite(nearest) ? nearest : 0;
}

void ScoreLabels(const NetworkModel& map, const Drawing& drawing, MapScore& score) {
    struct Box {
        double left, top, right, bottom;
        bool Overlaps(const Box& o) const {
            return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
        }
    };
    const double s = std::max(1, map.labelMinZoom);
    std::vector<Box> boxes;
    std::vector<int> placeOfLabel;
    for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
        const Station& point = *drawing.stations[i];
        if (point.labelText.empty()) {
            continue;
        }
        const double width =
            std::ceil(kLabelCharWidth * static_cast<double>(point.labelText.size()));
        const double x = s * point.labelX;
        const double bottom = s * point.labelY;
        const double left = point.labelAlign == 2   ? x - width
                            : point.labelAlign == 3 ? x + width / 2
                                                    : x;
        boxes.push_back({left, bottom - kLabelHeight, left + width, bottom});
        placeOfLabel.push_back(drawing.placeOf[i]);
    }
    score.labels = static_cast<int>(boxes.size());
    for (std::size_t a = 0; a < boxes.size(); ++a) {
        for (std::size_t b = a + 1; b < boxes.size(); ++b) {
            score.labelOverlaps += boxes[a].Overlaps(boxes[b]);
        }
        const double r = s * map.stationRadius;
        for (std::size_t i = 0; i < drawing.stations.size(); ++i) {
            const Station& point = *drawing.stations[i];
            const Box disc{s * point.x - r, s * point.y - r, s * point.x + r, s * point.y + r};
            if (drawing.placeOf[i] != placeOfLabel[a] && boxes[a].Overlaps(disc)) {
                ++score.labelsOverDiscs;
                break;
            }
        }
        const auto inside = [&](Vec from, Vec to) {
            const double x = s * static_cast<double>(from.x);
            const double y = s * static_cast<double>(from.y);
            return LengthInside(x, y, s * static_cast<double>(to.x) - x,
                                s * static_cast<double>(to.y) - y,
                                {boxes[a].left, boxes[a].top, boxes[a].right, boxes[a].bottom});
        };
        // Per line, over all its stretches, so that a station under the label parts nothing.
        std::map<std::int32_t, double> alongLine;
        for (const Link& link : drawing.links) {
            for (std::size_t k = 0; k + 1 < link.path.size(); ++k) {
                alongLine[link.number] += inside(link.path[k], link.path[k + 1]);
            }
        }
        const bool struck = std::ranges::any_of(
            alongLine, [](const auto& line) { return line.second > kStruckLength; });
        score.labelsAlongLines += struck;
    }
}

// The neighbouring places of each place, in the order they lie around it.
std::vector<std::vector<std::u16string>> NeighbourOrder(const Drawing& drawing) {
    std::vector<std::map<std::u16string, std::pair<double, double>>> towards(drawing.places.size());
    for (const Link& link : drawing.links) {
        if (link.from == link.to) {
            continue;
        }
        for (const bool forward : {true, false}) {
            const int here = forward ? link.from : link.to;
            const int there = forward ? link.to : link.from;
            const PlaceInfo& place = drawing.places[static_cast<std::size_t>(here)];
            Vec leave = forward ? link.path.back() : link.path.front();
            for (std::size_t k = 0; k < link.path.size(); ++k) {
                const Vec p = link.path[forward ? k : link.path.size() - 1 - k];
                if (std::hypot(p.x - place.x, p.y - place.y) > place.radius + 1) {
                    leave = p;
                    break;
                }
            }
            const double dx = leave.x - place.x;
            const double dy = leave.y - place.y;
            const double length = std::hypot(dx, dy);
            auto& sum = towards[static_cast<std::size_t>(here)]
                               [drawing.places[static_cast<std::size_t>(there)].key];
            if (length > 0) {
                sum.first += dx / length;
                sum.second += dy / length;
            }
        }
    }
    std::vector<std::vector<std::u16string>> order(drawing.places.size());
    for (std::size_t p = 0; p < towards.size(); ++p) {
        std::vector<std::pair<double, std::u16string>> around;
        for (const auto& [key, sum] : towards[p]) {
            around.emplace_back(std::atan2(sum.second, sum.first), key);
        }
        std::sort(around.begin(), around.end());
        for (const auto& entry : around) {
            order[p].push_back(entry.second);
        }
        if (!order[p].empty()) {
            std::rotate(order[p].begin(), std::min_element(order[p].begin(), order[p].end()),
                        order[p].end());
        }
    }
    return order;
}

using KeyPair = std::pair<std::u16string, std::u16string>;
// Places with more neighbours are compared without swaps: 2^n orders to try.
constexpr std::size_t kMostNeighboursSwapped = 12;

// The pairs of neighbours of `place` (their keys, the smaller first) whose order round it the
// drawing leaves open: the link to one passes over the other.
std::set<KeyPair> OpenNeighbours(const Drawing& drawing, const std::vector<std::set<int>>& over,
                                 int place) {
    std::vector<std::pair<int, int>> leaving;  // link, neighbour
    for (std::size_t l = 0; l < drawing.links.size(); ++l) {
        const Link& link = drawing.links[l];
        if (link.from != link.to && (link.from == place || link.to == place)) {
            leaving.emplace_back(static_cast<int>(l), link.from == place ? link.to : link.from);
        }
    }
    std::set<KeyPair> open;
    for (const auto& [one, first] : leaving) {
        for (const auto& [two, second] : leaving) {
            if (first != second && over[static_cast<std::size_t>(one)].contains(second)) {
                const std::u16string& a = drawing.places[static_cast<std::size_t>(first)].key;
                const std::u16string& b = drawing.places[static_cast<std::size_t>(second)].key;
                open.insert(std::minmax(a, b));
            }
        }
    }
    return open;
}

// Whether `drawn` is `reference` (both cyclic orders starting at their least key) with some
// pairs of neighbours next to each other in it swapped, each pair one of `open`.
bool WithOpenPairsSwapped(const std::vector<std::u16string>& drawn,
                          const std::vector<std::u16string>& reference,
                          const std::set<KeyPair>& open) {
    const std::size_t n = reference.size();
    if (open.empty() || drawn.size() != n || n < 3 || n > kMostNeighboursSwapped) {
        return false;
    }
    std::vector<std::size_t> swappable;  // positions whose key and the next form an open pair
    for (std::size_t i = 0; i < n; ++i) {
        if (open.contains(std::minmax(reference[i], reference[(i + 1) % n]))) {
            swappable.push_back(i);
        }
    }
    for (std::uint32_t subset = 1; subset < (1U << swappable.size()); ++subset) {
        std::vector<std::u16string> swapped = reference;
        std::vector<bool> moved(n, false);
        bool disjoint = true;
        for (std::size_t k = 0; k < swappable.size() && disjoint; ++k) {
            const std::size_t i = swappable[k];
            const std::size_t j = (i + 1) % n;
            if ((subset >> k) & 1U) {
                disjoint = !moved[i] && !moved[j];
                moved[i] = moved[j] = true;
                std::swap(swapped[i], swapped[j]);
            }
        }
        std::rotate(swapped.begin(), std::min_element(swapped.begin(), swapped.end()),
                    swapped.end());
        if (disjoint && swapped == drawn) {
            return true;
        }
    }
    return false;
}

// `otherOver` gives per link of the other map the places it passes over: there the other map
// leaves open on which side of the line the place lies.
void Compare(const Drawing& drawing, const std::set<std::pair<int, int>>& crossing,
             const Drawing& other, const std::set<std::pair<int, int>>& otherCrossing,
             const std::vector<std::set<int>>& otherOver, MapScore& score) {
    score.compared = true;
    // Places: matched by their names and lines.
    std::vector<std::pair<int, int>> matched;
    for (std::size_t p = 0; p < drawing.places.size(); ++p) {
        const auto found = other.placeByKey.find(drawing.places[p].key);
        if (found == other.placeByKey.end()) {
            ++score.unmatchedPlaces;
        } else {
            matched.emplace_back(static_cast<int>(p), found->second);
        }
    }
    std::vector<int> linkMatch(drawing.links.size(), -1);
    for (std::size_t l = 0; l < drawing.links.size(); ++l) {
        const auto found = other.linkByKey.find(drawing.links[l].key);
        if (found == other.linkByKey.end()) {
            ++score.unmatchedLinks;
        } else {
            linkMatch[l] = found->second;
        }
    }
    std::set<std::pair<int, int>> mapped;
    for (const auto& [a, b] : crossing) {
        const int ma = linkMatch[static_cast<std::size_t>(a)];
        const int mb = linkMatch[static_cast<std::size_t>(b)];
        if (ma >= 0 && mb >= 0) {
            mapped.insert(std::minmax(ma, mb));
        }
    }
    const auto name = [&other](const std::string& what, std::pair<int, int> pair) {
        return what + LinkName(other, pair.first) + " x " + LinkName(other, pair.second);
    };
    // Whether one of two links passes over a place at an end of the other.
    const auto open = [&](std::pair<int, int> pair) {
        const Link& one = other.links[static_cast<std::size_t>(pair.first)];
        const Link& two = other.links[static_cast<std::size_t>(pair.second)];
        const std::set<int>& overOne = otherOver[static_cast<std::size_t>(pair.first)];
        const std::set<int>& overTwo = otherOver[static_cast<std::size_t>(pair.second)];
        return overOne.contains(two.from) || overOne.contains(two.to) ||
               overTwo.contains(one.from) || overTwo.contains(one.to);
    };
    // The pairs of `one` that `other` lacks: `changed` faults, or left open.
    const auto tally = [&](const std::set<std::pair<int, int>>& one,
                           const std::set<std::pair<int, int>>& two, int& changed,
                           const std::string& what) {
        for (const auto& pair : one) {
            if (two.contains(pair)) {
                continue;
            }
            if (open(pair)) {
                ++score.crossingsOpen;
                score.faults.push_back(name("crossing left open (" + what + "): ", pair));
            } else {
                ++changed;
                score.faults.push_back(name("crossing " + what + ": ", pair));
            }
        }
    };
    tally(mapped, otherCrossing, score.crossingsAdded, "added");
    tally(otherCrossing, mapped, score.crossingsLost, "lost");

    const auto order = NeighbourOrder(drawing);
    const auto otherOrder = NeighbourOrder(other);
    for (const auto& [here, there] : matched) {
        const std::vector<std::u16string>& drawn = order[static_cast<std::size_t>(here)];
        const std::vector<std::u16string>& reference = otherOrder[static_cast<std::size_t>(there)];
        if (drawn == reference) {
            continue;
        }
        if (WithOpenPairsSwapped(drawn, reference, OpenNeighbours(other, otherOver, there))) {
            ++score.ordersOpen;
            score.faults.push_back("neighbours left open: " +
                                   drawing.places[static_cast<std::size_t>(here)].name);
        } else {
            ++score.orderChanged;
            score.faults.push_back("neighbours in another order: " +
                                   drawing.places[static_cast<std::size_t>(here)].name);
        }
    }

    // Displacement after the scale and shift that best lay this map over the other.
    if (matched.empty()) {
        return;
    }
    double px = 0, py = 0, qx = 0, qy = 0;
    for (const auto& [here, there] : matched) {
        px += drawing.places[static_cast<std::size_t>(here)].x;
        py += drawing.places[static_cast<std::size_t>(here)].y;
        qx += other.places[static_cast<std::size_t>(there)].x;
        qy += other.places[static_cast<std::size_t>(there)].y;
    }
    const auto n = static_cast<double>(matched.size());
    px /= n, py /= n, qx /= n, qy /= n;
    double spread = 0, product = 0;
    for (const auto& [here, there] : matched) {
        const PlaceInfo& p = drawing.places[static_cast<std::size_t>(here)];
        const PlaceInfo& q = other.places[static_cast<std::size_t>(there)];
        spread += (p.x - px) * (p.x - px) + (p.y - py) * (p.y - py);
        product += (p.x - px) * (q.x - qx) + (p.y - py) * (q.y - qy);
    }
    const double scale = spread > 0 ? product / spread : 1;
    std::set<std::pair<int, int>> pairs;
    double linkLength = 0;
    for (const Link& link : other.links) {
        if (link.from != link.to && pairs.insert(std::minmax(link.from, link.to)).second) {
            const PlaceInfo& a = other.places[static_cast<std::size_t>(link.from)];
            const PlaceInfo& b = other.places[static_cast<std::size_t>(link.to)];
            linkLength += std::hypot(a.x - b.x, a.y - b.y);
        }
    }
    linkLength = pairs.empty() ? 1 : linkLength / static_cast<double>(pairs.size());
    double total = 0;
    for (const auto& [here, there] : matched) {
        const PlaceInfo& p = drawing.places[static_cast<std::size_t>(here)];
        const PlaceInfo& q = other.places[static_cast<std::size_t>(there)];
        const double d =
            std::hypot(qx + scale * (p.x - px) - q.x, qy + scale * (p.y - py) - q.y) / linkLength;
        total += d;
        score.maxDisplacement = std::max(score.maxDisplacement, d);
    }
    score.meanDisplacement = total / n;
}

MapScore ScoreDrawing(const NetworkModel& map, const Drawing& drawing,
                      std::set<std::pair<int, int>>& crossing) {
    MapScore score;
    ScoreLines(map, drawing, score);
    crossing = ScoreLinks(drawing, score);
    ScoreSpacing(map, drawing, score);
    ScoreLabels(map, drawing, score);
    return score;
}

}  // namespace

MapScore ScoreMap(const NetworkModel& map) {
    const Drawing drawing = Analyse(map);
    std::set<std::pair<int, int>> crossing;
    return ScoreDrawing(map, drawing, crossing);
}

MapScore ScoreMap(const NetworkModel& map, const NetworkModel& against) {
    const Drawing drawing = Analyse(map);
    const Drawing other = Analyse(against);
    std::set<std::pair<int, int>> crossing;
    MapScore score = ScoreDrawing(map, drawing, crossing);
    std::set<std::pair<int, int>> otherCrossing;
    MapScore otherScore;
    otherCrossing = ScoreLinks(other, otherScore);
    Compare(drawing, crossing, other, otherCrossing, PlacesPassed(against, other), score);
    return score;
}

}  // namespace qv::import
