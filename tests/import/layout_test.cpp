#include "import/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "import/bent_projection.h"
#include "import/free_spot.h"
#include "import/label_placement.h"
#include "import/projection.h"
#include "import/travel_times.h"

namespace qv::import {
namespace {

std::vector<GeoPosition> RandomCity(unsigned seed, double spanDegrees) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> offset(-spanDegrees, spanDegrees);
    std::vector<GeoPosition> positions;
    for (int i = 0; i < 60; ++i) {
        positions.push_back({55.75 + offset(random) / 2, 37.6 + offset(random)});
    }
    return positions;
}

TEST(Projection, BendingKeepsDirectionsAndTheOrderOfDistances) {
    const std::vector<GeoPosition> positions = RandomCity(7, 0.4);
    const std::vector<PlanePoint> plain = ProjectToPlane(positions, 1);
    const std::vector<PlanePoint> bent = ProjectToPlane(positions, 0.5);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_NEAR(std::atan2(plain[i].y, plain[i].x), std::atan2(bent[i].y, bent[i].x), 1e-9);
        for (std::size_t j = 0; j < plain.size(); ++j) {
            EXPECT_EQ(std::hypot(plain[i].x, plain[i].y) < std::hypot(plain[j].x, plain[j].y),
                      std::hypot(bent[i].x, bent[i].y) < std::hypot(bent[j].x, bent[j].y));
        }
    }
}

TEST(Projection, OneStationOrOneRowDoesNotDivideByZero) {
    const ScreenBox screen;
    const std::vector<GeoPosition> lone = {{55, 37}};
    const std::vector<PlanePoint> one = FitToBox(ProjectToPlane(lone, 1), screen, 5);
    EXPECT_TRUE(one.size() == 1 && std::isfinite(one[0].x) && std::isfinite(one[0].y));
    const std::vector<GeoPosition> pair = {{55, 37}, {55, 37.1}};
    const std::vector<PlanePoint> row = FitToBox(ProjectToPlane(pair, 1), screen, 5);
    EXPECT_NEAR(row[0].x, 5, 1e-9);
    EXPECT_NEAR(row[1].x, 235, 1e-9);
    EXPECT_NEAR(row[0].y, row[1].y, 1e-9);
    EXPECT_EQ(ProjectToPlane(pair, 1)[0].x, 0);  // of two equally dense, the first is the centre
}

TEST(Projection, AGivenBendingIsStretchedWhenThatLeavesFewerPairsCrowded) {
    // Km east and south: a heap of five, two corners, a pair 3 km apart that stretching spreads.
    std::vector<GeoPosition> positions(5, GeoPosition{-25 / 110.574, 50 / 111.32});
    for (const auto& [east, south] :
         {std::pair{0.0, 0.0}, {100.0, 50.0}, {20.0, 10.0}, {20.0, 13.0}}) {
        positions.push_back({-south / 110.574, east / 111.32});
    }
    const BentProjection layout =
        ProjectBent(positions, std::vector<double>(9, 2), {0, 0, 100, 100}, 0, 1, 0);
    EXPECT_NEAR(layout.centres[8].y - layout.centres[7].y, 3 * 1.6, 0.01);
}

TEST(Projection, ALayoutCrowdedJustAsMuchAsAcceptableIsNeitherBentNorStretched) {
    // Km east and south of ten places, of which only one pair, 3 km apart, is crowded.
    const std::pair<double, double> places[] = {{100, 15}, {94, 16}, {96, 1},  {30, 3},  {1, 28},
                                                {33, 12},  {12, 35}, {98, 27}, {98, 30}, {34, 16}};
    std::vector<GeoPosition> positions;
    for (const auto& [east, south] : places) {
        positions.push_back({-south / 110.574, east / 111.32});
    }
    const BentProjection layout =
        ProjectBent(positions, std::vector<double>(10, 2), {0, 0, 100, 100}, 0, std::nullopt, 0);
    EXPECT_EQ(layout.exponent, 1);
    EXPECT_FALSE(layout.stretched);
    EXPECT_NEAR(layout.centres[8].y - layout.centres[7].y, 3 * 100 / 99.0, 0.01);
}

