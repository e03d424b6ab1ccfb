#include "render/scheme_renderer.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "recording_surface.h"
#include "render/scheme_view.h"
#include "resources/resource_ids.h"

namespace qv {
namespace {

using testing::DrawCall;
using testing::NetworkBuilder;
using testing::RecordingSurface;
using Kind = DrawCall::Kind;

Station At(int x, int y, std::int16_t kind = kStationKind) {
    return Station{.kind = kind, .x = x, .y = y};
}

std::vector<POINT> Points(std::initializer_list<POINT> points) {
    return points;
}

TEST(DashedSegment, LengthThirtyGivesFiveDashesFromItsStart) {
    RecordingSurface surface;
    DrawDashedSegment(At(10, 5), At(40, 5), surface, 2, 3, 1);
    const auto dashes = surface.Calls(Kind::Polyline);
    ASSERT_EQ(dashes.size(), 5u);
    for (std::size_t k = 0; k < dashes.size(); ++k) {
        const int x = 12 + 6 * static_cast<int>(k);
        EXPECT_EQ(dashes[k].points, Points({{x, 8}, {x + 3, 8}})) << k;
    }
}

TEST(DashedSegment, ShortSegmentGetsOneOvershootingDash) {
    RecordingSurface surface;
    DrawDashedSegment(At(10, 5), At(12, 5), surface, 0, 0, 1);
    const auto dashes = surface.Calls(Kind::Polyline);
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_EQ(dashes[0].points, Points({{10, 5}, {13, 5}}));
}

TEST(DashedSegment, DiagonalAndScaledComponentsAreTruncated) {
    RecordingSurface diagonal;
    DrawDashedSegment(At(0, 0), At(10, 10), diagonal, 0, 0, 1);
    const auto dashes = diagonal.Calls(Kind::Polyline);
    ASSERT_FALSE(dashes.empty());
    EXPECT_EQ(dashes[0].points, Points({{0, 0}, {2, 2}}));  // 3 cos 45 = 2.12
    // Length 14.14: t = 4, two dashes.
    ASSERT_EQ(dashes.size(), 2u);
    EXPECT_EQ(dashes[1].points, Points({{4, 4}, {6, 6}}));

    RecordingSurface scaled;
    DrawDashedSegment(At(0, 0), At(0, -20), scaled, 5, 5, 2);
    const auto up = scaled.Calls(Kind::Polyline);
    ASSERT_EQ(up.size(), 3u);  // length 40, t = 6
    EXPECT_EQ(up[1].points, Points({{5, 5 - 12}, {5, 5 - 18}}));
}

TEST(DashedSegment, AnAbsurdlyLongSegmentDrawsOnlyNearTheImage) {
    RecordingSurface surface;
    DrawDashedSegment(At(-2000000000, 10), At(2000000000, 10), surface, 0, 0, 1);
    const auto dashes = surface.Calls(Kind::Polyline);
    EXPECT_LT(dashes.size(), 3000u);
    ASSERT_FALSE(dashes.empty());
    // The dashes keep their places along the segment.
    EXPECT_EQ((dashes[1].points[0].x - dashes[0].points[0].x), 6);
}

TEST(BuildSchemeImage, ExtremeMapValuesNeitherOverflowNorHang) {
    constexpr std::int32_t kHuge = 2147483647;
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", -kHuge, kHuge, 1, kMarkedPointKind},
                               {u"B", kHuge, -kHuge},
                               {u"C", 0, 0, 1, kForbiddenKind}})
                     .Transfer(kHuge, -kHuge, -kHuge, kHuge, 1)
                     .Build();
    model->originX = kHuge;
    model->originY = -kHuge - 1;
    model->stationRadius = kHuge;
    model->outlineWidth = -kHuge;
    model->lineWidth = kHuge;
    for (const auto& line : model->Lines()) {
        line->stationRadius = kHuge;
        line->outlineWidth = kHuge;
        line->lineWidth = kHuge;
        line->stations[0]->labelText = u"Метка";
        line->stations[0]->labelX = kHuge;
    }
    model->zoomFactor = 8;
    model->zoomed = true;
    model->settings.showStationNames = true;
    model->settings.routeBlink = false;
    model->route = {model->Stations()[0], model->Stations()[1]};
    model->departure = model->Stations()[0];
    model->hotStation = model->Stations()[1];
    // The undefined-behaviour sanitizer fails this test on any overflow.
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    EXPECT_FALSE(window.images.empty());
    HitTest(*model, kHuge, -kHuge);
    PanView(*model, kHuge, kHuge);
    PanView(*model, kHuge, kHuge);
    CentreView(*model, 8);
}

