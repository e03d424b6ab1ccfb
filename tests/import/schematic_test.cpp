// The octilinear layout on small networks: angles, shared stretches, spacing and order.

#include "import/schematic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>
#include <queue>
#include <random>
#include <set>
#include <span>
#include <sstream>
#include <string>

#include "import/schematic_board.h"
#include "import/schematic_course.h"
#include "import/schematic_grid.h"
#include "import/schematic_ports.h"
#include "import/schematic_queue.h"
#include "import/schematic_search.h"
#include "import/schematic_slides.h"
#include "import/square_cells.h"

namespace qv::import {
namespace {

// The course of a chain: its stations with the corners between them.
std::vector<GridPoint> Course(const SchematicChain& chain) {
    std::vector<GridPoint> course;
    for (std::size_t i = 0; i < chain.stations.size(); ++i) {
        course.push_back(chain.stations[i]);
        if (i < chain.corners.size()) {
            course.insert(course.end(), chain.corners[i].begin(), chain.corners[i].end());
        }
    }
    if (chain.corners.size() == chain.stations.size()) {
        course.push_back(chain.stations.front());  // a ring closes
    }
    return course;
}

bool Octilinear(GridPoint a, GridPoint b) {
    const int dx = std::abs(b.x - a.x);
    const int dy = std::abs(b.y - a.y);
    return dx == 0 || dy == 0 || dx == dy;
}

// Places written "x y, x y, ...".
std::vector<PlanePoint> Places(const char* text) {
    std::vector<PlanePoint> places;
    std::istringstream read(text);
    for (PlanePoint p; read >> p.x >> p.y; read.ignore(1)) {
        places.push_back(p);
    }
    return places;
}

// Open lines written "place place ... | place ...".
std::vector<PlaceChain> Chains(const char* text) {
    std::vector<PlaceChain> chains;
    std::istringstream read(text);
    for (std::string chain; std::getline(read, chain, '|');) {
        std::istringstream stations(chain);
        chains.push_back({{std::istream_iterator<int>(stations), {}}, false});
    }
    return chains;
}

// Pairs of links written "a-b x c-d, ...", each link as its two places.
// A network of a few lines on a 60-unit square, on a grid 5 units apart, laid out as a crowded
// one.
SchematicRequest CrowdedSquare(const char* places, const char* chains) {
    SchematicRequest request{Places(places), Chains(chains), {0, 0, 60, 60}, 5, 3};
    request.crowded = true;
    return request;
}

std::vector<LinkCrossing> Crossings(const char* text) {
    std::vector<LinkCrossing> crossings;
    std::istringstream read(text);
    char dash = 0;
    char x = 0;
    for (LinkCrossing pair; read >> pair.first.first >> dash >> pair.first.second >> x >>
                            pair.second.first >> dash >> pair.second.second;
         read.ignore(1)) {
        crossings.push_back(pair);
    }
    return crossings;
}

// A cross of two lines meeting at place 0, a third line sharing the east arm from place 0 to
// place 2, and a ring round the outside.
SchematicRequest Cross() {
    SchematicRequest request{{}, {}, {10, 30, 230, 290}, 12, 4};
    request.places = {{120, 160}, {150, 160}, {180, 160}, {90, 160},  {60, 160},
                      {120, 130}, {120, 100}, {120, 190}, {120, 220}, {200, 120}};
    request.chains = {{{4, 3, 0, 1, 2}, false}, {{6, 5, 0, 7, 8}, false}, {{0, 1, 2, 9}, false}};
    return request;
}

// A long line across and a short one down, with a station of the short one just past the
// crossing: the grid node nearest that station is where the lines cross.
SchematicRequest StationBesideACrossing() {
    SchematicRequest request{
        {}, {{{0, 1, 2, 3, 4, 5}, false}, {{6, 7, 8}, false}}, {0, 0, 240, 240}, 20};
    request.places = {{20, 120},  {60, 120}, {100, 120}, {140, 120}, {180, 120},
                      {220, 120}, {120, 20}, {120, 126}, {120, 220}};
    return request;
}

// Three lines through place 0: one from the north-east turns west, and of two side by side from
// the north one turns east, across the first.
SchematicRequest TurnsCrossingAtAStation() {
    SchematicRequest request{{}, {}, {0, 0, 240, 240}, 20};
    request.places = {{120, 120}, {200, 40},  {160, 80},  {80, 120},  {40, 120}, {120, 40},
                      {120, 80},  {160, 120}, {200, 120}, {120, 160}, {120, 200}};
    request.chains = {
        {{1, 2, 0, 3, 4}, false}, {{5, 6, 0, 7, 8}, false}, {{5, 6, 0, 9, 10}, false}};
    return request;
}

// Three lines in a crowded square, one of them beside an interchange of the other two: drawn a
// slot aside, it would pass over one of the interchange's stations.
SchematicRequest BesideAnInterchange() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{12, 50}, {27, 28}, {54, 28}, {40, 40}, {12, 56}, {23, 9},  {42, 13},
                      {41, 21}, {39, 17}, {24, 47}, {14, 38}, {23, 29}, {44, 10}, {38, 36}};
    request.chains = {{{0, 11, 12, 3}, false}, {{10, 9, 1}, false}, {{4, 7, 0, 5}, false}};
    return request;
}

// A line ending at an interchange, its last link a grid step long: the interchange's two
// stations cannot share the node, and the line's end, slid off it, would come near its neighbour.
SchematicRequest EndAtAnInterchange() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{15, 30}, {30, 30}, {45, 30}, {30, 15}, {30, 25}};
    request.chains = {{{0, 1, 2}, false}, {{3, 4, 1}, false}};
    return request;
}

// Two lines crossing at an interchange whose neighbours on the line down are a grid step away.
SchematicRequest CrossAtAnInterchange() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{15, 30}, {30, 30}, {45, 30}, {30, 15}, {30, 25}, {30, 35}, {30, 45}};
    request.chains = {{{0, 1, 2}, false}, {{3, 4, 1, 5, 6}, false}};
    return request;
}

// Three lines in a small square, one station left beside another line once the lines are
// drawn side by side: the station moves along its own line, off the other.
SchematicRequest StationBesideALine() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{9, 47},  {27, 10}, {19, 20}, {13, 31}, {39, 33}, {14, 14},
                      {14, 51}, {12, 39}, {7, 45},  {49, 19}, {27, 13}, {20, 5}};
    request.chains = {{{4, 2, 0, 6}, false}, {{2, 3, 7}, false}, {{4, 5, 0, 2}, false}};
    return request;
}

// Three lines, one of which, drawn a slot aside, would pass a station just beyond the corners
// of its own link.
SchematicRequest PastTheEndOfALink() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{30, 39}, {45, 47}, {54, 21}, {33, 7},  {36, 15}, {27, 39}, {32, 12},
                      {40, 30}, {42, 10}, {5, 24},  {46, 30}, {10, 33}, {50, 36}, {11, 50}};
    request.chains = {
        {{8, 11, 0, 13}, false}, {{0, 11, 6, 10, 4}, false}, {{2, 0, 7, 6, 10}, false}};
    return request;
}

// Three lines sharing stretches in pairs: without a run moved a slot aside, two would run on
// one track along a column.
SchematicRequest PartingAlongAColumn() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{47, 5}, {6, 39},  {37, 24}, {48, 54}, {45, 37}, {40, 38},
                      {9, 44}, {39, 54}, {17, 20}, {36, 6},  {29, 13}, {22, 12}};
    request.chains = {
        {{2, 10, 0, 9}, false}, {{9, 4, 0, 10, 3}, false}, {{4, 11, 7, 10, 2}, false}};
    return request;
}

// Three lines, two of them from one junction to another by different ways: at first one
// passes just west of a station it does not serve.
SchematicRequest PassingWestOfAStation() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{40, 38}, {30, 55}, {39, 25}, {29, 37}, {45, 37}, {39, 9},
                      {43, 20}, {46, 26}, {34, 44}, {10, 11}, {36, 14}, {50, 50}};
    request.chains = {{{7, 1, 9, 6}, false}, {{0, 3, 8, 10, 2}, false}, {{0, 7, 1, 6}, false}};
    return request;
}

// Three lines, two of them sharing a run with a third: slots one off would take a lane a grid
// step out, where its corner overshoots the next node.
SchematicRequest LanesAGridStepOut() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{26, 25}, {18, 5},  {33, 33}, {53, 10}, {28, 11},
                      {36, 41}, {39, 51}, {22, 37}, {10, 15}, {51, 12}};
    request.chains = {{{2, 7, 8, 0}, false}, {{7, 8, 1, 0}, false}, {{4, 7, 5, 1, 0}, false}};
    return request;
}

// Three lines, one of which turns from a lane on one side of its run into one on the other:
// the lanes' lines meet behind the turn.
SchematicRequest LaneChangedAcrossATurn() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{21, 22}, {26, 19}, {36, 32}, {26, 6}, {38, 10}, {54, 9},
                      {40, 50}, {55, 35}, {18, 14}, {6, 52}, {14, 16}};
    request.chains = {{{1, 3, 5, 0, 4}, false}, {{1, 10, 4, 0}, false}, {{6, 2, 4, 5, 3}, false}};
    return request;
}

// Four lines over six places: one steps two lanes aside, wider than a grid step, going
// straight on.
SchematicRequest TwoLanesAsideGoingStraight() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{22, 15}, {14, 29}, {26, 45}, {12, 7}, {17, 47}, {26, 30}};
    request.chains = {{{0, 1, 3, 2}, false},
                      {{3, 2, 4, 5, 0}, false},
                      {{3, 2, 1, 5, 4}, false},
                      {{4, 2, 3, 1}, false}};
    return request;
}

// Three lines in a crowded square, one of them with two stations far off between two junctions
// two grid steps apart: the cheapest way with a step for each station loops back along itself.
SchematicRequest LoopingBackForRoom() {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{44, 4},  {12, 39}, {27, 24}, {57, 35}, {33, 40}, {35, 2}, {46, 29},
                      {16, 47}, {18, 28}, {30, 56}, {36, 54}, {33, 9},  {4, 44}, {53, 10}};
    request.chains = {
        {{2, 13, 9, 8, 7}, false}, {{5, 2, 10, 6, 8}, false}, {{7, 1, 9, 12, 5}, false}};
    return request;
}

// Whether a course turns by 135 degrees or more at its point i (a line running back on itself).
bool TurnsSharply(const std::vector<GridPoint>& course, std::size_t i) {
    const double ax = course[i].x - course[i - 1].x;
    const double ay = course[i].y - course[i - 1].y;
    const double bx = course[i + 1].x - course[i].x;
    const double by = course[i + 1].y - course[i].y;
    return ax * bx + ay * by <=
           -std::cos(std::numbers::pi / 4) * std::hypot(ax, ay) * std::hypot(bx, by) + 1e-9;
}

