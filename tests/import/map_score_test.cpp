// The figures of the score command, on small maps whose figures are counted by hand.

#include "import/map_score.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "import/segment_geometry.h"
#include "map_text.h"
#include "model/map_parser.h"

namespace qv::import {
namespace {

struct Point {
    char16_t kind;
    std::u16string name;
    int x;
    int y;
};

struct TestLine {
    int number = 0;
    std::vector<Point> points = {};
    bool ring = false;
};

struct TestMap {
    std::vector<TestLine> lines = {};
    std::vector<Transfer> transfers = {};
};

// The map as a parsed one of the drawing record "0;0;2;2;1" would be: station radius 2.
std::unique_ptr<NetworkModel> Load(const TestMap& map) {
    auto model = std::make_unique<NetworkModel>();
    model->lineWidth = 2;
    model->stationRadius = 2;
    model->outlineWidth = 1;
    for (const TestLine& line : map.lines) {
        Line& added = model->AddLine(line.number, u"L", 0, line.ring,
                                     static_cast<std::int32_t>(line.points.size()), 0);
        for (const Point& point : line.points) {
            added.AddStation({.name = point.name,
                              .runTime = 1,
                              .kind = static_cast<std::int16_t>(point.kind),
                              .x = point.x,
                              .y = point.y});
        }
    }
    model->transfers = map.transfers;
    model->BuildStationIndex();
    return model;
}

TEST(MapScore, CountsAnglesBendsAndSharpTurnsAlongEachLine) {
    struct Case {
        const char* what;
        char16_t middle;        // 'S' a station, 'P' a corner point
        std::array<int, 6> xy;  // of the three points
        double share;           // of the drawn length at multiples of 45 degrees
        int bends;
        int sharp;
    };
    const double offGrid = std::hypot(30, 30) / (std::hypot(30, 30) + 50);
    const Case cases[] = {
        {"straight through a corner point", 'P', {0, 0, 20, 0, 40, 0}, 1, 0, 0},
        {"a right angle at a corner point", 'P', {0, 0, 30, 0, 30, 30}, 1, 1, 0},
        {"45 degrees, then off the grid", 'S', {0, 0, 30, 30, 60, 70}, offGrid, 1, 0},
        {"a sharp turn back at a station", 'S', {0, 0, 40, 0, 10, 30}, 1, 1, 1},
        {"just wider than sharp", 'S', {0, 0, 40, 0, 40, 30}, 1, 1, 0},
        {"a reversal", 'S', {0, 0, 40, 0, 20, 0}, 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<Point> points = {
            {'S', u"a", c.xy[0], c.xy[1]},
            {c.middle, c.middle == 'P' ? u"a" : u"b", c.xy[2], c.xy[3]},
            {'S', u"c", c.xy[4], c.xy[5]}};
        const MapScore score = ScoreMap(*Load({{{1, points}}}));
        EXPECT_NEAR(score.octilinearLength / score.drawnLength, c.share, 1e-9);
        EXPECT_EQ(std::pair(score.bends, score.sharpTurns), std::pair(c.bends, c.sharp));
        EXPECT_EQ(c.sharp && !score.faults.empty() ? score.faults.front() : "",
                  c.sharp ? "sharp turn: 1 at b (40, 0)" : "");
    }
}

// Segments that meet (crossings, touching ends, a shared stretch) and segments that run along
// one another, the two tests the score's crossings and kept links rest on.
TEST(MapScore, TellsSegmentsThatMeetFromThoseSharingAStretch) {
    struct Case {
        const char* what;
        std::array<IntPoint, 4> ends;  // a1, a2, b1, b2
        bool meet;
        bool share;
    };
    const Case cases[] = {
        {"crossing", {{{0, 0}, {4, 4}, {0, 4}, {4, 0}}}, true, false},
        {"one ending on the other", {{{0, 0}, {4, 0}, {2, 0}, {2, 3}}}, true, false},
        {"end to end at an angle", {{{0, 0}, {4, 0}, {4, 0}, {6, 2}}}, true, false},
        {"end to end in line", {{{0, 0}, {2, 0}, {2, 0}, {4, 0}}}, true, false},
        {"overlapping in line", {{{0, 0}, {4, 0}, {6, 0}, {2, 0}}}, true, true},
        {"in line with a gap", {{{0, 0}, {2, 0}, {3, 0}, {5, 0}}}, false, false},
        {"parallel", {{{0, 0}, {4, 0}, {0, 1}, {4, 1}}}, false, false},
        {"crossing only if drawn on", {{{0, 0}, {1, 1}, {0, 4}, {1, 3}}}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto [a1, a2, b1, b2] = c.ends;
        EXPECT_EQ(std::pair(SegmentsMeet(a1, a2, b1, b2), SharesStretch(a1, a2, b1, b2)),
                  std::pair(c.meet, c.share));
        EXPECT_EQ(SegmentsMeet(b2, b1, a1, a2), c.meet);
    }
}

TEST(MapScore, ARingBendsAtItsFirstPointToo) {
    const MapScore score = ScoreMap(
        *Load({{{1,
                 {{'S', u"a", 0, 0}, {'S', u"b", 40, 0}, {'S', u"c", 40, 40}, {'S', u"d", 0, 40}},
                 true}}}));
    EXPECT_EQ(std::pair(score.bends, score.links), std::pair(4, 4));
    EXPECT_DOUBLE_EQ(score.drawnLength, 160);
}

TEST(MapScore, FindsLinesOverStationsTheyDoNotServeAndSharedTrack) {
    // Line 1 runs over b's disc; line 3 over r's and s's, and r to s lies on its track.
    const TestMap map{{{1, {{'S', u"a", 0, 0}, {'S', u"c", 60, 0}}},
                       {2, {{'S', u"b", 30, 1}, {'S', u"y", 30, 40}}},
                       {3, {{'S', u"p", 100, 0}, {'P', u"p", 130, 0}, {'S', u"q", 160, 0}}},
                       {4, {{'S', u"r", 120, 0}, {'S', u"s", 140, 0}}}}};
    const MapScore score = ScoreMap(*Load(map));
    EXPECT_EQ(std::tuple(score.falseStops, score.links, score.keptLinks), std::tuple(3, 4, 2));
    EXPECT_EQ(score.faults,
              (std::vector<std::string>{
                  "line through a station: 1 through b", "line through a station: 3 through r",
                  "line through a station: 3 through s", "link on another's track: 3 p - q",
                  "link on another's track: 4 r - s"}));
}

TEST(MapScore, AStationInsideAnInterchangeIsServedByEachOfItsLines) {
    // Line 1 runs over the disc of line 2's station, which is one place with line 1's own.
    const TestMap map{{{1, {{'S', u"a", 0, 0}, {'S', u"m", 30, 0}, {'S', u"c", 60, 0}}},
                       {2, {{'S', u"n", 31, 1}, {'S', u"d", 31, 40}}}},
                      {{30, 0, 31, 1, 2}}};
    const MapScore score = ScoreMap(*Load(map));
    EXPECT_EQ(std::pair(score.falseStops, score.places), std::pair(0, 4));
}

TEST(MapScore, ComparesCrossingsOrderAndPositionsWithAnotherDrawing) {
    // Two lines crossing, and a star around one station.
    const auto draw = [](int scale, int shiftX, bool swapped, bool crossing) {
        TestMap map;
        map.lines.push_back({1, {{'S', u"w", 0, 20}, {'S', u"e", 40, 20}}});
        map.lines.push_back({2, {{'S', u"n", 20, 0}, {'S', u"s", 20, crossing ? 40 : 10}}});
        const int east = swapped ? 80 : 120;
        const int west = swapped ? 120 : 80;
        map.lines.push_back({3, {{'S', u"m", 100, 60}, {'S', u"x", east, 60}}});
        map.lines.push_back({4, {{'S', u"m", 100, 61}, {'S', u"y", west, 61}}});
        map.lines.push_back({5, {{'S', u"m", 100, 62}, {'S', u"z", 100, 90}}});
        map.transfers = {{100, 60, 100, 61, 1}, {100, 61, 100, 62, 1}};
        for (TestLine& line : map.lines) {
            for (Point& point : line.points) {
                point.x = point.x * scale + shiftX;
                point.y *= scale;
            }
        }
        for (Transfer& t : map.transfers) {
            t.x1 = t.x1 * scale + shiftX;
            t.x2 = t.x2 * scale + shiftX;
            t.y1 *= scale;
            t.y2 *= scale;
        }
        return map;
    };
    const auto original = Load(draw(1, 0, false, true));
    struct Case {
        const char* what;
        TestMap map;
        int added;
        int lost;
        int order;
        bool moved;
        std::vector<std::string> faults;
    };
    const Case cases[] = {
        {"the same, twice as large and moved", draw(2, 7, false, true), 0, 0, 0, false, {}},
        {"the crossing lost",
         draw(1, 0, false, false),
         0,
         1,
         0,
         true,
         {"crossing lost: 1 w - e x 2 n - s"}},
        {"two neighbours swapped",
         draw(1, 0, true, true),
         0,
         0,
         1,
         true,
         {"neighbours in another order: m"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MapScore score = ScoreMap(*Load(c.map), *original);
        EXPECT_TRUE(score.compared);
        EXPECT_EQ(std::tuple(score.unmatchedPlaces, score.unmatchedLinks, score.crossingsAdded,
                             score.crossingsLost, score.orderChanged),
                  std::tuple(0, 0, c.added, c.lost, c.order));
        EXPECT_EQ(score.faults, c.faults);
        if (c.moved) {
            EXPECT_GT(score.maxDisplacement, 0.01);
            EXPECT_GT(score.meanDisplacement, 0);
            EXPECT_LE(score.meanDisplacement, score.maxDisplacement);
        } else {
            EXPECT_NEAR(score.maxDisplacement, 0, 1e-9);
            EXPECT_NEAR(score.meanDisplacement, 0, 1e-9);
        }
    }
    // Adding is the reverse of losing.
    const MapScore reverse = ScoreMap(*original, *Load(draw(1, 0, false, false)));
    EXPECT_EQ(std::pair(reverse.crossingsAdded, reverse.crossingsLost), std::pair(1, 0));
    EXPECT_EQ(reverse.faults, std::vector<std::string>{"crossing added: 1 w - e x 2 n - s"});
}

// Where the other drawing runs a line over a station (within a disc's radius, 2 here) it does
// not tell on which side the station lies: the crossings and the order round a place that hang on
// that side are left open, counted apart, not as faults.
TEST(MapScore, LeavesOpenWhatALineOverAStationInTheOtherDrawingDoesNotTell) {
    // Line 1 runs a - b - c; line 2 from n down to s at `x`, past b (20, 20).
    const auto crossing = [](int x) {
        return TestMap{{{1, {{'S', u"a", 0, 20}, {'S', u"b", 20, 20}, {'S', u"c", 40, 20}}},
                        {2, {{'S', u"n", x, 0}, {'S', u"s", x, 40}}}}};
    };
    // Line 3 from m east to p; line 4 from m to q at (40, `qy`), past p; line 5 from m south.
    const auto star = [](int qy) {
        return TestMap{{{3, {{'S', u"m", 0, 0}, {'S', u"p", 20, 0}}},
                        {4, {{'S', u"m", 0, 0}, {'S', u"q", 40, qy}}},
                        {5, {{'S', u"m", 0, 0}, {'S', u"r", 0, 30}}}}};
    };
    struct Case {
        const char* what;
        TestMap reference;
        TestMap drawing;
        std::tuple<int, int, int> counted;  // crossings added, lost, orders changed
        std::pair<int, int> open;           // crossings, orders
    };
    const Case cases[] = {
        {"over b: crossing a - b instead of b - c", crossing(21), crossing(15), {0, 0, 0}, {2, 0}},
        {"over b: crossing neither", crossing(21), crossing(50), {0, 0, 0}, {1, 0}},
        {"a radius from b: not over it", crossing(22), crossing(15), {1, 1, 0}, {0, 0}},
        {"the same crossing as over b", crossing(21), crossing(25), {0, 0, 0}, {0, 0}},
        {"q's link over p: p and q swapped round m", star(1), star(-10), {0, 0, 0}, {0, 1}},
        {"q's link clear of p: swapped", star(8), star(-10), {0, 0, 1}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MapScore score = ScoreMap(*Load(c.drawing), *Load(c.reference));
        EXPECT_EQ(std::tuple(score.crossingsAdded, score.crossingsLost, score.orderChanged),
                  c.counted);
        EXPECT_EQ(std::pair(score.crossingsOpen, score.ordersOpen), c.open);
    }
}

TEST(MapScore, CountsOverlappingLabelsAndLabelsOverOtherDiscs) {
    std::u16string text =
        u"[NAME]\r\nТ;1;0;1;1;\r\n[MAP]\r\n0;0;2;2;1;FF00FFh;\r\n[LINES]\r\n1;L;0000FFh;0;3;\r\n"
        u"[STATION]\r\n"
        u"1;1;S;a;10;50;1;Один;14;54;1;\r\n"
        u"1;2;S;b;30;50;1;Два;20;54;1;\r\n"
        u"1;3;S;c;100;50;1;Три;104;40;1;\r\n"
        u"[CROSS]\r\n[TABLETTERS]\r\n0;\r\n";
    NetworkModel model;
    ASSERT_EQ(testing::LoadText(model, text), 0);
    const MapScore score = ScoreMap(model);
    EXPECT_EQ(score.labels, 3);
    EXPECT_EQ(score.labelOverlaps, 1);     // Один and Два
    EXPECT_EQ(score.labelsOverDiscs, 1);   // Один over b; Два only over its own station
    EXPECT_EQ(score.labelsAlongLines, 2);  // the line runs through Один and Два, not Три
    EXPECT_DOUBLE_EQ(score.nearestPlaces, 20);
}

}  // namespace
}  // namespace qv::import