TEST(DrawLine, DashesWhereTheLineRunsPastItsStationsAndShapePoints) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"b0", 0, 0, 1, kMarkedPointKind},
                               {u"b1", 30, 0, 1, kMarkedPointKind},
                               {u"s2", 60, 0},
                               {u"s3", 90, 0},
                               {u"p4", 120, 0, 1, kShapePointKind},
                               {u"f5", 150, 0, 1, kForbiddenKind}})
                     .Build();
    Line& line = *model->Lines()[0];
    line.lineWidth = 3;
    line.colour = 0x123456;
    RecordingSurface surface;
    DrawLine(line, surface, 0, 10, 1);
    const auto lines = surface.Calls(Kind::Polyline);
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, Points({{60, 10}, {90, 10}, {120, 10}}));
    EXPECT_EQ(lines[0].penWidth, 3);
    EXPECT_EQ(lines[0].penColour, 0x123456u);
    // Two leading segments of five dashes, then one trailing segment of five.
    ASSERT_EQ(lines.size(), 1u + 5 + 5 + 5);
    EXPECT_EQ(lines[1].points.front(), (POINT{0, 10}));
    EXPECT_EQ(lines[6].points.front(), (POINT{30, 10}));
    EXPECT_EQ(lines[11].points.front(), (POINT{120, 10}));
    // The dashes take the line's width and colour with flat ends; the polyline keeps round ones.
    EXPECT_EQ(lines[0].penEnds, PenEnds::Round);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].penWidth, 3);
        EXPECT_EQ(lines[i].penColour, 0x123456u);
        EXPECT_EQ(lines[i].penEnds, PenEnds::Flat);
    }
    EXPECT_EQ(surface.openSelections, 0);
}

TEST(BuildSchemeImage, AnEndStationMadeForbiddenIsDashedFromTheNextImageOn) {
    auto model = NetworkBuilder().Line(1, {{u"a", 0, 0}, {u"b", 30, 0}, {u"c", 60, 0}}).Build();
    model->Lines()[0]->colour = 0x123456;
    const auto lineCalls = [&model] {
        RecordingSurface window;
        BuildSchemeImage(*model, {}, window);
        std::vector<DrawCall> calls;
        for (const DrawCall& call : window.images.at(0)->Calls(Kind::Polyline)) {
            if (call.penColour == 0x123456u) {
                calls.push_back(call);
            }
        }
        return calls;
    };
    ASSERT_EQ(lineCalls().size(), 1u);
    ToggleForbidden(*model->Stations()[2]);
    const auto calls = lineCalls();
    ASSERT_EQ(calls.size(), 1u + 5);
    EXPECT_EQ(calls[0].points, Points({{0, 0}, {30, 0}}));
    EXPECT_EQ(calls[1].points, Points({{30, 0}, {33, 0}}));
    EXPECT_EQ(calls[5].points, Points({{54, 0}, {57, 0}}));
    ToggleForbidden(*model->Stations()[2]);
    EXPECT_EQ(lineCalls().size(), 1u);
}

TEST(DrawLine, LineWithoutStationsOrShapePointsIsSolidAndRingsClose) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"a", 0, 0, 1, kMarkedPointKind}, {u"b", 10, 0, 1, kForbiddenKind}})
                     .Line(2, {{u"a", 0, 0}, {u"b", 10, 0}, {u"c", 5, 9}}, 0, true)
                     .Line(3, {{u"only", 0, 0}})
                     .Build();
    RecordingSurface surface;
    DrawLine(*model->Lines()[0], surface, 0, 0, 1);
    ASSERT_EQ(surface.calls.size(), 1u);
    EXPECT_EQ(surface.calls[0].points, Points({{0, 0}, {10, 0}}));

    RecordingSurface ring;
    DrawLine(*model->Lines()[1], ring, 0, 0, 2);
    ASSERT_EQ(ring.calls.size(), 1u);
    EXPECT_EQ(ring.calls[0].points, Points({{0, 0}, {20, 0}, {10, 18}, {0, 0}}));

    RecordingSurface single;
    DrawLine(*model->Lines()[2], single, 0, 0, 1);
    EXPECT_TRUE(single.calls.empty());
}