double Distance(GridPoint p, GridPoint a, GridPoint b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double t =
        std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// What an octilinear course covers, in half units: its whole units and the midpoints between.
std::set<std::pair<int, int>> Covered(const std::vector<GridPoint>& course) {
    std::set<std::pair<int, int>> covered;
    for (std::size_t i = 0; i + 1 < course.size(); ++i) {
        const int dx = (course[i + 1].x > course[i].x) - (course[i + 1].x < course[i].x);
        const int dy = (course[i + 1].y > course[i].y) - (course[i + 1].y < course[i].y);
        for (GridPoint p = course[i]; Octilinear(p, course[i + 1]); p = {p.x + dx, p.y + dy}) {
            covered.insert({2 * p.x, 2 * p.y});
            if (p == course[i + 1]) {
                break;
            }
            covered.insert({2 * p.x + dx, 2 * p.y + dy});
        }
    }
    return covered;
}

// Each station closer than a station's radius to the line of another chain that does not
// serve its place, as "x,y by line c".
std::vector<std::string> StationsOnOtherLines(const SchematicRequest& request,
                                              const SchematicLayout& layout) {
    std::vector<std::string> found;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        for (std::size_t k = 0; k < layout.chains[c].stations.size(); ++k) {
            const GridPoint station = layout.chains[c].stations[k];
            for (std::size_t other = 0; other < layout.chains.size(); ++other) {
                const std::vector<int>& served = request.chains[other].places;
                if (std::count(served.begin(), served.end(), request.chains[c].places[k])) {
                    continue;
                }
                const std::vector<GridPoint> line = Course(layout.chains[other]);
                for (std::size_t s = 0; s + 1 < line.size(); ++s) {
                    if (Distance(station, line[s], line[s + 1]) < request.separation - 1) {
                        found.push_back(std::to_string(station.x) + "," +
                                        std::to_string(station.y) + " by line " +
                                        std::to_string(other));
                    }
                }
            }
        }
    }
    return found;
}

TEST(Schematic, DrawsEveryStretchAtMultiplesOf45DegreesWithoutTurningBackAndNoStationOnAnother) {
    for (const auto& [what, request] :
         {std::pair{"a cross", Cross()},
          std::pair{"a station beside a crossing", StationBesideACrossing()},
          std::pair{"two lines turning where they cross", TurnsCrossingAtAStation()},
          std::pair{"a line beside an interchange", BesideAnInterchange()},
          std::pair{"a line ending at an interchange", EndAtAnInterchange()},
          std::pair{"two lines crossing at an interchange", CrossAtAnInterchange()},
          std::pair{"a station beside a line", StationBesideALine()},
          std::pair{"a line past the end of a link", PastTheEndOfALink()},
          std::pair{"lines parting along a column", PartingAlongAColumn()},
          std::pair{"a line passing west of a station", PassingWestOfAStation()},
          std::pair{"lanes a grid step out", LanesAGridStepOut()},
          std::pair{"a lane changed across a turn", LaneChangedAcrossATurn()},
          std::pair{"two lanes aside going straight", TwoLanesAsideGoingStraight()},
          std::pair{"a line looping back for room", LoopingBackForRoom()}}) {
        SCOPED_TRACE(what);
        const SchematicLayout layout = LayOutSchematic(request);
        ASSERT_EQ(layout.chains.size(), request.chains.size());
        EXPECT_EQ(layout.unrouted, 0);
        std::set<std::pair<int, int>> stations;
        std::map<std::pair<int, int>, std::pair<std::size_t, std::size_t>> track;  // its link
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            const SchematicChain& chain = layout.chains[c];
            for (std::size_t i = 0; i < chain.corners.size(); ++i) {
                std::vector<GridPoint> link{chain.stations[i]};
                link.insert(link.end(), chain.corners[i].begin(), chain.corners[i].end());
                link.push_back(chain.stations[i + 1]);
                for (const auto& [x, y] : Covered(link)) {
                    EXPECT_TRUE((x % 2 == 0 && y % 2 == 0) ||
                                track.emplace(std::pair{x, y}, std::pair{c, i}).second)
                        << "chain " << c << " link " << i << " shares track at " << x / 2.0;
                }
            }
        }
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            SCOPED_TRACE(c);
            const SchematicChain& chain = layout.chains[c];
            ASSERT_EQ(chain.stations.size(), request.chains[c].places.size());
            ASSERT_EQ(chain.corners.size(), chain.stations.size() - 1);
            const std::vector<GridPoint> course = Course(chain);
            for (std::size_t i = 0; i + 1 < course.size(); ++i) {
                EXPECT_TRUE(Octilinear(course[i], course[i + 1]))
                    << course[i].x << "," << course[i].y << " to " << course[i + 1].x << ","
                    << course[i + 1].y;
                EXPECT_FALSE(course[i] == course[i + 1]);
                EXPECT_FALSE(i > 0 && TurnsSharply(course, i))
                    << "turns back at " << course[i].x << "," << course[i].y;
            }
            // Every corner is a turn.
            for (std::size_t i = 0; i < chain.corners.size(); ++i) {
                std::vector<GridPoint> link{chain.stations[i]};
                link.insert(link.end(), chain.corners[i].begin(), chain.corners[i].end());
                link.push_back(chain.stations[i + 1]);
                for (std::size_t k = 1; k + 1 < link.size(); ++k) {
                    EXPECT_NE(schematic::DirectionOf(link[k - 1], link[k]),
                              schematic::DirectionOf(link[k], link[k + 1]))
                        << "a corner at " << link[k].x << "," << link[k].y << " runs straight on";
                }
            }
            for (std::size_t k = 0; k < chain.stations.size(); ++k) {
                const GridPoint station = chain.stations[k];
                EXPECT_TRUE(stations.insert({station.x, station.y}).second)
                    << station.x << "," << station.y;
                EXPECT_GE(station.x, request.box.left);
                EXPECT_LE(station.x, request.box.right + request.separation);
            }
        }
        EXPECT_EQ(StationsOnOtherLines(request, layout), std::vector<std::string>{});
    }
}

// A line passes beside a station of an interchange of the other two, and no station can slide
// off it: moving the interchange's own lines a slot aside clears it.
TEST(Schematic, MovesAnInterchangesLinesOffALinePassingItsStation) {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{17, 16}, {48, 17}, {53, 46}, {41, 15}, {39, 45}, {35, 42}, {39, 40},
                      {39, 10}, {47, 16}, {30, 44}, {44, 48}, {21, 39}, {50, 26}, {38, 9}};
    request.chains = {
        {{12, 4, 7, 3, 6}, false}, {{10, 9, 11, 8, 0}, false}, {{9, 11, 8, 1, 3}, false}};
    EXPECT_EQ(StationsOnOtherLines(request, LayOutSchematic(request)), std::vector<std::string>{});
}

// Every station drawn, with its place.
std::vector<std::pair<GridPoint, int>> StationsAndPlaces(const SchematicRequest& request,
                                                         const SchematicLayout& layout) {
    std::vector<std::pair<GridPoint, int>> stations;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        for (std::size_t i = 0; i < layout.chains[c].stations.size(); ++i) {
            stations.emplace_back(layout.chains[c].stations[i], request.chains[c].places[i]);
        }
    }
    return stations;
}

// Random networks of three lines on a 60-unit square, laid out as crowded ones are, whose
// junctions, once every other figure is settled, still move to where the lines bend less: 19,
// 19 and 19 bends without those moves. The third bends 16 times with single junctions moved: a
// run of it straightens only with both its ends moved together.
TEST(Schematic, MovesJunctionsWhereTheLinesBendLessAndNothingElseGetsWorse) {
    const struct {
        const char* places;
        const char* chains;
        std::size_t bends;
    } cases[] = {{"2 30, 28 22, 36 10, 46 42, 54 5, 40 16, 47 57, "
                  "49 30, 41 20, 22 52, 14 50, 39 24, 10 40, 30 11",
                  "0 4 6 10 7 | 2 3 10 11 13 | 3 11 5 10 6", 9},
                 {"5 17, 39 48, 30 7, 11 11, 47 38, 24 22, 26 13, "
                  "2 24, 30 53, 32 47, 26 19, 14 28, 31 22, 23 43",
                  "8 5 1 9 10 | 3 2 9 7 0 | 1 10 5 8 3", 13},
                 {"7 9, 37 20, 48 52, 18 46, 21 12, 43 49, 32 36, "
                  "32 42, 29 31, 46 26, 31 57, 49 2, 7 47, 28 39",
                  "0 12 13 3 9 | 9 1 0 10 4 | 10 9 4 6 13", 12}};
    for (const auto& [places, chains, bends] : cases) {
        SCOPED_TRACE(chains);
        const SchematicRequest request = CrowdedSquare(places, chains);
        const SchematicLayout layout = LayOutSchematic(request);
        EXPECT_LE(schematic::Bends(layout), bends);
        EXPECT_EQ(StationsOnOtherLines(request, layout), std::vector<std::string>{});
        EXPECT_EQ(schematic::SharpTurns(layout), 0u);
        EXPECT_EQ(layout.unrouted, 0);
    }
}

// The places whose neighbours, read round them in the directions the drawn links leave them,
// lie in another cyclic order than round the places' own positions.
std::vector<int> PlacesOutOfOrder(const SchematicRequest& request, const SchematicLayout& layout) {
    std::map<int, std::map<int, double>> drawn;  // per place, per neighbour: the link's angle
    for (std::size_t c = 0; c < request.chains.size(); ++c) {
        const std::vector<int>& places = request.chains[c].places;
        const SchematicChain& chain = layout.chains[c];
        for (std::size_t i = 0; i + 1 < places.size(); ++i) {
            const std::vector<GridPoint>& corners = chain.corners[i];
            const GridPoint ahead = corners.empty() ? chain.stations[i + 1] : corners.front();
            const GridPoint back = corners.empty() ? chain.stations[i] : corners.back();
            const auto angle = [](GridPoint from, GridPoint to) {
                return std::atan2(to.y - from.y, to.x - from.x);
            };
            drawn[places[i]].try_emplace(places[i + 1], angle(chain.stations[i], ahead));
            drawn[places[i + 1]].try_emplace(places[i], angle(chain.stations[i + 1], back));
        }
    }
    const auto cyclic = [](std::vector<std::pair<double, int>> around) {
        std::sort(around.begin(), around.end());
        std::vector<int> order;
        for (const auto& entry : around) {
            order.push_back(entry.second);
        }
        std::rotate(order.begin(), std::min_element(order.begin(), order.end()), order.end());
        return order;
    };
    std::vector<int> out;
    for (const auto& [place, around] : drawn) {
        std::vector<std::pair<double, int>> onMap;
        std::vector<std::pair<double, int>> own;
        for (const auto& [neighbour, angle] : around) {
            const PlanePoint from = request.places[static_cast<std::size_t>(place)];
            const PlanePoint to = request.places[static_cast<std::size_t>(neighbour)];
            onMap.emplace_back(angle, neighbour);
            own.emplace_back(std::atan2(to.y - from.y, to.x - from.x), neighbour);
        }
        if (cyclic(onMap) != cyclic(own)) {
            out.push_back(place);
        }
    }
    return out;
}

// A random network, laid out as a crowded one, whose layout left places 2 and 6 with their
// neighbours in another order: their runs, routed again each held to a port in order, keep it.
TEST(Schematic, RoutesAJunctionsRunsAgainHeldToPortsThatKeepTheirOrder) {
    const SchematicRequest request = CrowdedSquare(
        "10 38, 23 5, 6 48, 11 57, 20 14, 8 24, 48 19, 8 23, 28 24, 38 56, 50 32, "
        "14 55, 58 54, 20 25",
        "7 2 0 3 6 | 12 11 6 9 10 | 4 13 12 2 8");
    const SchematicLayout layout = LayOutSchematic(request);
    EXPECT_EQ(PlacesOutOfOrder(request, layout), std::vector<int>{});
    EXPECT_EQ(layout.unrouted, 0);
    EXPECT_EQ(schematic::SharpTurns(layout), 0u);
}