TEST(Layout, ClusterSlotsAreDistinctAndApart) {
    for (int count = 1; count <= 9; ++count) {
        for (const int spacing : {3, 4}) {
            const std::vector<Offset> slots = ClusterSlots(count, spacing);
            ASSERT_EQ(slots.size(), static_cast<std::size_t>(count));
            for (std::size_t a = 0; a < slots.size(); ++a) {
                for (std::size_t b = a + 1; b < slots.size(); ++b) {
                    EXPECT_GE(std::hypot(slots[a].dx - slots[b].dx, slots[a].dy - slots[b].dy),
                              spacing - 0.01);
                }
            }
        }
    }
}

TEST(Layout, AStationTakesTheSlotOnTheSideItsLineLeavesTowards) {
    const std::vector<Offset> slots = ClusterSlots(2, 4);  // left, then right
    ASSERT_LT(slots[0].dx, slots[1].dx);
    // The first station's line runs east, the second's west: they swap sides.
    EXPECT_EQ(AssignSlots(slots, std::vector<PlanePoint>{{1, 0}, {-1, 0}}),
              (std::vector<int>{1, 0}));
    EXPECT_EQ(AssignSlots(slots, std::vector<PlanePoint>{{-1, 0}, {1, 0}}),
              (std::vector<int>{0, 1}));
    // Eight stations all leaving east still take eight different slots.
    std::vector<int> eight = AssignSlots(ClusterSlots(8, 4), std::vector<PlanePoint>(8, {1, 0}));
    std::ranges::sort(eight);
    EXPECT_EQ(eight, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(Layout, SpreadingPartsPlacesOnOneSpotAndStaysInTheBox) {
    std::vector<PlanePoint> centres = {{100, 100}, {100, 100}, {101, 100}, {5, 40}};
    const std::vector<double> radii = {0, 2, 0, 3};
    const ScreenBox box{4, 30, 236, 290};
    SpreadApart(centres, radii, 4, box, 400);
    EXPECT_GE(SmallestClearance(centres, radii), 4 - 1e-6);
    for (std::size_t i = 0; i < centres.size(); ++i) {
        EXPECT_GE(centres[i].x, box.left + radii[i]);
        EXPECT_GE(centres[i].y, box.top + radii[i]);
    }
}

// A point whose spot is taken, its line going on to (0, -5): the nearest free spot, unless one
// within reach keeps the line at 45 degrees and off line 1's track (along x = 0 where drawn).
TEST(Layout, AMovedPointKeepsItsLineOctilinearAndOffOtherTracksWithinReach) {
    struct Case {
        bool track;  // line 1 drawn from (0, -10) to (0, 10)
        int reach;
        Spot expected;
    };
    const Case cases[] = {
        {false, 3, {0, -1}},  // straight on, one square out
        {true, 3, {-2, -3}},  // straight on would run along line 1: the first diagonal
        {true, 2, {-1, -1}},  // no such spot within reach: the nearest
    };
    const std::set<Spot> taken = {{0, 0}};
    for (const Case& c : cases) {
        DrawnStretches drawn;
        if (c.track) {
            drawn.Add({0, -10}, {0, 10}, 1);
        }
        const auto clear = [&](Spot spot) { return drawn.KeepsOwnTrack(spot, {0, -5}, 0); };
        EXPECT_EQ(FreeSpot({0, 0}, taken, clear, c.reach), c.expected) << c.track << c.reach;
        EXPECT_EQ(FreeSpot({0, 1}, taken, clear, c.reach), Spot(0, 1));
    }
    DrawnStretches shared;
    shared.Add({0, 0}, {4, 4}, 1);
    shared.Add({1, 1}, {0, 0}, 1);  // a line over its own track again keeps it
    shared.Add({2, 2}, {6, 6}, 2);
    EXPECT_TRUE(shared.KeepsOwnTrack({-2, -2}, {2, 2}, 1));
    EXPECT_FALSE(shared.KeepsOwnTrack({3, 3}, {5, 5}, 1));  // a stretch line 2 shares
    EXPECT_FALSE(shared.KeepsOwnTrack({9, 0}, {10, 2}, 3));
}

TEST(TravelTimes, EstimatesRoundAsDocumented) {
    const TimeEstimates estimates;  // 40 km/h, 0.5 min dwell, 80 m/min, +1 min, at least 2
    // Metres, dwell, minutes: running at 666.7 m a minute and the dwell, rounded, at least 1.
    const std::tuple<double, double, std::int32_t> runs[] = {
        {0, 0.5, 1},  {0, 0, 1},   {333, 0, 1},    {334, 0, 1},
        {1000, 0, 2}, {1, 0.2, 1}, {1300, 0.5, 2}, {1334, 0.5, 3}};
    for (const auto& [metres, dwell, minutes] : runs) {
        EXPECT_EQ(EstimateRunMinutes(metres, {.dwellMinutes = dwell}), minutes) << metres << " m";
    }
    EXPECT_EQ(EstimateTransferMinutes(0, estimates), 2);   // the shortest transfer
    EXPECT_EQ(EstimateTransferMinutes(80, estimates), 2);  // 1 + 1
    EXPECT_EQ(EstimateTransferMinutes(81, estimates), 3);  // the walk rounds up
    EXPECT_EQ(std::pair(WaitMinutes(4), WaitMinutes(5)), std::pair(2, 3));
}

TEST(Labels, ANameTooLongForEitherSideIsShortenedToFit) {
    const std::u16string name(60, u'ж');  // 330 pixels by the estimate
    const std::vector<LabelRequest> requests = {{name, 120, 120, 150, 150}};
    const std::vector<LabelDisc> discs = {{120, 150, 0}};
    const LabelOutcome outcome = PlaceLabels(requests, discs, {}, {1, 2});
    const PlacedLabel& label = outcome.labels[0];
    EXPECT_EQ(outcome.shortened, 1);
    ASSERT_LT(label.text.size(), name.size());
    EXPECT_EQ(label.text.back(), u'.');
    const double width = std::ceil(kLabelCharWidth * static_cast<double>(label.text.size()));
    const double left = label.labelAlign == 1 ? label.labelX : label.labelX - width;
    EXPECT_GE(left, 0);
    EXPECT_LE(left + width, 240);
}

TEST(Labels, AbbreviateWholeWordsKeepingTheCaseOfTheirFirstLetter) {
    EXPECT_EQ(AbbreviateName(u"Улица Академика Королёва"), u"Ул. Акад. Королёва");
    EXPECT_EQ(AbbreviateName(u"Ленинский проспект"), u"Ленинский пр.");
    EXPECT_EQ(AbbreviateName(u"Baker Street"), u"Baker St");
    EXPECT_EQ(AbbreviateName(u"Edgware Road (C)"), u"Edgware Rd (C)");
    // Only whole words: a word that merely begins like one stays, and so do the spaces.
    EXPECT_EQ(AbbreviateName(u"Streatham  Улицы"), u"Streatham  Улицы");
    EXPECT_EQ(AbbreviateName(u""), u"");
}

TEST(Labels, TakeTheAbbreviationWhereTheWholeNameWouldHideAStation) {
    // Near the left edge only the right side has room; unlabelled stations at x 130 lie in
    // every right-hand place of the whole name (to x 146) but beyond the short form (to 113).
    const std::vector<LabelRequest> requests = {{u"Улица Академика Королёва", 10, 10, 150, 150}};
    const std::vector<LabelDisc> discs = {
        {10, 150, 0}, {130, 143, 1}, {130, 150, 2}, {130, 157, 3}};
    const LabelOutcome outcome = PlaceLabels(requests, discs, {}, {1, 2});
    EXPECT_EQ(outcome.labels[0].text, u"Ул. Акад. Королёва");
    EXPECT_EQ(std::tuple(outcome.abbreviated, outcome.shortened, outcome.coveredDiscs),
              std::tuple(1, 0, 0));
}

TEST(Labels, SlideAlongAboveWhereEveryUsualPlaceHidesAnotherStation) {
    // Аб, 11 pixels wide, at 100,150 among stations of other places: each of the eight usual
    // places, each place beside it and each below it lies over one of them. Above, the box from
    // x 88 to 99 passes between the discs at 86 and 104 (the one at 94,135 bars the row further
    // out); the station at 94,144 under it is of its own interchange and does not count.
    const std::vector<LabelRequest> requests = {{u"Аб", 100, 100, 150, 150, 0}};
    const std::vector<LabelDisc> discs = {{100, 150, 0}, {94, 144, 0}, {86, 142, 1},  {104, 142, 2},
                                          {94, 135, 3},  {92, 150, 4}, {108, 150, 5}, {92, 158, 6},
                                          {100, 158, 7}, {108, 158, 8}};
    const LabelOutcome outcome = PlaceLabels(requests, discs, {}, {1, 2});
    EXPECT_EQ(outcome.coveredDiscs, 0);
    const PlacedLabel& label = outcome.labels[0];
    EXPECT_EQ(std::make_tuple(label.labelX, label.labelY, label.labelAlign),
              std::make_tuple(88, 148, 1));
}

TEST(Labels, StandInRowsFurtherOutWhenAskedWhereLongNamesCrowdARow) {
    // Eight stations 10 pixels apart in a row, each with a name of 77 pixels: a row of labels
    // within the screen holds two of them, and above, level and below make three rows, too few.
    std::vector<LabelRequest> requests;
    std::vector<LabelDisc> discs;
    for (int i = 0; i < 8; ++i) {
        const int x = 90 + 10 * i;
        requests.push_back(
            {std::u16string(14, static_cast<char16_t>(u'а' + i)), x, x, 150, 150, i});
        discs.push_back({x, 150, i});
    }
    const LabelOutcome near = PlaceLabels(requests, discs, {}, {1, 2});
    EXPECT_GT(near.overlaps, 0);
    LabelScreen screen{1, 2};
    screen.farRows = true;
    const LabelOutcome stacked = PlaceLabels(requests, discs, {}, screen);
    EXPECT_EQ(stacked.overlaps, 0);
    const auto farOut = [](const PlacedLabel& label) {
        return label.labelY <= 150 - 2 - 16 || label.labelY - kLabelHeight >= 150 + 2 + 16;
    };
    EXPECT_GE(std::count_if(stacked.labels.begin(), stacked.labels.end(), farOut), 2);
}

TEST(Labels, TakeLinesAcrossANameRatherThanOneAlongIt) {
    // A station on a line running east to west; lines 10 pixels apart run north and south of it,
    // crossing every place above and below. Beside it the name would cross one line, but that
    // one strikes it through, even where a bend under the name parts it in two short stretches.
    const std::vector<LabelRequest> requests = {{u"Абвгд", 120, 120, 150, 150, 0}};
    const std::vector<LabelDisc> discs = {{120, 150, 0}};
    std::vector<Segment> lines = {{{40, 150}, {137, 150}, 0}, {{137, 150}, {200, 150}, 0}};
    for (int x = 50; x <= 190; x += 10) {
        lines.push_back({{x, 100}, {x, 144}});
        lines.push_back({{x, 156}, {x, 200}});
    }
    const LabelOutcome outcome = PlaceLabels(requests, discs, lines, {1, 2});
    const PlacedLabel& label = outcome.labels[0];
    EXPECT_EQ(outcome.struck, 0);
    EXPECT_TRUE(label.labelY <= 150 || label.labelY - kLabelHeight >= 150) << label.labelY;
    // Lines 10 pixels apart leave no place unstruck.
    const std::vector<Segment> ruled = {
        {{0, 140}, {240, 140}}, {{0, 150}, {240, 150}}, {{0, 160}, {240, 160}}};
    EXPECT_EQ(PlaceLabels(requests, discs, ruled, {1, 2}).struck, 1);
}

TEST(Labels, KeepToOneSideAlongAStraightLine) {
    // Three stations on a line running east; stations of another place above the first push its
    // label below. The others follow it there only as its neighbours along the line.
    std::vector<LabelRequest> requests = {{u"Аааaa", 60, 60, 150, 150, 0},
                                          {u"Ббббб", 120, 120, 150, 150, 1},
                                          {u"Ввввв", 180, 180, 150, 150, 2}};
    std::vector<LabelDisc> discs = {{60, 150, 0}, {120, 150, 1}, {180, 150, 2}};
    for (int x = 30; x <= 90; x += 6) {
        discs.push_back({x, 140, 3});
    }
    const std::vector<Segment> line = {{{40, 150}, {200, 150}}};
    const auto below = [](const PlacedLabel& label) { return label.labelY - kLabelHeight >= 150; };
    const LabelOutcome alone = PlaceLabels(requests, discs, line, {1, 2});
    EXPECT_TRUE(below(alone.labels[0]));
    EXPECT_FALSE(below(alone.labels[1]));
    EXPECT_FALSE(below(alone.labels[2]));
    requests[0].along = {{1, 60, 0}};
    requests[1].along = {{0, -60, 0}, {2, 60, 0}};
    requests[2].along = {{1, -60, 0}};
    const LabelOutcome together = PlaceLabels(requests, discs, line, {1, 2});
    for (const PlacedLabel& label : together.labels) {
        EXPECT_TRUE(below(label)) << label.labelY;
    }
}

TEST(Labels, MoveTwoAtOnceWhereNeitherMoveAloneHelps) {
    // Б's only clear places are beside it on the left, next to А's first choice: neither moving
    // alone helps.
    const std::vector<LabelRequest> requests = {{u"Аааа", 60, 60, 154, 154, 0},
                                                {std::u16string(20, u'Б'), 200, 200, 150, 150, 1}};
    const std::vector<LabelDisc> discs = {
        {60, 154, 0}, {200, 150, 1}, {150, 141, 2}, {150, 159, 3}};
    const LabelOutcome outcome = PlaceLabels(requests, discs, {}, {1, 2});
    EXPECT_EQ(outcome.coveredDiscs + outcome.overlaps, 0);
    EXPECT_EQ(outcome.labels[1].labelAlign, 2);
    EXPECT_EQ(outcome.labels[1].labelY, 155);  // level with its station
    EXPECT_LT(outcome.labels[0].labelX, 60);   // А gave way to the left
}

TEST(Labels, AreLeftAtTheirFirstChoiceWhereTooManyHaveNoPlaceClearOfDiscsAndLines) {
    // А's and Б's first choices, beside their stations, overlap; В stands where lines 10 pixels
    // apart strike every place it has, though none lies over a disc.
    const std::vector<LabelRequest> requests = {{u"Аааа", 50, 50, 200, 200, 0},
                                                {u"Бббб", 50, 50, 208, 208, 1},
                                                {u"Вввв", 150, 150, 150, 150, 2}};
    const std::vector<LabelDisc> discs = {{50, 200, 0}, {50, 208, 1}, {150, 150, 2}};
    const std::vector<Segment> ruled = {
        {{100, 140}, {240, 140}}, {{100, 150}, {240, 150}}, {{100, 160}, {240, 160}}};
    struct Case {
        bool linesAcrossV;
        int mostUnclean;
        int overlaps;
    };
    for (const Case& c : {Case{false, 0, 0}, Case{true, 0, 1}, Case{true, 1, 0}}) {
        const std::span<const Segment> lines =
            c.linesAcrossV ? std::span<const Segment>(ruled) : std::span<const Segment>();
        EXPECT_EQ(PlaceLabels(requests, discs, lines, {1, 2}, c.mostUnclean).overlaps, c.overlaps)
            << c.linesAcrossV << " " << c.mostUnclean;
    }
}

TEST(Labels, AreLeftAtTheirFirstChoiceWhereTwoHaveNoPlacesApart) {
    // On a screen 30 pixels wide and ending just below В, its only places are in the rows above
    // it. Beside В, Г has places only there too, each overlapping every place of В's; higher
    // up, Г has places apart from В's. А's and Б's first choices overlap, but they have room to
    // part.
    struct Case {
        int gY;
        int mostUnclean;
        int overlaps;
    };
    for (const Case& c : {Case{150, 1, 1}, Case{150, 0, 2}, Case{120, 0, 0}}) {
        const std::vector<LabelRequest> requests = {{u"Аааа", 4, 4, 40, 40, 0},
                                                    {u"Бббб", 4, 4, 48, 48, 1},
                                                    {u"Вввв", 12, 12, 150, 150, 2},
                                                    {u"Гггг", 18, 18, c.gY, c.gY, 3}};
        const std::vector<LabelDisc> discs = {{4, 40, 0}, {4, 48, 1}, {12, 150, 2}, {18, c.gY, 3}};
        LabelScreen narrow{1, 2};
        narrow.width = 30;
        narrow.height = 160;
        narrow.topBar = 0;
        narrow.bottomBar = 0;
        EXPECT_EQ(PlaceLabels(requests, discs, {}, narrow, c.mostUnclean).overlaps, c.overlaps)
            << c.gY << " " << c.mostUnclean;
    }
}

}  // namespace
}  // namespace qv::import