std::unique_ptr<NetworkModel> TransferNetwork() {
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 10, 20}, {u"B", 40, 20}})
                     .Line(2, {{u"C", 42, 24}, {u"D", 40, 60, 1, kMarkedPointKind}})
                     .Transfer(40, 20, 42, 24, 3)
                     .Transfer(10, 20, 12, 24, 3)
                     .Build();
    model->originX = 5;
    model->originY = 7;
    model->stationRadius = 4;
    model->outlineWidth = 1;
    model->lineWidth = 3;
    for (const auto& line : model->Lines()) {
        line->stationRadius = 4;
        line->outlineWidth = 1;
        line->lineWidth = 3;
        line->colour = 0x0000FF;
    }
    return model;
}

TEST(BuildSchemeImage, AtScaleTwoCirclesDoubleButTheOriginDoesNot) {
    auto model = TransferNetwork();
    model->zoomFactor = 2;
    model->zoomed = true;
    model->viewX = -30;
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    ASSERT_EQ(window.images.size(), 1u);
    const RecordingSurface& image = *window.images[0];
    EXPECT_EQ(image.imageWidth, 480);
    EXPECT_EQ(image.imageHeight, 640);
    EXPECT_EQ(model->viewX, -30);  // a zoomed view keeps its place
    // Background first, white, over the whole image.
    EXPECT_EQ(image.calls[0].kind, Kind::Rectangle);
    EXPECT_EQ(image.calls[0].rect, (RECT{0, 0, 480, 640}));
    // Station A at (10, 20): centre (5 + 20, 7 + 40), radius 4 * 2, white outline 2 wide.
    const auto circles = image.Calls(Kind::Ellipse);
    const auto a = std::find_if(circles.begin(), circles.end(), [](const DrawCall& c) {
        return c.rect == RECT{25 - 8, 47 - 8, 25 + 8, 47 + 8} && c.brushColour == 0x0000FF;
    });
    ASSERT_NE(a, circles.end());
    EXPECT_EQ(a->penColour, kWhite);
    EXPECT_EQ(a->penWidth, 2);
    EXPECT_EQ(window.openSelections, 0);
    EXPECT_EQ(image.openSelections, 0);
}

TEST(BuildSchemeImage, AllRimsComeBeforeAnyCoreThenStations) {
    auto model = TransferNetwork();
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    EXPECT_EQ(model->viewX, 0);
    const auto circles = window.images[0]->Calls(Kind::Ellipse);
    ASSERT_GE(circles.size(), 8u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(circles[static_cast<std::size_t>(i)].penColour, kBlack) << i;
        EXPECT_EQ(circles[static_cast<std::size_t>(i)].rect.right -
                      circles[static_cast<std::size_t>(i)].rect.left,
                  10);
    }
    for (int i = 4; i < 8; ++i) {
        EXPECT_EQ(circles[static_cast<std::size_t>(i)].penColour, kWhite) << i;
        EXPECT_EQ(circles[static_cast<std::size_t>(i)].brushColour, kWhite) << i;
        EXPECT_EQ(circles[static_cast<std::size_t>(i)].rect.right -
                      circles[static_cast<std::size_t>(i)].rect.left,
                  8);
    }
    // The transfers' first ends in order: (40, 20), then (42, 24).
    EXPECT_EQ(circles[0].rect, (RECT{45 - 5, 27 - 5, 45 + 5, 27 + 5}));
    EXPECT_EQ(circles[1].rect, (RECT{47 - 5, 31 - 5, 47 + 5, 31 + 5}));
}