// A random network whose lines, laid out as a crowded one, bend 16 times with no two places'
// stations brought nearer as its junctions move, 13 times with stations brought as near as 5
// units, and 12 with no limit at all, two stations then 4.2 units apart.
TEST(Schematic, StraighteningBringsStationsNoNearerThanTheRequestAllows) {
    const auto layOut = [](std::int64_t nearest) {
        SchematicRequest request = CrowdedSquare(
            "50 30, 7 13, 38 8, 19 38, 7 45, 48 44, 33 35, 50 41, 48 2, 29 2, 53 56, 31 54, 6 34, "
            "15 38",
            "5 4 8 0 6 | 8 9 4 1 13 | 10 5 8 1 13");
        request.nearestApartSquared = nearest;
        const SchematicLayout layout = LayOutSchematic(request);
        const std::vector<std::pair<GridPoint, int>> stations = StationsAndPlaces(request, layout);
        int least = std::numeric_limits<int>::max();
        for (std::size_t a = 0; a < stations.size(); ++a) {
            for (std::size_t b = a + 1; b < stations.size(); ++b) {
                const GridPoint p = stations[a].first;
                const GridPoint q = stations[b].first;
                if (stations[a].second != stations[b].second) {
                    least = std::min(least, (p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
                }
            }
        }
        return std::pair{schematic::Bends(layout), least};
    };
    const auto [bendsHeld, nearestHeld] = layOut(std::numeric_limits<std::int64_t>::max());
    const auto [bends, nearest] = layOut(25);
    EXPECT_LT(bends, bendsHeld);
    EXPECT_GE(nearest, 25);
    EXPECT_GE(nearestHeld, nearest);
}

// Networks of three lines on a 60-unit square whose drawing once drew one link with a corner
// more than it needs: each row names the link and the corners it keeps, and no line may pass a
// station or turn sharply for it.
TEST(Schematic, DrawsLinksWithoutCornersTheLanesDoNotNeed) {
    const struct {
        const char* what;
        const char* places;
        const char* chains;
        std::size_t chain;
        std::size_t link;
        std::size_t corners;
    } cases[] = {
        // The first line's last link passed the third line's station at place 13: moving the
        // line a slot aside changed lanes; the station slides along its own line instead.
        {"a station slides off a line rather than the line moving aside",
         "41 14, 5 25, 38 29, 35 7, 21 20, 8 43, 37 37, "
         "49 10, 11 34, 5 10, 9 29, 55 49, 18 4, 10 27",
         "7 2 0 4 10 | 7 5 0 4 13 | 12 0 13 11 6", 0, 3, 0},
        // Two lines side by side from place 10 part at places 1 and 0: in the lanes the lane
        // rules choose, the second line's first link steps across to its lane.
        {"the lanes whose drawing bends least",
         "35 5, 30 25, 49 32, 43 14, 18 10, 3 35, 55 49, "
         "40 52, 12 36, 35 36, 46 28, 49 52, 11 30, 20 36",
         "1 11 13 8 12 | 10 1 0 6 7 | 10 0 1 13 5", 1, 0, 0},
        // Of the runs that a slot aside mend the drawing alike, the one whose drawing then bends
        // least moves; the one leaving the fewest other faults made the link step across lanes.
        {"the run moved aside whose drawing then bends least",
         "10 36, 52 32, 45 19, 4 36, 56 26, 23 10, 19 43, "
         "3 32, 57 9, 16 33, 38 24, 30 38, 36 3, 11 42",
         "1 11 3 10 5 | 2 4 10 3 12 | 1 5 4 9 11", 0, 1, 1},
        // After runs have moved aside, the lanes are straightened once more.
        {"lanes straightened after runs moved aside",
         "29 15, 56 52, 8 16, 11 40, 4 44, 9 43, 48 52, "
         "29 6, 25 55, 58 14, 11 2, 29 24, 7 57, 17 57",
         "9 13 3 10 8 | 13 7 2 10 6 | 9 11 10 2 0", 1, 3, 0},
        // Two lines side by side from place 11 over place 10: the runs on either side of place
        // 10 change lanes together; each alone, the link from place 10 turned at a corner.
        {"the lanes of two runs straightened together",
         "17 46, 16 32, 44 29, 3 24, 20 26, 6 31, 57 29, "
         "35 35, 2 16, 43 53, 8 45, 27 52, 32 25, 34 26",
         "6 1 13 0 2 | 1 2 11 10 3 | 7 11 10 12 3", 1, 3, 0},
    };
    for (const auto& [what, places, chains, chain, link, corners] : cases) {
        SCOPED_TRACE(what);
        SchematicRequest request{Places(places), Chains(chains), {0, 0, 60, 60}, 5, 3};
        const SchematicLayout layout = LayOutSchematic(request);
        EXPECT_EQ(StationsOnOtherLines(request, layout), std::vector<std::string>{});
        EXPECT_EQ(layout.chains[chain].corners[link].size(), corners);
        EXPECT_EQ(schematic::SharpTurns(layout), 0u);
    }
}

// Networks whose drawing first ran a line over a station that the grid keeps clear (lanes and an
// interchange's stations lie a slot off their nodes): a junction moved a node clears it.
TEST(Schematic, MovesAJunctionWhereTheDrawnLinesStillPassAStation) {
    SchematicRequest one{{}, {}, {0, 0, 60, 60}, 5, 3};
    one.places = {{8, 55}, {15, 55}, {2, 49},  {45, 35}, {46, 41}, {20, 27}, {45, 50},
                  {7, 4},  {7, 16},  {54, 40}, {23, 16}, {10, 54}, {32, 7},  {56, 50}};
    one.chains = {{{2, 3, 8, 13, 7}, false}, {{6, 7, 13, 9, 0}, false}, {{8, 7, 9, 11, 4}, false}};
    SchematicRequest two{{}, {}, {0, 0, 60, 60}, 5, 3};
    two.places = {{32, 30}, {44, 5},  {51, 19}, {55, 50}, {9, 35},  {40, 38}, {40, 29},
                  {52, 47}, {32, 55}, {9, 40},  {34, 32}, {45, 12}, {21, 49}, {39, 36}};
    two.chains = {
        {{0, 12, 6, 13, 5}, false}, {{11, 7, 4, 12, 6}, false}, {{4, 13, 2, 6, 10}, false}};
    for (const auto& [what, request] :
         {std::pair{"one station passed", one}, std::pair{"two stations passed", two}}) {
        SCOPED_TRACE(what);
        const SchematicLayout layout = LayOutSchematic(request);
        EXPECT_EQ(layout.unrouted, 0);
        EXPECT_EQ(StationsOnOtherLines(request, layout), std::vector<std::string>{});
    }
}

TEST(Schematic, LinesSharingAStretchRunSideBySide) {
    const SchematicLayout layout = LayOutSchematic(Cross());
    // Chains 0 and 2 share places 0, 1 and 2: their strokes there are parallel, one
    // separation apart, and never on top of each other.
    for (const auto& [first, second] : {std::pair{2, 0}, std::pair{3, 1}}) {
        SCOPED_TRACE(first);
        const GridPoint a1 = layout.chains[0].stations[static_cast<std::size_t>(first)];
        const GridPoint a2 = layout.chains[0].stations[static_cast<std::size_t>(first) + 1];
        const GridPoint b1 = layout.chains[2].stations[static_cast<std::size_t>(second)];
        const GridPoint b2 = layout.chains[2].stations[static_cast<std::size_t>(second) + 1];
        ASSERT_TRUE(layout.chains[0].corners[static_cast<std::size_t>(first)].empty());
        ASSERT_TRUE(layout.chains[2].corners[static_cast<std::size_t>(second)].empty());
        const double dx = a2.x - a1.x;
        const double dy = a2.y - a1.y;
        EXPECT_EQ(dx * (b2.y - b1.y) - dy * (b2.x - b1.x), 0);
        const double apart = std::abs((b1.x - a1.x) * dy - (b1.y - a1.y) * dx) / std::hypot(dx, dy);
        EXPECT_NEAR(apart, 4, 1.0);
    }
}

// Lines leaving one station in a fan of near directions compete for its eight ports; read round
// the station they still come in their true order, whichever ports they get.
// Lines leaving one station in several directions; in the last case the request gives the
// first two lines each other's direction, as a geographic map would where they leave side by side.
TEST(Schematic, KeepsTheOrderOfTheLinesRoundAStation) {
    struct Case {
        const char* what;
        std::vector<double> degrees;
        bool swapFirstTwo;
    };
    const Case cases[] = {{"a wide fan", {-50, -25, 0, 25, 50, 180}, false},
                          {"pairs of near directions", {0, 20, 90, 110, 200, 220}, false},
                          {"five within 40 degrees", {-20, -10, 0, 10, 20}, false},
                          {"two tight fans", {0, 5, 10, 90, 95, 100}, false},
                          {"the first two given swapped", {0, 5, 10, 90, 95, 100}, true}};
    for (const auto& [what, degrees, swapFirstTwo] : cases) {
        SCOPED_TRACE(what);
        SchematicRequest request{{{120, 120}}, {}, {0, 0, 240, 240}, 12};
        std::vector<std::pair<double, int>> truth;
        for (std::size_t k = 0; k < degrees.size(); ++k) {
            const double angle = degrees[k] * std::numbers::pi / 180;
            for (const double r : {40.0, 80.0}) {
                request.places.push_back({120 + r * std::cos(angle), 120 + r * std::sin(angle)});
            }
            const int end = static_cast<int>(request.places.size()) - 1;
            request.chains.push_back({{0, end - 1, end}, false});
            const double given =
                swapFirstTwo && k < 2 ? degrees[1 - k] * std::numbers::pi / 180 : angle;
            request.headings[{0, end - 1}] = given;
            truth.emplace_back(given, static_cast<int>(k));
        }
        const SchematicLayout layout = LayOutSchematic(request);
        std::vector<std::pair<double, int>> drawn;
        for (std::size_t k = 0; k < layout.chains.size(); ++k) {
            const std::vector<GridPoint> course = Course(layout.chains[k]);
            drawn.emplace_back(std::atan2(course[1].y - course[0].y, course[1].x - course[0].x),
                               static_cast<int>(k));
        }
        const auto cyclic = [](std::vector<std::pair<double, int>> around) {
            std::sort(around.begin(), around.end());
            std::vector<int> order;
            for (const auto& entry : around) {
                order.push_back(entry.second);
            }
            std::rotate(order.begin(), std::find(order.begin(), order.end(), 0), order.end());
            return order;
        };
        EXPECT_EQ(layout.unrouted, 0);
        EXPECT_EQ(cyclic(drawn), cyclic(truth));
    }
}

// The pairs of links (chain * 10 + link) of different chains whose courses cross.
std::set<std::pair<int, int>> Crossing(
    const std::vector<std::pair<int, std::vector<PlanePoint>>>& links) {
    const auto turn = [](PlanePoint a, PlanePoint b, PlanePoint c) {
        return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    };
    std::set<std::pair<int, int>> crossing;
    for (const auto& [one, a] : links) {
        for (const auto& [other, b] : links) {
            for (std::size_t i = 0; one / 10 < other / 10 && i + 1 < a.size(); ++i) {
                for (std::size_t j = 0; j + 1 < b.size(); ++j) {
                    if (turn(a[i], a[i + 1], b[j]) * turn(a[i], a[i + 1], b[j + 1]) < 0 &&
                        turn(b[j], b[j + 1], a[i]) * turn(b[j], b[j + 1], a[i + 1]) < 0) {
                        crossing.insert({one, other});
                    }
                }
            }
        }
    }
    return crossing;
}

// Lines crossing between their own stations. In the first, routed one by one, the crossing
// lands on a neighbouring link and moves of junctions and stations put it back; in the others
// only routing the runs round a wrong crossing again in another order does.
TEST(Schematic, KeepsEachCrossingBetweenItsOwnStations) {
    SchematicRequest three{{}, {}, {0, 0, 240, 240}, 20};
    three.places = {{110, 210}, {120, 180}, {110, 150}, {110, 130}, {100, 90},
                    {10, 40},   {30, 70},   {40, 120},  {50, 170},  {50, 200},
                    {130, 120}, {100, 120}, {80, 110},  {80, 120},  {70, 140}};
    three.chains = {
        {{0, 1, 2, 3, 4}, false}, {{5, 6, 7, 8, 9}, false}, {{10, 11, 12, 13, 14}, false}};
    SchematicRequest triangle{{}, {}, {0, 0, 240, 240}, 20};
    triangle.places = {{73, 130}, {160, 28}, {67, 71},  {105, 48},  {219, 125},
                       {28, 170}, {28, 155}, {217, 83}, {107, 225}, {22, 20}};
    triangle.chains = {{{5, 4, 8}, false}, {{8, 6, 2}, false}, {{3, 5, 9, 7}, false}};
    SchematicRequest two{{}, {}, {0, 0, 240, 240}, 20};
    two.places = {{168, 169}, {194, 30}, {201, 206}, {21, 213}, {122, 141}, {205, 23},
                  {99, 117},  {88, 12},  {160, 209}, {51, 97},  {121, 138}};
    two.chains = {{{6, 2, 0, 9, 7}, false}, {{9, 8, 0, 5}, false}};
    for (const auto& [what, request] :
         {std::pair{"three lines", three}, std::pair{"three lines in a triangle", triangle},
          std::pair{"two lines meeting twice", two}}) {
        SCOPED_TRACE(what);
        const SchematicLayout layout = LayOutSchematic(request);
        EXPECT_EQ(layout.unrouted, 0);
        std::vector<std::pair<int, std::vector<PlanePoint>>> drawn;
        std::vector<std::pair<int, std::vector<PlanePoint>>> spots;
        for (std::size_t c = 0; c < layout.chains.size(); ++c) {
            const SchematicChain& chain = layout.chains[c];
            const std::vector<int>& places = request.chains[c].places;
            for (std::size_t i = 0; i + 1 < chain.stations.size(); ++i) {
                const auto id = static_cast<int>(c * 10 + i);
                std::vector<PlanePoint>& course =
                    drawn.emplace_back(id, std::vector<PlanePoint>{}).second;
                course.push_back({1.0 * chain.stations[i].x, 1.0 * chain.stations[i].y});
                for (const GridPoint corner : chain.corners[i]) {
                    course.push_back({1.0 * corner.x, 1.0 * corner.y});
                }
                course.push_back({1.0 * chain.stations[i + 1].x, 1.0 * chain.stations[i + 1].y});
                spots.emplace_back(id,
                                   std::vector<PlanePoint>{
                                       request.places[static_cast<std::size_t>(places[i])],
                                       request.places[static_cast<std::size_t>(places[i + 1])]});
            }
        }
        EXPECT_EQ(Crossing(drawn), Crossing(spots));
    }
}

// With room a ring closes, every stretch octilinear; a grid of two nodes a side still places every
// station, some stretches off the grid.
TEST(Schematic, ClosesARingAndCrowdedGridsStillPlaceEveryStation) {
    for (const auto& [size, grid] : {std::pair{200.0, 20}, std::pair{10.0, 10}}) {
        SCOPED_TRACE(grid);
        SchematicRequest request{{}, {}, {0, 0, size, size}, grid};
        request.places = {{0, 0}, {size, 0}, {size, size}, {0, size}, {size / 2, 0}};
        request.chains = {{{0, 4, 1, 2, 3}, true}};
        const SchematicLayout layout = LayOutSchematic(request);
        ASSERT_EQ(layout.chains.size(), 1u);
        EXPECT_EQ(layout.chains[0].stations.size(), 5u);
        EXPECT_EQ(layout.chains[0].corners.size(), 5u);
        if (grid == 10) {
            EXPECT_GT(layout.unrouted, 0);
            continue;
        }
        EXPECT_EQ(layout.unrouted, 0);
        std::set<std::pair<int, int>> spots;
        for (const GridPoint& station : layout.chains[0].stations) {
            spots.insert({station.x, station.y});
        }
        EXPECT_EQ(spots.size(), 5u);
        const std::vector<GridPoint> course = Course(layout.chains[0]);
        for (std::size_t i = 0; i + 1 < course.size(); ++i) {
            EXPECT_TRUE(Octilinear(course[i], course[i + 1]));
        }
    }
}

// Stations of two places stand at least a line separation and a unit apart where the line
// has room; each of a place's stations keeps a spot of its own.
TEST(Schematic, KeepsTheStationsOfTwoPlacesApart) {
    for (const auto& [what, request] :
         {std::pair{"a line ending at an interchange", EndAtAnInterchange()},
          std::pair{"two lines crossing at an interchange", CrossAtAnInterchange()}}) {
        SCOPED_TRACE(what);
        const SchematicLayout layout = LayOutSchematic(request);
        const std::vector<std::pair<GridPoint, int>> stations = StationsAndPlaces(request, layout);
        for (std::size_t a = 0; a < stations.size(); ++a) {
            for (std::size_t b = a + 1; b < stations.size(); ++b) {
                const auto [p, pPlace] = stations[a];
                const auto [q, qPlace] = stations[b];
                EXPECT_GE(std::hypot(p.x - q.x, p.y - q.y),
                          pPlace == qPlace ? 1 : request.separation + 1)
                    << "places " << pPlace << " and " << qPlace << " at " << p.x << "," << p.y
                    << " and " << q.x << "," << q.y;
            }
        }
    }
}

// Two lines share a stretch and part at its end, the first turning right, the second left: the
// first takes the right lane, so that neither runs over or through the other's course. Both as
// given and drawn the other way.
TEST(Schematic, LinesPartingAtAForkTakeTheLaneOnTheirSide) {
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "drawn towards the shared stretch" : "drawn from it");
        SchematicRequest request{{}, {}, {0, 0, 240, 240}, 20, 4};
        request.places = {{20, 120}, {120, 120}, {200, 200}, {200, 40}};
        std::vector<int> right = {0, 1, 2};
        std::vector<int> left = {0, 1, 3};
        if (reversed) {
            std::reverse(right.begin(), right.end());
            std::reverse(left.begin(), left.end());
        }
        request.chains = {{right, false}, {left, false}};
        const SchematicLayout layout = LayOutSchematic(request);
        std::set<std::pair<int, int>> shared;
        const std::set<std::pair<int, int>> one = Covered(Course(layout.chains[0]));
        const std::set<std::pair<int, int>> two = Covered(Course(layout.chains[1]));
        std::set_intersection(one.begin(), one.end(), two.begin(), two.end(),
                              std::inserter(shared, shared.begin()));
        EXPECT_TRUE(shared.empty()) << "they meet at " << shared.begin()->first / 2.0 << ","
                                    << shared.begin()->second / 2.0;
    }
}

