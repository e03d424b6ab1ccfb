#include "render/scheme_renderer.h"

#include <gtest/gtest.h>

#include <array>

#include "network_builder.h"
#include "recording_surface.h"
#include "render/scheme_view.h"

namespace qv {
namespace {

using namespace testing;

Station At(int x, int y, std::int16_t kind = kStationKind) {
    return Station{.kind = kind, .x = x, .y = y};
}

TEST(DashedSegment, DashesOfThreeScaledPixelsFromTheStartWithComponentsTruncated) {
    struct Case {
        Station from, to;
        int x0, y0, s;
        std::size_t count, index;  // dashes, and the one checked
        std::vector<POINT> dash;
    };
    const Case cases[] = {
        {At(10, 5), At(12, 5), 0, 0, 1, 1, 0, {{10, 5}, {13, 5}}},  // one, overshooting
        {At(0, 0), At(10, 10), 0, 0, 1, 2, 0, {{0, 0}, {2, 2}}},    // 3 cos 45 = 2.12
        {At(0, 0), At(10, 10), 0, 0, 1, 2, 1, {{4, 4}, {6, 6}}},
        {At(0, 0), At(0, -20), 5, 5, 2, 3, 1, {{5, 5 - 12}, {5, 5 - 18}}},
        // Of a level segment of 33,333 dashes, those within 4,096 pixels of the image across it.
        {At(-100000, 100), At(100000, 100), 0, 0, 1, 1406, 683, {{2, 100}, {5, 100}}},
    };
    for (const Case& c : cases) {
        RecordingSurface surface;
        DrawDashedSegment(c.from, c.to, surface, c.x0, c.y0, c.s);
        const auto dashes = surface.Calls(Kind::Polyline);
        ASSERT_EQ(dashes.size(), c.count) << c.to.x << "," << c.to.y;
        EXPECT_EQ(dashes[c.index].points, c.dash) << c.to.x << "," << c.to.y;
    }
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
    // The sanitizer fails on any overflow; an endless dashed segment would hang.
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    EXPECT_FALSE(window.images.empty());
    HitTest(*model, kHuge, -kHuge);
    PanView(*model, kHuge, kHuge);
    PanView(*model, kHuge, kHuge);
    CentreView(*model, 8);
}

TEST(DrawLine, SolidFromTheFirstToTheLastStationOrShapePointDashedBeyondAndRingsClose) {
    auto model = NetworkBuilder()
                     .Line(1, {{u"b0", 0, 0, 1, kMarkedPointKind},
                               {u"b1", 30, 0, 1, kMarkedPointKind},
                               {u"s2", 60, 0},
                               {u"s3", 90, 0},
                               {u"p4", 120, 0, 1, kShapePointKind},
                               {u"f5", 150, 0, 1, kForbiddenKind}})
                     .Line(2, {{u"a", 0, 0, 1, kMarkedPointKind}, {u"b", 10, 0, 1, kForbiddenKind}})
                     .Line(3, {{u"a", 0, 0}, {u"b", 10, 0}, {u"c", 5, 9}}, 0, true)
                     .Line(4, {{u"only", 0, 0}})
                     .Build();
    const std::vector<POINT> solid[] = {{{60, 10}, {90, 10}, {120, 10}},
                                        {{0, 10}, {10, 10}},
                                        {{0, 10}, {20, 10}, {10, 28}, {0, 10}},
                                        {}};
    const std::size_t polylines[] = {1 + 5 + 5 + 5, 1, 1, 0};  // two leading, one trailing run
    for (std::size_t i = 0; i < 4; ++i) {
        RecordingSurface surface;
        DrawLine(*model->Lines()[i], surface, 0, 10, i == 2 ? 2 : 1);
        const auto lines = surface.Calls(Kind::Polyline);
        ASSERT_EQ(lines.size(), polylines[i]) << i;
        if (!lines.empty()) {
            EXPECT_EQ(lines[0].points, solid[i]) << i;
        }
        EXPECT_EQ(surface.openSelections, 0);
    }
    // The dashes take the line's width and colour; an end station made forbidden is dashed.
    Line& line = *model->Lines()[0];
    line.lineWidth = 3;
    line.colour = 0x123456;
    ToggleForbidden(*model->Stations()[2]);
    RecordingSurface forbidden;
    DrawLine(line, forbidden, 0, 0, 1);
    const auto lines = forbidden.Calls(Kind::Polyline);
    EXPECT_EQ(lines[0].points, (std::vector<POINT>{{90, 0}, {120, 0}}));
    EXPECT_EQ(std::pair(lines.back().penWidth, lines.back().penColour), std::pair(3, 0x123456u));
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
    for (const auto& line : model->Lines()) {
        line->stationRadius = 4;
        line->outlineWidth = 1;
        line->colour = 0x0000FF;
    }
    return model;
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

TEST(DiscLayer, LeavesOutDiscsOffTheImageCopiesDrawnAgainLaterAndWhatACoveringDiscHides) {
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

    // A disc whose inside covers the image hides everything before it; at radius 56 the corners
    // lie 55.9 from the centre, not a pixel inside.
    layer.Add(DiscAt(10, 10, 3));
    layer.Add(DiscAt(50, 25, 56));
    layer.Add(DiscAt(20, 10, 3));
    layer.Add(DiscAt(50, 25, 58));  // the corners are more than a pixel inside its brush
    layer.Add(DiscAt(30, 10, 3));
    EXPECT_EQ(DrawnBoxes(layer), (std::vector<RECT>{{-8, -33, 108, 83}, {27, 7, 33, 13}}));
    // A wide pen leaves less inside for the brush.
    layer.Add(DiscAt(10, 10, 3));
    layer.Add(DiscAt(50, 25, 59, 6));  // 3 of the pen, 1 more: 55 < 55.9
    EXPECT_EQ(layer.KeptCount(), 2u);
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

TEST(BuildSchemeImage, SavedZoomReplacesTheMapsZoomFactorAndHugeOnesAreHeld) {
    // The map's zoom factor, a saved one (0: none) and the image width they give.
    const std::array<int, 3> cases[] = {{4, 2, 480}, {50, 0, 240 * kMaxScale}, {4, 1, 240}};
    for (const auto& [factor, saved, width] : cases) {
        auto model = TransferNetwork();
        model->zoomFactor = factor;
        model->zoomed = saved == 0;
        model->settings.saveZoom = saved != 0;
        model->settings.savedZoom = saved;
        RecordingSurface window;
        BuildSchemeImage(*model, {}, window);
        EXPECT_TRUE(model->zoomed || saved == 1) << factor << " " << saved;
        EXPECT_EQ(window.images[0]->imageWidth, width) << factor << " " << saved;
    }
}

}  // namespace
}  // namespace qv