TEST(DrawStationMarkers, BothStylesAndTheMarkedPoint) {
    auto model = TransferNetwork();
    const Line& second = *model->Lines()[1];
    RecordingSurface filled;
    DiscLayer filledLayer(kViewWidth, kViewHeight);
    AddStationMarkers(second, filledLayer, 0, 0, 1, 1);
    filledLayer.DrawOn(filled);
    ASSERT_EQ(filled.calls.size(), 3u);
    EXPECT_EQ(filled.calls[0].brushColour, 0x0000FFu);
    EXPECT_EQ(filled.calls[0].penColour, kWhite);
    EXPECT_EQ(filled.calls[0].rect, (RECT{38, 20, 46, 28}));
    // The 'B' point: a disc in the line colour, then a white one of radius 4 - 1.
    EXPECT_EQ(filled.calls[1].brushColour, 0x0000FFu);
    EXPECT_EQ(filled.calls[2].brushColour, kWhite);
    EXPECT_EQ(filled.calls[2].penColour, 0x0000FFu);
    EXPECT_EQ(filled.calls[2].rect, (RECT{37, 57, 43, 63}));

    RecordingSurface outlined;
    DiscLayer outlinedLayer(kViewWidth, kViewHeight);
    AddStationMarkers(second, outlinedLayer, 0, 0, 1, 2);
    outlinedLayer.DrawOn(outlined);
    EXPECT_EQ(outlined.calls[0].brushColour, kWhite);
    EXPECT_EQ(outlined.calls[0].penColour, 0x0000FFu);
    EXPECT_EQ(outlined.calls[0].rect, (RECT{39, 21, 45, 27}));  // radius one smaller
    EXPECT_EQ(outlined.calls[2].brushColour, kLightGrey);
}

Disc DiscAt(int x, int y, int radius, int penWidth = 1, COLORREF brush = kWhite) {
    return {{x - radius, y - radius, x + radius, y + radius}, penWidth, kBlack, brush};
}

std::vector<RECT> DrawnBoxes(DiscLayer& layer) {
    RecordingSurface surface;
    layer.DrawOn(surface);
    std::vector<RECT> boxes;
    for (const DrawCall& call : surface.Calls(Kind::Ellipse)) {
        boxes.push_back(call.rect);
    }
    return boxes;
}

TEST(DiscLayer, LeavesOutDiscsOffTheImageAndCopiesDrawnAgainLater) {
    DiscLayer layer(100, 50);
    layer.Add(DiscAt(-6, 20, 5));     // ends a pixel short of the image
    layer.Add(DiscAt(-6, 20, 5, 4));  // its pen reaches in
    layer.Add(DiscAt(50, 55, 4, 1));  // below
    layer.Add(DiscAt(104, 20, 5));    // its rightmost pixel is column 99
    layer.Add(DiscAt(10, 10, 3));
    layer.Add(DiscAt(20, 10, 3));
    layer.Add(DiscAt(10, 10, 3));             // drawn again: the first copy goes
    layer.Add(DiscAt(20, 10, 3, 1, kBlack));  // the same place in another colour stays
    EXPECT_EQ(layer.KeptCount(), 5u);
    EXPECT_EQ(DrawnBoxes(layer), (std::vector<RECT>{{-11, 15, -1, 25},
                                                    {99, 15, 109, 25},
                                                    {17, 7, 23, 13},
                                                    {7, 7, 13, 13},
                                                    {17, 7, 23, 13}}));
    EXPECT_EQ(layer.KeptCount(), 0u);
}

TEST(DiscLayer, ADiscWhoseInsideCoversTheImageHidesEverythingBefore) {
    DiscLayer layer(100, 50);
    layer.Add(DiscAt(10, 10, 3));
    // Radius 56: the corners lie 55.9 from the centre, inside the edge but not a pixel inside.
    layer.Add(DiscAt(50, 25, 56));
    layer.Add(DiscAt(20, 10, 3));
    layer.Add(DiscAt(50, 25, 58));  // the corners are more than a pixel inside its brush
    layer.Add(DiscAt(30, 10, 3));
    EXPECT_EQ(DrawnBoxes(layer), (std::vector<RECT>{{-8, -33, 108, 83}, {27, 7, 33, 13}}));
    // A wide pen leaves less inside for the brush.
    DiscLayer wide(100, 50);
    wide.Add(DiscAt(10, 10, 3));
    wide.Add(DiscAt(50, 25, 58, 6));
    EXPECT_EQ(wide.KeptCount(), 2u);
}