// Four or five lines side by side cross a line between two of its stations a few units either
// side: the outer lanes would pass a station, so the stations move out along their line.
TEST(Schematic, KeepsAWideBundleCrossingBetweenTheStationsItIsTo) {
    for (const int lines : {4, 5}) {
        SCOPED_TRACE(lines);
        SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
        request.places = {{5, 30}, {25, 30}, {35, 30}, {55, 30}, {30, 5}, {30, 55}};
        request.chains = {{{0, 1, 2, 3}, false}};
        request.chains.insert(request.chains.end(), static_cast<std::size_t>(lines),
                              PlaceChain{{4, 5}, false});
        request.crossings = {{{1, 2}, {4, 5}}};
        const SchematicLayout layout = LayOutSchematic(request);
        const SchematicChain& across = layout.chains[0];
        for (std::size_t c = 1; c < layout.chains.size(); ++c) {
            const std::set<std::pair<int, int>> down = Covered(Course(layout.chains[c]));
            std::vector<std::size_t> crossed;
            for (std::size_t l = 0; l < across.corners.size(); ++l) {
                std::vector<GridPoint> link{across.stations[l]};
                link.insert(link.end(), across.corners[l].begin(), across.corners[l].end());
                link.push_back(across.stations[l + 1]);
                const std::set<std::pair<int, int>> covered = Covered(link);
                if (std::any_of(covered.begin(), covered.end(),
                                [&](const auto& p) { return down.contains(p); })) {
                    crossed.push_back(l);
                }
            }
            EXPECT_EQ(crossed, std::vector<std::size_t>{1}) << "line " << c;
        }
    }
}

// The links of each pair (as their places, the smaller first) that cross where the request does
// not have them cross, or do not where it does: links sharing a place never count.
std::vector<std::string> WrongCrossings(const SchematicRequest& request,
                                        const SchematicLayout& layout) {
    std::set<std::pair<std::pair<int, int>, std::pair<int, int>>> wanted;
    for (const auto& [one, other] : *request.crossings) {
        wanted.insert(std::minmax(std::minmax(one.first, one.second),
                                  std::minmax(other.first, other.second)));
    }
    struct Link {
        std::pair<int, int> places;
        std::set<std::pair<int, int>> covered;
    };
    std::vector<Link> links;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        const std::vector<int>& places = request.chains[c].places;
        for (std::size_t l = 0; l < layout.chains[c].corners.size(); ++l) {
            std::vector<GridPoint> path{layout.chains[c].stations[l]};
            path.insert(path.end(), layout.chains[c].corners[l].begin(),
                        layout.chains[c].corners[l].end());
            path.push_back(layout.chains[c].stations[l + 1]);
            links.push_back({std::minmax(places[l], places[l + 1]), Covered(path)});
        }
    }
    std::vector<std::string> wrong;
    for (std::size_t i = 0; i < links.size(); ++i) {
        for (std::size_t j = i + 1; j < links.size(); ++j) {
            const auto [a, b] = links[i].places;
            const auto [c, d] = links[j].places;
            if (a == c || a == d || b == c || b == d) {
                continue;
            }
            const bool drawn =
                std::any_of(links[i].covered.begin(), links[i].covered.end(),
                            [&](const auto& p) { return links[j].covered.contains(p); });
            if (drawn != wanted.contains(std::minmax(links[i].places, links[j].places))) {
                wrong.push_back(std::to_string(a) + "-" + std::to_string(b) + " x " +
                                std::to_string(c) + "-" + std::to_string(d));
            }
        }
    }
    return wrong;
}

// A small network in a 60-unit square with the crossings to keep, and the most links its layout
// may cross wrongly, written as Places, Chains and Crossings read them.
struct CrossingCase {
    const char* what;
    const char* places;
    const char* chains;
    const char* crossings;
    std::size_t mostWrong;
};

SchematicRequest CrossingRequest(const CrossingCase& c) {
    SchematicRequest request{Places(c.places), Chains(c.chains), {0, 0, 60, 60}, 5, 3};
    request.crossings = Crossings(c.crossings);
    return request;
}

void ExpectAtMostWrong(std::span<const CrossingCase> cases) {
    for (const CrossingCase& c : cases) {
        SCOPED_TRACE(c.what);
        const SchematicRequest request = CrossingRequest(c);
        const std::vector<std::string> wrong = WrongCrossings(request, LayOutSchematic(request));
        EXPECT_LE(wrong.size(), c.mostWrong) << testing::PrintToString(wrong);
    }
}

// Two lines side by side and a third crossing them near a station. Drawn a slot apart, the
// bundle's lanes may cross the third line beyond its end station, which cannot slide past them:
// moving the bundle's run a slot keeps every crossing. But where the stations, once slid, would
// cross wrongly more often with the run moved than without, it stays.
TEST(Schematic, MovesSideBySideLinesOffAStationOnlyWhereThatKeepsMoreCrossings) {
    // At most none where moving the run keeps every crossing, and as many as without the move
    // where the run stays.
    const CrossingCase cases[] = {
        {"moved",
         "16 16, 32 23, 13 19, 21 17, 40 44, 26 46, 55 25, 45 6, 51 36, 5 37, 19 38, 49 48, 17 34",
         "1 0 12 7 6 | 4 0 12 5 | 8 1 11 2",
         "0-1 x 7-12, 0-4 x 2-11, 0-4 x 7-12, 0-12 x 2-11, 2-11 x 7-12", 0},
        {"left",
         "10 35, 12 14, 31 37, 16 44, 38 50, 33 54, 36 9, 50 45, 36 33, 28 20, 32 22, 40 44",
         "2 11 4 7 3 | 1 11 4 0 | 10 7 9 8", "0-4 x 3-7, 3-7 x 4-11", 1},
    };
    ExpectAtMostWrong(cases);
}

// Three lines where a junction ends up on the wrong side of another line, which moves of one
// node cannot take it over. Moving it two nodes, over the line (drawn again where it turns at
// the node passed; in rounds, as one move can make room for another), keeps every crossing where
// that is drawn so; where the drawing then crosses wrongly more often, the junction stays.
TEST(Schematic, MovesAJunctionOverALineOnlyWhereTheDrawingCrossesRightMoreOften) {
    // Without the move, the first has 3; with the junction moved anyway, the second has 2;
    // without the line it passes drawn again, the third has 2; with one round of moves, the
    // fourth has 3; with the lines passed read off one node of a knight's move, the fifth has 1.
    const CrossingCase cases[] = {
        {"moved", "50 4, 16 43, 32 52, 46 14, 19 10, 8 53, 20 41, 17 13, 55 49, 42 52",
         "5 9 6 1 | 6 3 5 2 1 | 3 9 7 1 6", "1-2 x 3-5, 1-6 x 3-5, 3-5 x 7-9, 3-6 x 7-9", 0},
        {"stays", "12 49, 24 12, 17 20, 9 22, 39 41, 16 56, 12 43, 34 46, 27 27",
         "3 5 7 4 2 | 7 1 6 3 4 | 7 1 4 2", "1-6 x 2-4, 1-6 x 3-4, 1-6 x 3-5, 1-7 x 2-4, 1-7 x 3-4",
         1},
        {"moved with the line passed",
         "43 42, 47 35, 21 23, 10 27, 23 51, 19 8, 12 15, 54 7, 27 12, 36 28, 19 8",
         "4 2 5 3 0 | 10 2 0 6 3 | 8 1 9 2 4",
         "0-3 x 2-4, 0-6 x 2-5, 0-6 x 2-9, 0-6 x 2-10, 0-6 x 3-5", 0},
        {"moved in a later round", "22 40, 8 17, 6 43, 31 5, 29 10, 44 50, 26 33, 24 12, 6 45",
         "0 1 8 6 5 | 2 1 4 3 8 | 5 0 2 6 1",
         "0-1 x 2-6, 0-1 x 3-8, 0-1 x 6-8, 0-2 x 1-8, 0-2 x 3-8, 0-2 x 6-8, 1-4 x 3-8, 1-6 x 3-8, "
         "1-8 x 2-6, 2-6 x 3-8",
         0},
        {"moved with every line passed",
         "9 30, 29 50, 10 29, 45 6, 17 30, 9 20, 23 20, 36 51, 11 30",
         "8 3 7 0 | 2 7 5 8 | 5 0 7 3 2", "2-3 x 5-7, 2-3 x 5-8, 2-7 x 3-8, 2-7 x 5-8, 3-8 x 5-7",
         0},
    };
    ExpectAtMostWrong(cases);
}

// A link one grid step long has no node where another line could cross it: where a crossing is
// lost for that, the link is given a second step.
TEST(Schematic, MakesRoomOnALinkForTheCrossingItIsToHave) {
    // Without the second step, the first has 3 and the second 1.
    const CrossingCase cases[] = {
        {"six crossings", "10 24, 15 17, 6 27, 14 12, 54 34, 42 45, 44 26, 36 8, 20 26",
         "1 0 7 5 8 | 5 6 1 3 | 1 8 0 4 6",
         "0-4 x 5-6, 0-4 x 5-7, 0-4 x 5-8, 0-7 x 1-6, 0-7 x 1-8, 1-6 x 5-7", 0},
        {"fifteen crossings", "54 50, 4 14, 4 13, 14 8, 49 32, 4 32, 20 43, 15 36, 20 33, 29 18",
         "0 1 6 2 | 7 3 4 0 1 | 0 5 3 9 7",
         "0-1 x 2-6, 0-1 x 3-5, 0-1 x 3-7, 0-1 x 7-9, 0-5 x 1-6, 0-5 x 2-6, 0-5 x 3-7, 0-5 x 7-9, "
         "1-6 x 3-5, 1-6 x 3-7, 1-6 x 7-9, 2-6 x 3-5, 2-6 x 3-7, 2-6 x 7-9, 3-4 x 7-9",
         0},
    };
    ExpectAtMostWrong(cases);
}

// A run routed again round a wrong crossing crosses a line only once it has had the steps for
// the stations before its link that is to cross it: crossing sooner would leave the crossing
// on an earlier link.
TEST(Schematic, RoutesACrossingOnlyAfterTheStationsBeforeItsLink) {
    // Crossing wherever a link of the run is to, the first has 2 and the second 2.
    const CrossingCase cases[] = {
        {"two lines over one", "25 48, 28 41, 26 40, 46 12, 23 49, 40 46, 48 13, 11 47, 36 14",
         "1 3 6 7 0 | 4 5 8 7 | 3 5 0 8 2",
         "0-8 x 6-7, 1-3 x 5-8, 1-3 x 6-7, 2-8 x 6-7, 3-5 x 6-7, 5-8 x 6-7", 0},
        {"twelve crossings",
         "42 23, 15 49, 49 38, 22 52, 31 27, 41 41, 31 11, 33 26, 14 40, 9 54, 56 23",
         "8 0 4 5 3 | 4 9 7 0 3 | 0 5 3 4 10",
         "0-3 x 4-5, 0-3 x 4-10, 0-4 x 7-9, 0-5 x 4-10, 0-8 x 3-4, 0-8 x 4-5, 0-8 x 4-9, 0-8 x "
         "4-10, 0-8 x 7-9, 3-4 x 7-9, 4-5 x 7-9, 4-10 x 7-9",
         0},
    };
    ExpectAtMostWrong(cases);
}

// Where the first layout is left with faults, the network is laid out again with the runs at
// fault routed first: in these networks only the second layout keeps every crossing.
TEST(Schematic, LaysOutAgainWithTheRunsAtFaultFirst) {
    // With the first layout only, the first has 2 and the second 3.
    const CrossingCase cases[] = {
        {"two wrong", "4 20, 13 36, 29 8, 17 46, 20 39, 9 28, 24 52, 11 38, 35 10",
         "4 3 6 7 5 | 4 3 6 1 | 3 5 2 1", "1-6 x 3-4, 3-4 x 6-7, 3-5 x 6-7", 0},
        {"three wrong", "26 20, 27 10, 48 11, 29 34, 45 36, 25 54, 42 21, 4 40, 27 13",
         "2 3 4 5 8 | 7 1 8 2 0 | 3 1 5 0 8",
         "0-2 x 1-3, 0-2 x 1-5, 0-2 x 5-8, 0-8 x 1-5, 1-3 x 2-8", 0},
    };
    ExpectAtMostWrong(cases);
}

// A network too large for a step more at every link that crosses another is laid out again, where
// crossings are lost, with a step more at each link of a crossing to keep.
TEST(Schematic, LaysOutAgainWithRoomAtTheLinksOfTheCrossingsToKeep) {
    // Without the room, the first has 5 and the second 4.
    const CrossingCase cases[] = {
        {"seven crossings", "41 5, 46 42, 25 47, 4 23, 27 24, 35 55, 16 33, 31 27, 54 6, 56 40",
         "5 6 9 0 | 0 6 4 2 7 | 6 1 0 8",
         "0-1 x 6-9, 1-6 x 2-4, 1-6 x 2-7, 2-4 x 5-6, 2-4 x 6-9, 2-7 x 5-6, 2-7 x 6-9", 0},
        {"seven others",
         "27 11, 20 36, 55 38, 52 40, 22 44, 34 32, 56 28, 32 41, 25 9, 41 38, 46 16",
         "10 1 7 5 0 | 0 10 1 5 | 9 3 8 10 4",
         "0-5 x 1-10, 0-5 x 3-8, 0-5 x 4-10, 1-5 x 4-10, 1-7 x 4-10, 1-10 x 3-8, 3-8 x 4-10", 0},
    };
    ExpectAtMostWrong(cases);
}

// Round a wrong crossing the runs are routed again in their order, each of them first in turn,
// and in reverse: in these networks only the reverse order mends every crossing.
TEST(Schematic, UntanglesInTheReverseOrderToo) {
    // Without the reverse order, the first has 1 and the second 3.
    const CrossingCase cases[] = {
        {"four crossings", "36 45, 14 24, 48 52, 8 37, 43 52, 27 35, 36 18, 26 27, 18 38",
         "2 6 3 7 | 4 7 2 6 1 | 7 6 0 2 8", "0-6 x 4-7, 0-2 x 4-7, 2-8 x 4-7, 0-6 x 2-7", 0},
        {"five crossings", "44 4, 50 51, 50 42, 40 5, 44 8, 7 15, 40 52, 4 20, 13 50, 10 27, 10 38",
         "10 4 0 1 9 | 4 9 8 6 | 8 5 3 1",
         "1-3 x 4-9, 1-3 x 4-10, 1-9 x 4-10, 4-10 x 5-8, 4-10 x 8-9", 0},
    };
    ExpectAtMostWrong(cases);
}

// A network marked crowded draws fewer bends, each counted on the drawn course.
TEST(Schematic, BendsWeighMoreInACrowdedNetwork) {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{51, 53}, {50, 50}, {24, 44}, {54, 54}, {6, 45},
                      {9, 11},  {36, 21}, {20, 23}, {42, 33}, {23, 27}};
    request.chains = {{{8, 3, 7, 5}, false}, {{8, 4, 6, 1, 5}, false}, {{0, 8, 4, 2}, false}};
    const auto bends = [](const SchematicLayout& layout) {
        int count = 0;
        for (const SchematicChain& chain : layout.chains) {
            const std::vector<GridPoint> course = Course(chain);
            for (std::size_t i = 1; i + 1 < course.size(); ++i) {
                const int ax = course[i].x - course[i - 1].x;
                const int ay = course[i].y - course[i - 1].y;
                const int bx = course[i + 1].x - course[i].x;
                const int by = course[i + 1].y - course[i].y;
                count += ax * by != ay * bx || ax * bx + ay * by < 0;
            }
        }
        return count;
    };
    const SchematicLayout spread = LayOutSchematic(request);
    request.crowded = true;
    const SchematicLayout crowded = LayOutSchematic(request);
    EXPECT_EQ(crowded.unrouted, 0);
    EXPECT_LT(bends(crowded), bends(spread));
}