TEST(DiscLayer, TransfersListedManyTimesAreDrawnOncePerPlaceAtTheirLastTurn) {
    auto model = TransferNetwork();
    const std::vector<Transfer> listed = model->transfers;
    for (int i = 0; i < 1000; ++i) {
        model->transfers.push_back(listed[static_cast<std::size_t>(i % 2)]);
    }
    model->transfers.push_back({300, 20, 40, 20, 3});  // one end off the image
    DiscLayer layer(kViewWidth, kViewHeight);
    AddTransferRims(*model, 1, layer);
    // In the order of their last turns: (42, 24), then (10, 20) and (12, 24), then (40, 20) of
    // the last transfer, whose other end is off the image.
    EXPECT_EQ(DrawnBoxes(layer), (std::vector<RECT>{{47 - 5, 31 - 5, 47 + 5, 31 + 5},
                                                    {15 - 5, 27 - 5, 15 + 5, 27 + 5},
                                                    {17 - 5, 31 - 5, 17 + 5, 31 + 5},
                                                    {45 - 5, 27 - 5, 45 + 5, 27 + 5}}));
    model->transfers.push_back({100, 150, 0, 0, 3});
    model->stationRadius = 1000;
    AddTransferCores(*model, 1, layer);
    EXPECT_EQ(layer.KeptCount(), 1u);  // the last end drawn covers the image
}

TEST(BuildSchemeImage, StaticRouteModePutsRouteAndMarkersIntoTheImage) {
    for (const bool blink : {false, true}) {
        auto model = TransferNetwork();
        model->routeColour = 0xFF00FF;
        model->departure = model->Stations()[0];
        model->destination = model->Stations()[2];
        model->route = {model->Stations()[0], model->Stations()[1], model->Stations()[2]};
        ToggleForbidden(*model->Stations()[1]);
        model->settings.routeBlink = blink;
        RecordingSurface window;
        BuildSchemeImage(*model, {}, window);
        const RecordingSurface& image = *window.images[0];
        const auto bitmaps = image.Calls(Kind::StretchBitmap);
        const auto route = std::count_if(
            image.calls.begin(), image.calls.end(),
            [](const DrawCall& c) { return c.kind == Kind::Polyline && c.penColour == 0xFF00FFu; });
        if (blink) {
            EXPECT_TRUE(bitmaps.empty());
            EXPECT_EQ(route, 0);
            continue;
        }
        EXPECT_EQ(route, 1);
        ASSERT_EQ(bitmaps.size(), 3u);
        EXPECT_EQ(bitmaps[0].bitmapId, IDB_DEPARTURE_MARKER);
        EXPECT_EQ(bitmaps[0].rect, (RECT{10, 22, 20, 32}));  // centred on (15, 27)
        EXPECT_EQ(bitmaps[1].bitmapId, IDB_DESTINATION_MARKER);
        EXPECT_EQ(bitmaps[2].bitmapId, IDB_FORBIDDEN_MARKER);
        EXPECT_EQ(bitmaps[2].rect, (RECT{40, 22, 50, 32}));  // (40, 20) less 5, plus the origin
    }
}

TEST(BuildSchemeImage, SavedZoomReplacesTheMapsZoomFactor) {
    auto model = TransferNetwork();
    model->zoomFactor = 4;
    model->settings.saveZoom = true;
    model->settings.savedZoom = 2;
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    EXPECT_TRUE(model->zoomed);
    EXPECT_EQ(model->zoomFactor, 2);
    EXPECT_EQ(window.images[0]->imageWidth, 480);
}

TEST(BuildSchemeImage, HugeZoomFactorIsDrawnAtTheLargestScale) {
    auto model = TransferNetwork();
    model->zoomFactor = 50;
    model->zoomed = true;
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    EXPECT_EQ(window.images[0]->imageWidth, 240 * kMaxScale);
}

}  // namespace
}  // namespace qv