// A turn is sharp from an inside angle of 45 degrees down, at a station or a corner, and round
// a ring's first station too.
// Bends as the map's score counts them: any change of direction; sharp ones: 45 degrees or
// less inside.
TEST(Schematic, CountsBendsAndTurnsOf45DegreesOrLessInsideAsSharp) {
    const struct {
        const char* what;
        SchematicChain chain;
        std::size_t bends;
        std::size_t sharp;
    } cases[] = {
        {"straight on through a station and a corner",
         {{{0, 0}, {10, 0}, {30, 0}}, {{}, {{20, 0}}}},
         0,
         0},
        {"a right angle", {{{0, 0}, {10, 0}, {10, 10}}, {{}, {}}}, 1, 0},
        {"a 45-degree bend", {{{0, 0}, {10, 0}, {20, 10}}, {{}, {}}}, 1, 0},
        {"45 degrees inside at a station", {{{0, 0}, {10, 0}, {0, 10}}, {{}, {}}}, 1, 1},
        {"45 degrees inside at a corner", {{{0, 0}, {0, 10}}, {{{10, 0}}}}, 1, 1},
        {"back along itself", {{{0, 0}, {10, 0}, {5, 0}}, {{}, {}}}, 1, 1},
        {"a corner on a station", {{{0, 0}, {10, 0}, {10, 10}}, {{{10, 0}}, {}}}, 1, 0},
        {"a lane changed: two bends", {{{0, 0}, {20, 3}}, {{{10, 0}, {13, 3}}}}, 2, 0},
        {"a ring of three", {{{10, 0}, {0, 10}, {0, 0}}, {{}, {}, {}}}, 3, 2},
        {"a ring round a square", {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{}, {}, {}, {}}}, 4, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(schematic::Bends(SchematicLayout{{c.chain}}), c.bends) << c.what;
        EXPECT_EQ(schematic::SharpTurns(SchematicLayout{{c.chain}}), c.sharp) << c.what;
    }
}

// The search's queue takes states in the order one heap of (bound, state) pairs would: growing
// bounds as a search pushes them, equal bounds pushed out of order and while being taken, bounds
// past the buckets, a bound below those taken, and a queue cleared with states left in it.
TEST(Schematic, TheSearchQueueTakesTheLeastBoundThenTheLeastState) {
    using Entry = std::pair<std::uint64_t, std::uint64_t>;
    schematic::BoundQueue queue;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> reference;
    std::uint64_t seed = 12345;
    const auto next = [&seed](std::uint64_t below) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return (seed >> 33) % below;
    };
    for (int round = 0; round < 3; ++round) {
        queue.Clear();
        reference = {};
        std::uint64_t taken = 0;
        for (int step = 0; step < 2000; ++step) {
            if (next(3) != 0 || reference.empty()) {
                std::uint64_t bound = taken + next(40);
                if (next(50) == 0) {
                    bound = (std::uint64_t{1} << 20) + next(5);  // past the buckets
                } else if (next(100) == 0 && taken > 10) {
                    bound = taken - 10;  // below what was taken
                }
                const std::uint64_t state = next(1000);
                queue.Push(bound, state);
                reference.emplace(bound, state);
            } else {
                ASSERT_FALSE(queue.Empty());
                const Entry got = queue.Pop();
                ASSERT_EQ(got, reference.top()) << "round " << round << " step " << step;
                reference.pop();
                taken = got.first < (std::uint64_t{1} << 20) ? got.first : taken;
            }
        }
        // The last round empties the queue.
        while (round == 2 && !reference.empty()) {
            ASSERT_EQ(queue.Pop(), reference.top());
            reference.pop();
        }
    }
    EXPECT_TRUE(queue.Empty());
}

// Two places too close, one of their stations on a node another line runs through: the other
// station gives way, so that the lines still meet at a station, never at a bare corner.
TEST(Schematic, LinesMeetOnlyAtStationsWhenStationsMakeRoom) {
    SchematicRequest request{{}, {}, {0, 0, 60, 60}, 5, 3};
    request.places = {{10, 36}, {15, 15}, {26, 15}, {9, 8},   {30, 16},
                      {42, 24}, {53, 13}, {25, 53}, {51, 46}, {18, 46}};
    request.chains = {{{0, 7, 3, 2}, false}, {{0, 1, 8}, false}, {{0, 6, 7, 1}, false}};
    const SchematicLayout layout = LayOutSchematic(request);
    std::map<std::pair<int, int>, std::set<std::size_t>> cornersOf;  // the chains turning there
    std::set<std::pair<int, int>> stations;
    for (std::size_t c = 0; c < layout.chains.size(); ++c) {
        for (const GridPoint& station : layout.chains[c].stations) {
            stations.insert({station.x, station.y});
        }
        for (const std::vector<GridPoint>& corners : layout.chains[c].corners) {
            for (const GridPoint& corner : corners) {
                cornersOf[{corner.x, corner.y}].insert(c);
            }
        }
    }
    for (const auto& [spot, chains] : cornersOf) {
        EXPECT_TRUE(chains.size() < 2 || stations.contains(spot))
            << "lines meet at " << spot.first << "," << spot.second;
    }
}

// Random straight links, each a line of its own: level ones on odd rows between odd columns,
// upright ones on even columns between even rows, so that two cross only at a point inside both
// and never touch otherwise; some run right to left or below zero, one in five reaches across
// the map, past shorter ones. The pairs reported are those the test's own sums find crossing and
// not to, or to cross and not crossing, in the order of the links.
TEST(Schematic, LinksCrossedWronglyAreThePairsAReferenceFinds) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> half(-20, 20);
    for (int network = 0; network < 40; ++network) {
        SCOPED_TRACE(network);
        SchematicRequest request;
        SchematicLayout layout;
        struct Segment {
            GridPoint a;
            GridPoint b;
            bool level;
        };
        std::vector<Segment> segments;
        std::set<int> rows;
        std::set<int> columns;
        const int count = 4 + network % 12;
        while (static_cast<int>(segments.size()) < count) {
            const bool level = random() % 2 == 0;
            const int at = 2 * half(random) + (level ? 1 : 0);
            if (!(level ? rows : columns).insert(at).second) {
                continue;
            }
            const int span = random() % 5 == 0 ? 20 : 1 + static_cast<int>(random() % 8);
            int from = 2 * half(random) + (level ? 1 : 0);
            int to = from + 2 * span * (random() % 2 == 0 ? 1 : -1);
            const Segment segment =
                level ? Segment{{from, at}, {to, at}, true} : Segment{{at, from}, {at, to}, false};
            segments.push_back(segment);
            const int first = static_cast<int>(2 * request.chains.size());
            request.chains.push_back({{first, first + 1}, false});
            layout.chains.push_back({{segment.a, segment.b}, {{}}});
        }
        const auto inside = [](int v, int p, int q) {
            return std::min(p, q) < v && v < std::max(p, q);
        };
        const auto cross = [&](const Segment& h, const Segment& v) {
            return h.level && !v.level && inside(v.a.x, h.a.x, h.b.x) &&
                   inside(h.a.y, v.a.y, v.b.y);
        };
        std::vector<LinkCrossing> wanted;
        std::vector<std::pair<int, int>> expected;
        for (std::size_t i = 0; i < segments.size(); ++i) {
            for (std::size_t j = i + 1; j < segments.size(); ++j) {
                const bool crossing =
                    cross(segments[i], segments[j]) || cross(segments[j], segments[i]);
                const bool toCross = random() % 4 == 0;
                if (toCross) {
                    const int a = static_cast<int>(2 * i);
                    const int b = static_cast<int>(2 * j);
                    wanted.push_back({{a + 1, a}, {b, b + 1}});
                }
                if (crossing != toCross) {
                    expected.emplace_back(static_cast<int>(i), 0);
                    expected.emplace_back(static_cast<int>(j), 0);
                }
            }
        }
        request.crossings = wanted;
        EXPECT_EQ(schematic::LinksCrossedWrongly(request, layout), expected);
    }
}

// Whether runs leaving by `ports` (distinct) keep their headings' order: read round the ports,
// the headings fall back once at most.
bool KeepsHeadingsInOrder(const std::vector<double>& headings, const std::vector<int>& ports) {
    std::vector<std::size_t> byPort(ports.size());
    std::iota(byPort.begin(), byPort.end(), std::size_t{0});
    std::sort(byPort.begin(), byPort.end(),
              [&](std::size_t a, std::size_t b) { return ports[a] < ports[b]; });
    int falls = 0;
    for (std::size_t k = 0; k < byPort.size(); ++k) {
        falls += headings[byPort[(k + 1) % byPort.size()]] < headings[byPort[k]];
    }
    return byPort.size() < 3 || falls <= 1;
}

// Random runs round a station, up to eight, some sharing lines: the ports each function gives
// are distinct, keep the headings' order and cost no more than the cheapest such ports the
// test finds by trying every way. Turning costs the angle to the port (PortsInOrder), or
// `otherPort` per 45 degrees of it plus each shared line's bend between the two ports, a sharp
// one taken only where every way has one (PortsInOrderForLines).
TEST(Schematic, GivesRunsTheCheapestPortsInTheirOrderRoundAStation) {
    // Sharp bends of lines, then the cost.
    using Cost = std::pair<int, double>;
    const auto turn = [](double heading, int port) {
        const double angle =
            std::fmod(std::abs(heading - port * std::numbers::pi / 4), 2 * std::numbers::pi);
        return std::min(angle, 2 * std::numbers::pi - angle);
    };
    std::mt19937 random(23);
    std::uniform_real_distribution<double> angle(-std::numbers::pi, std::numbers::pi);
    std::uniform_int_distribution<int> line(0, 3);
    for (int station = 0; station < 60; ++station) {
        SCOPED_TRACE(station);
        const std::size_t count = 2 + static_cast<std::size_t>(station) % 7;
        std::vector<double> headings;
        std::vector<std::vector<int>> lines;
        for (std::size_t i = 0; i < count; ++i) {
            headings.push_back(angle(random));
            const std::set<int> own = {line(random), line(random)};
            lines.emplace_back(own.begin(), own.end());
        }
        const schematic::TurnCosts& turns =
            station % 2 == 0 ? schematic::kTurnCosts : schematic::kCrowdedTurnCosts;
        const auto turning = [&](const std::vector<int>& ports) {
            Cost cost{0, 0.0};
            for (std::size_t i = 0; i < count; ++i) {
                cost.second += turn(headings[i], ports[i]);
            }
            return cost;
        };
        const auto bending = [&](const std::vector<int>& ports) {
            Cost cost{0, 0.0};
            for (std::size_t i = 0; i < count; ++i) {
                cost.second +=
                    turn(headings[i], ports[i]) / (std::numbers::pi / 4) * turns.otherPort;
                for (std::size_t j = i + 1; j < count; ++j) {
                    int shared = 0;
                    for (const int one : lines[i]) {
                        shared += static_cast<int>(std::ranges::count(lines[j], one));
                    }
                    const int back = (ports[i] + 4) % 8;
                    const int change =
                        std::min((back - ports[j] + 8) % 8, (ports[j] - back + 8) % 8);
                    if (change >= 3) {
                        cost.first += shared;
                    } else {
                        cost.second += shared * turns.bend[static_cast<std::size_t>(change)];
                    }
                }
            }
            return cost;
        };
        const auto check = [&](const std::vector<int>& ports, const auto& costOf) {
            ASSERT_EQ(ports.size(), count);
            EXPECT_EQ(std::set<int>(ports.begin(), ports.end()).size(), count);
            EXPECT_TRUE(KeepsHeadingsInOrder(headings, ports));
            // Every way to give the runs distinct ports, the first `count` of each ordering.
            std::array<int, 8> all = {0, 1, 2, 3, 4, 5, 6, 7};
            Cost least{std::numeric_limits<int>::max(), 0.0};
            do {
                const std::vector<int> tried(all.begin(), all.begin() + static_cast<long>(count));
                if (KeepsHeadingsInOrder(headings, tried)) {
                    least = std::min(least, costOf(tried));
                }
            } while (std::next_permutation(all.begin(), all.end()));
            const Cost given = costOf(ports);
            EXPECT_EQ(given.first, least.first);
            EXPECT_NEAR(given.second, least.second, 1e-6);
        };
        check(schematic::PortsInOrder(headings), turning);
        check(schematic::PortsInOrderForLines(headings, lines, turns), bending);
    }
    EXPECT_TRUE(schematic::PortsInOrder(std::vector<double>(9, 0.0)).empty());
}

// Things on both sides of the axes, points and boxes over several cells, some moved: each
// look finds every thing whose box meets its own, once, and nothing more than a cell away.
TEST(Schematic, SquareCellsFindEveryThingInABoxOnce) {
    struct Box {
        GridPoint low;
        GridPoint high;
    };
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-30, 30);
    std::uniform_int_distribution<int> extent(0, 9);
    const auto randomBox = [&](bool point) {
        const GridPoint low{coordinate(random), coordinate(random)};
        return point ? Box{low, low} : Box{low, {low.x + extent(random), low.y + extent(random)}};
    };
    const std::vector<std::size_t> counts = {20, 0, 30};
    for (const int side : {1, 4, 16}) {
        SCOPED_TRACE(side);
        schematic::SquareCells cells(side, counts);
        std::map<std::pair<std::size_t, std::size_t>, Box> boxes;
        for (std::size_t c = 0; c < counts.size(); ++c) {
            for (std::size_t i = 0; i < counts[c]; ++i) {
                boxes[{c, i}] = randomBox(c == 0);
                cells.Put({c, i}, boxes[{c, i}].low, boxes[{c, i}].high);
            }
        }
        for (int round = 0; round < 3; ++round) {
            for (int look = 0; look < 100; ++look) {
                const Box area = randomBox(look % 2 == 0);
                std::map<std::pair<std::size_t, std::size_t>, int> met;
                cells.ForEachIn(area.low, area.high, [&met](std::size_t c, std::size_t i) {
                    ++met[{c, i}];
                });
                for (const auto& [thing, box] : boxes) {
                    const auto apart = [&](int by) {
                        return box.high.x < area.low.x - by || area.high.x + by < box.low.x ||
                               box.high.y < area.low.y - by || area.high.y + by < box.low.y;
                    };
                    const int times = met.contains(thing) ? met[thing] : 0;
                    EXPECT_EQ(times, apart(0) ? times : 1) << thing.first << "," << thing.second;
                    EXPECT_LE(times, apart(side) ? 0 : 1) << thing.first << "," << thing.second;
                }
            }
            // Every third thing moves.
            for (auto& [thing, box] : boxes) {
                if (thing.second % 3 == static_cast<std::size_t>(round)) {
                    cells.Remove(thing, box.low, box.high);
                    box = randomBox(thing.first == 0);
                    cells.Put(thing, box.low, box.high);
                }
            }
        }
    }
}

TEST(Schematic, NamesEachStepOfTheGridAndEachTurn) {
    const GridPoint steps[] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                               {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    for (int d = 0; d < 8; ++d) {
        for (const int length : {1, 3}) {
            const GridPoint step = steps[d];
            EXPECT_EQ(schematic::DirectionOf({5, 5}, {5 + length * step.x, 5 + length * step.y}),
                      d);
        }
        const GridPoint back = steps[schematic::Opposite(d)];
        EXPECT_EQ(std::pair(back.x, back.y), std::pair(-steps[d].x, -steps[d].y));
    }
    EXPECT_EQ(schematic::DirectionOf({5, 5}, {5, 5}), schematic::kNoDirection);
    const std::array<std::array<int, 3>, 6> turns = {
        {{0, 7, 1}, {7, 0, 1}, {1, 5, 4}, {2, 7, 3}, {6, 2, 4}, {3, 3, 0}}};
    for (const auto& [from, to, change] : turns) {
        EXPECT_EQ(schematic::Change(from, to), change) << from << " to " << to;
    }
}

// Two stations on a 5 x 5 board, (0,2) and (4,2), with column 2 free, a run down it (its ends
// stations) or all stations, and the ports the ends may use.
// The cheapest way from (1, 2) to (5, 2) on a board of 7 by 5 nodes, round `stations`, over or
// round a run along `run` (its ends stations) whose crossing costs `crossingCost` more, with at
// least `need` steps, leaving by port `leavesBy` only (-1: any).
std::optional<std::vector<GridPoint>> WayAcross(const std::vector<GridPoint>& stations,
                                                const std::vector<GridPoint>& run, int crossingCost,
                                                int need, int leavesBy = -1, int wrap = 0) {
    schematic::Board board = schematic::MakeBoard(7, 5, 20);
    std::vector<GridPoint> placed = {{1, 2}, {5, 2}};
    placed.insert(placed.end(), stations.begin(), stations.end());
    if (!run.empty()) {
        schematic::Run marked;
        marked.path = run;
        schematic::Mark(board, marked, 0, true, {0, 0});
        placed.insert(placed.end(), {run.front(), run.back()});
    }
    for (std::size_t place = 0; place < placed.size(); ++place) {
        schematic::Place(board, static_cast<int>(place), board.Node(placed[place]));
    }
    schematic::WayRequest request;
    request.firstNode = board.Node({1, 2});
    request.lastNode = board.Node({5, 2});
    for (int port = 0; port < 8; ++port) {
        request.startPorts[static_cast<std::size_t>(port)] =
            leavesBy < 0 || leavesBy == port ? 0 : -1;
    }
    request.need = need;
    const std::vector<int> away(7 * 5, 0);
    request.away = away;
    request.turns = schematic::kTurnCosts;
    request.wrap = wrap;
    if (crossingCost > 0) {
        request.crossing = [crossingCost](int, int) { return crossingCost; };
    }
    schematic::WaySearch search;
    std::int64_t searched = 0;
    return search.Cheapest(board, request, searched);
}

TEST(Schematic, FindsTheCheapestWayWithItsSteps) {
    const std::vector<GridPoint> straight = {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}};
    // One 90-degree bend between diagonals (86) costs less than two of 45 degrees (88).
    const std::vector<GridPoint> over = {{1, 2}, {2, 1}, {3, 0}, {4, 1}, {5, 2}};
    const std::vector<GridPoint> column = {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}};
    const std::vector<GridPoint> lowerColumn = {{3, 1}, {3, 2}, {3, 3}, {3, 4}};
    const auto steps = [](const auto& way) { return way ? way->size() - 1 : 0; };
    EXPECT_EQ(WayAcross({}, {}, 0, 4), straight) << "open board";
    EXPECT_EQ(WayAcross({{3, 2}, {2, 3}}, {}, 0, 4), over) << "round a station";
    EXPECT_EQ(WayAcross({}, column, 0, 3), straight) << "straight over a run";
    EXPECT_EQ(WayAcross({}, lowerColumn, 1000, 3), over) << "round a run it should not cross";
    EXPECT_EQ(WayAcross({}, {}, 0, 4, 7), over) << "leaving north-east only";
    const std::vector<GridPoint> under = {{1, 2}, {2, 3}, {3, 4}, {4, 3}, {5, 2}};
    EXPECT_EQ(WayAcross({{3, 2}, {3, 1}}, {}, 0, 4), over) << "wrapping round a station";
    EXPECT_EQ(WayAcross({{3, 2}, {3, 1}}, {}, 0, 4, -1, 400), under) << "wrapping costs more";
    // The node where it crosses can hold no station: a step more.
    EXPECT_EQ(steps(WayAcross({}, column, 0, 4)), 5u) << "a crossing counts as no step";
    EXPECT_EQ(steps(WayAcross({}, {}, 0, 6)), 6u) << "at least six steps";
    EXPECT_FALSE(
        WayAcross({{0, 1}, {1, 1}, {2, 1}, {0, 2}, {2, 2}, {0, 3}, {1, 3}, {2, 3}}, {}, 0, 4))
        << "shut in";
}

// A search long enough to make sure a way exists at all: from the west of a 30 x 30 board to
// the east, past stations at `walls`, over a run along `run` (its ends stations too), entering
// the end only by the ports of `enters` (a mask), in at least 12 steps.
struct LongSearch {
    std::optional<std::vector<GridPoint>> way;
    std::int64_t searched = 0;
};

LongSearch SearchPast(const std::vector<GridPoint>& walls, const std::vector<GridPoint>& run,
                      int enters) {
    schematic::Board board = schematic::MakeBoard(30, 30, 200);
    std::vector<GridPoint> placed = {{2, 15}, {27, 15}};
    placed.insert(placed.end(), walls.begin(), walls.end());
    for (std::size_t place = 0; place < placed.size(); ++place) {
        schematic::Place(board, static_cast<int>(place), board.Node(placed[place]));
    }
    if (!run.empty()) {
        schematic::Run marked;
        marked.path = run;
        schematic::Mark(board, marked, 0, true, {0, 0});
    }
    schematic::WayRequest request;
    request.firstNode = board.Node({2, 15});
    request.lastNode = board.Node({27, 15});
    for (int port = 0; port < 8; ++port) {
        request.endPorts[static_cast<std::size_t>(port)] = ((enters >> port) & 1) != 0 ? 0 : -1;
    }
    request.need = 12;
    const std::vector<int> away(30 * 30, 0);
    request.away = away;
    request.turns = schematic::kTurnCosts;
    schematic::WaySearch search;
    LongSearch result;
    result.way = search.Cheapest(board, request, result.searched);
    return result;
}

std::vector<GridPoint> Column(int x, int from, int to, std::vector<GridPoint> also = {}) {
    for (int y = from; y <= to; ++y) {
        also.push_back({x, y});
    }
    return also;
}

// Past a thousand states the search first makes sure some way is free at all: shut in by its
// turns alone, not by the grid's free nodes, it would try every state it reaches (some 20,800
// here, against under 8,000).
TEST(Schematic, GivesUpEarlyOnlyWhereNoWayIsFree) {
    // Every neighbour of the end a station but (26,15), which a run crosses north to south;
    // (25,15) a station too: a way may only cross it diagonally, and then not turn there.
    const std::vector<GridPoint> ring = {{26, 14}, {27, 14}, {28, 14}, {28, 15},
                                         {28, 16}, {27, 16}, {26, 16}, {25, 15}};
    const std::vector<GridPoint> down = {{26, 14}, {26, 15}, {26, 16}};

    const LongSearch round = SearchPast(Column(15, 0, 28), {}, 0xff);
    ASSERT_TRUE(round.way) << "round a wall";
    EXPECT_GT(round.searched, 1000) << "long enough to walk";
    EXPECT_EQ(round.way->back(), (GridPoint{27, 15}));
    EXPECT_NE(std::find(round.way->begin(), round.way->end(), GridPoint{15, 29}), round.way->end());

    const LongSearch over =
        SearchPast(Column(15, 0, 27, {{15, 29}}), {{15, 27}, {15, 28}, {15, 29}}, 0xff);
    ASSERT_TRUE(over.way) << "straight over the run in the wall's gap";
    EXPECT_GT(over.searched, 1000) << "long enough to walk";
    EXPECT_NE(std::find(over.way->begin(), over.way->end(), GridPoint{15, 28}), over.way->end());

    // Entering the end only from (28,15), east of it, which a way reaches only diagonally,
    // from (27,14) or (27,16): it would turn sharply there.
    const LongSearch sharp =
        SearchPast({{28, 14}, {29, 14}, {29, 15}, {29, 16}, {28, 16}}, {}, 1 << 0);
    EXPECT_FALSE(sharp.way) << "entering only from the east, round a sharp turn";
    EXPECT_LT(sharp.searched, 10000) << "given up early";

    const LongSearch turning = SearchPast(ring, down, 0xff);
    EXPECT_FALSE(turning.way) << "the only way in turning where it crosses a run";
    EXPECT_LT(turning.searched, 10000) << "given up early";
}

// Whether a way joins a request's placed ends under the rules of steps, turns and crossings,
// found breadth first over (node, direction come by).
bool WayUnderTheRules(const schematic::Board& board, const schematic::WayRequest& request) {
    const auto crossable = [](int mask, int direction) {
        for (int axis = 0; axis < 4; ++axis) {
            if (mask == ((1 << axis) | (1 << (axis + 4))) && axis != direction % 4) {
                return true;
            }
        }
        return false;
    };
    std::set<std::pair<int, int>> seen;
    std::queue<std::pair<int, int>> open;
    open.emplace(request.firstNode, -1);
    while (!open.empty()) {
        const auto [node, came] = open.front();
        open.pop();
        const GridPoint p = board.At(node);
        const bool mayTurn = board.through[static_cast<std::size_t>(node)] == 0;
        for (int d = 0; d < 8; ++d) {
            const bool leaves = came < 0 ? request.startPorts[static_cast<std::size_t>(d)] >= 0
                                         : schematic::Change(came, d) < 3 && (came == d || mayTurn);
            if (!leaves || !board.Open(node, d)) {
                continue;
            }
            const GridPoint step = schematic::kSteps[static_cast<std::size_t>(d)];
            const int next = board.Node({p.x + step.x, p.y + step.y});
            const auto at = static_cast<std::size_t>(next);
            if (next == request.lastNode) {
                if (request.endPorts[static_cast<std::size_t>((d + 4) % 8)] >= 0) {
                    return true;
                }
            } else if (board.station[at] < 0 &&
                       (board.through[at] == 0 || crossable(board.through[at], d)) &&
                       seen.emplace(next, d).second) {
                open.emplace(next, d);
            }
        }
    }
    return false;
}

// The search gives up where its walk finds no way: on boards crowded with stations, runs to
// cross and ports shut, it finds a way exactly where one is free, searches long enough to walk
// included.
TEST(Schematic, FindsAWayWhereverTheRulesLeaveOne) {
    std::mt19937 random(11);
    constexpr int kSide = 24;
    int found = 0;
    int walkedAndFound = 0;
    int walkedInVain = 0;
    for (int trial = 0; trial < 400; ++trial) {
        SCOPED_TRACE(trial);
        // Places 0 and 1 are the ends; 2 + node, a station on that node.
        schematic::Board board = schematic::MakeBoard(kSide, kSide, kSide * kSide + 2);
        std::uniform_int_distribution<int> coordinate(0, kSide - 1);
        std::uniform_int_distribution<int> chance(0, 99);
        std::set<int> taken;
        // Straight runs, each over free nodes, marked one by one.
        for (int index = 0; index < 4; ++index) {
            const int d = static_cast<int>(random() % 8);
            const GridPoint step = schematic::kSteps[static_cast<std::size_t>(d)];
            GridPoint p{coordinate(random), coordinate(random)};
            schematic::Run run;
            while (p.x >= 0 && p.y >= 0 && p.x < kSide && p.y < kSide &&
                   !taken.contains(board.Node(p)) && run.path.size() < 10) {
                run.path.push_back(p);
                p = {p.x + step.x, p.y + step.y};
            }
            if (run.path.size() < 3) {
                continue;
            }
            for (const GridPoint q : run.path) {
                taken.insert(board.Node(q));
            }
            schematic::Mark(board, run, index, true, {0, 0});
        }
        const auto freeNode = [&](int fromX, int toX, int fromY, int toY) {
            for (;;) {
                const GridPoint p{std::uniform_int_distribution<int>(fromX, toX)(random),
                                  std::uniform_int_distribution<int>(fromY, toY)(random)};
                if (taken.insert(board.Node(p)).second) {
                    return board.Node(p);
                }
            }
        };
        // The ends far apart, or (every third board) near, where one may shut both in.
        schematic::WayRequest request;
        request.firstNode = freeNode(0, 3, 0, kSide - 1);
        if (trial % 3 == 0) {
            const GridPoint first = board.At(request.firstNode);
            request.lastNode = freeNode(first.x + 1, first.x + 4, std::max(0, first.y - 3),
                                        std::min(kSide - 1, first.y + 3));
        } else {
            request.lastNode = freeNode(kSide - 4, kSide - 1, 0, kSide - 1);
        }
        schematic::Place(board, 0, request.firstNode);
        schematic::Place(board, 1, request.lastNode);
        const int density = 20 + trial % 30;
        for (int node = 0; node < kSide * kSide; ++node) {
            if (!taken.contains(node) && chance(random) < density) {
                schematic::Place(board, 2 + node, node);
            }
        }
        for (int port = 0; port < 8; ++port) {
            request.startPorts[static_cast<std::size_t>(port)] = chance(random) < 60 ? 0 : -1;
            request.endPorts[static_cast<std::size_t>(port)] = chance(random) < 30 ? 0 : -1;
        }
        // Steps weighed at random lead the search astray, as a course far off the free ways
        // does: long searches, which walk.
        std::vector<int> away;
        for (int node = 0; node < kSide * kSide; ++node) {
            away.push_back(chance(random) * 3);
        }
        request.away = away;
        request.turns = schematic::kTurnCosts;
        schematic::WaySearch search;
        std::int64_t searched = 0;
        const bool way = search.Cheapest(board, request, searched).has_value();
        ASSERT_EQ(way, WayUnderTheRules(board, request));
        found += way ? 1 : 0;
        if (searched >= 1000) {
            (way ? walkedAndFound : walkedInVain) += 1;
        }
    }
    // Both answers, and both after a walk, are many: the table is not one-sided.
    EXPECT_GT(found, 100);
    EXPECT_LT(found, 350);
    EXPECT_GT(walkedAndFound, 50);
    EXPECT_GT(walkedInVain, 20);
}

TEST(Schematic, FindsAFreeWayOnlyWhereOneExists) {
    struct Case {
        const char* what;
        char wall;  // ' ', 'r' run, 's' stations
        bool leaves;
        int enters;  // ports of the far station allowed, as a mask
        bool expected;
    };
    const Case cases[] = {{"open board", ' ', true, 0xff, true},
                          {"straight over a run", 'r', true, 0xff, true},
                          {"a wall of stations", 's', true, 0xff, false},
                          {"no port to leave by", ' ', false, 0xff, false},
                          {"entering from the near side", ' ', true, 1 << 4, true},
                          {"entering only from off the board", ' ', true, 1 << 0, false},
                          {"no port to enter by", ' ', true, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        schematic::Board board = schematic::MakeBoard(5, 5, 7);
        schematic::Place(board, 0, 10);
        schematic::Place(board, 1, 14);
        if (c.wall == 'r') {
            schematic::Run run;
            run.places = {2, 3};
            run.path = {{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}};
            schematic::Mark(board, run, 0, true, {0, 0});
            schematic::Place(board, 2, 2);
            schematic::Place(board, 3, 22);
        }
        for (int y = 0; c.wall == 's' && y < 5; ++y) {
            schematic::Place(board, 2, board.Node({2, y}));
        }
        EXPECT_EQ(schematic::MayJoin(
                      board, {10}, {14}, [&](int) { return c.leaves; },
                      [&](int port) { return ((c.enters >> port) & 1) != 0; }),
                  c.expected);
    }
}

// The board's free edges, against a reference worked out from the runs on it: a step is closed
// where it leaves the board, runs along a run, or crosses a run's diagonal in its square.
TEST(Schematic, KnowsWhichGridEdgesAreFreeAsRunsComeAndGo) {
    const std::vector<std::vector<GridPoint>> paths = {
        {{0, 0}, {1, 1}, {2, 2}, {3, 2}},  // diagonals down to the right from the corner
        {{4, 0}, {3, 1}, {3, 2}, {2, 3}},  // a diagonal the other way, beside a straight step
        {{4, 4}, {4, 3}, {3, 4}},          // along the edge, and a diagonal corner
    };
    const auto reference = [&](const std::vector<bool>& on, GridPoint p, GridPoint q) {
        if (q.x < 0 || q.y < 0 || q.x > 4 || q.y > 4) {
            return false;
        }
        const auto along = [&](GridPoint a, GridPoint b) {
            for (std::size_t k = 0; k < paths.size(); ++k) {
                for (std::size_t i = 0; on[k] && i + 1 < paths[k].size(); ++i) {
                    const GridPoint u = paths[k][i];
                    const GridPoint v = paths[k][i + 1];
                    if ((u == a && v == b) || (u == b && v == a)) {
                        return true;
                    }
                }
            }
            return false;
        };
        return !along(p, q) && (p.x == q.x || p.y == q.y || !along({q.x, p.y}, {p.x, q.y}));
    };
    schematic::Board board = schematic::MakeBoard(5, 5, 0);
    std::vector<bool> on(paths.size(), false);
    const auto check = [&](const char* when) {
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                for (int d = 0; d < 8; ++d) {
                    const GridPoint q{x + schematic::kSteps[static_cast<std::size_t>(d)].x,
                                      y + schematic::kSteps[static_cast<std::size_t>(d)].y};
                    const bool open =
                        (board.open[static_cast<std::size_t>(board.Node({x, y}))] >> d) & 1;
                    EXPECT_EQ(open, reference(on, {x, y}, q))
                        << when << ": from " << x << "," << y << " towards " << d;
                }
            }
        }
    };
    check("empty");
    const std::pair<std::size_t, bool> steps[] = {{0, true},  {1, true},  {2, true},
                                                  {0, false}, {2, false}, {1, false}};
    for (const auto& [k, mark] : steps) {
        schematic::Run run;
        run.path = paths[k];
        schematic::Mark(board, run, static_cast<int>(k), mark, {0, 0});
        on[k] = mark;
        check(mark ? "marked" : "lifted");
    }
}

// A line across with four stations and one down through the gap between its second and third:
// the crossing lands in the link the request names, not where the places' spots put it.
TEST(Schematic, KeepsTheCrossingsTheRequestGives) {
    struct Case {
        std::pair<int, int> crossed;  // the link of the line across
        int westOfTheLineDown;        // its stations west of the line down
    };
    const Case cases[] = {{{1, 2}, 2}, {{0, 1}, 1}, {{2, 3}, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.crossed.first << "-" << c.crossed.second);
        SchematicRequest request{{}, {}, {0, 0, 240, 240}, 20};
        request.places = {{20, 120}, {100, 120}, {140, 120}, {220, 120}, {120, 20}, {120, 220}};
        request.chains = {{{0, 1, 2, 3}, false}, {{4, 5}, false}};
        request.crossings = {{c.crossed, {4, 5}}};
        const SchematicLayout layout = LayOutSchematic(request);
        const std::vector<GridPoint>& across = layout.chains[0].stations;
        const int down = layout.chains[1].stations[0].x;
        ASSERT_EQ(layout.chains[1].stations[1].x, down);
        EXPECT_EQ(
            std::count_if(across.begin(), across.end(), [down](GridPoint p) { return p.x < down; }),
            c.westOfTheLineDown);
    }
}

// A run of six steps east whose middle station lies 2.4 or 3.6 steps along: another run crosses
// at step 3, and the plane may want that crossing in the first link or the second.
TEST(Schematic, PutsAStationOnTheSideOfACrossingThePlaneWants) {
    struct Case {
        double spot;
        int wantedLink;  // -1: none
        int expected;
    };
    const Case cases[] = {{2.4, -1, 2}, {2.4, 0, 4}, {2.4, 1, 2}, {3.6, -1, 4}, {3.6, 1, 2}};
    const std::vector<GridPoint> path = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}};
    const std::vector<bool> crossed = {false, false, false, true, false, false, false};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.spot << " wanted in link " << c.wantedLink);
        std::vector<schematic::CrossingWant> wants;
        if (c.wantedLink >= 0) {
            wants.push_back({3, c.wantedLink, c.wantedLink});
        }
        const std::vector<PlanePoint> spots = {{0, 0}, {c.spot, 0}, {6, 0}};
        EXPECT_EQ(schematic::SpreadAlong(path, spots, crossed, {}, wants),
                  (std::vector<int>{0, c.expected, 6}));
    }
}

}  // namespace
}  // namespace qv::import
