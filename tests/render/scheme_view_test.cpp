#include "render/scheme_view.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "recording_surface.h"
#include "render/scheme_painter.h"
#include "render/scheme_renderer.h"

namespace qv {
namespace {

using namespace testing;

std::unique_ptr<NetworkModel> HitNetwork() {
    auto model =
        NetworkBuilder()
            .Line(1, {{u"P", 100, 50, 1, kShapePointKind}, {u"A", 100, 50}, {u"B", 103, 51}})
            .Line(2, {{u"C", 101, 52}, {u"D", 10, 10}})
            .Build();
    for (const auto& line : model->Lines()) {
        line->stationRadius = 4;
        line->outlineWidth = 2;  // catch area: 2 map units each way
    }
    return model;
}

TEST(HitTest, SquareCatchAreaFirstLineAndPointWinShapePointsNeverZoomedThroughTheView) {
    auto model = HitNetwork();
    EXPECT_EQ(HitTest(*model, 101, 52), model->Stations()[1]);  // A, not the shape point before it
    EXPECT_EQ(HitTest(*model, 105, 53), model->Stations()[2]);  // A is 5 away: B
    EXPECT_EQ(HitTest(*model, 98, 48), model->Stations()[1]);   // corner of the square
    EXPECT_EQ(HitTest(*model, 97, 50), nullptr);
    EXPECT_EQ(HitTest(*model, 10, 12), model->Stations()[4]);

    model->zoomed = true;
    model->zoomFactor = 3;
    model->originX = 31;
    model->originY = 20;
    model->viewX = -200;
    model->viewY = -100;
    // A is drawn at window (131, 70); a tap maps back to ((x + 169) / 3, (y + 80) / 3).
    EXPECT_EQ(HitTest(*model, 125, 70), model->Stations()[1]);  // map x 98, A's square edge
    EXPECT_EQ(HitTest(*model, 124, 70), nullptr);
    EXPECT_EQ(HitTest(*model, 139, 70), model->Stations()[1]);  // map x 102
    EXPECT_EQ(HitTest(*model, 140, 70), model->Stations()[2]);  // map x 103: past A, on B
}

TEST(ToggleZoom, AlternatesPansWithoutLimitAndComesBackToAnUnpannedView) {
    auto model = HitNetwork();
    model->zoomed = true;
    for (const int factor : {1, 0, -3}) {
        model->zoomFactor = factor;
        EXPECT_EQ(CurrentScale(*model), 1);
        EXPECT_EQ(HitTest(*model, 101, 52), model->Stations()[1]);  // view 0: no division by zero
        EXPECT_FALSE(ToggleZoom(*model));
    }
    model->zoomed = false;
    model->zoomFactor = 2;
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    ASSERT_TRUE(ToggleZoom(*model));
    EXPECT_EQ(model->memoryDc, nullptr);
    PanView(*model, 15, -7);
    PanView(*model, 1000, 0);  // no limit
    // From (-120, -160): neither end set, the middle of the image.
    EXPECT_EQ(std::pair(model->viewX, model->viewY), std::pair(-120 + 1015, -160 - 7));
    ASSERT_TRUE(ToggleZoom(*model));
    BuildSchemeImage(*model, {}, window);
    EXPECT_EQ(std::pair(model->viewX, model->viewY), std::pair(0, 0));
    PanView(*model, 15, -7);  // only a zoomed view moves
    EXPECT_EQ(model->viewX, 0);
}

// Where a station lands in the window of a view placed at scale s (map offsets 0).
POINT Landing(const NetworkModel& model, const Station& station, int s) {
    return {s * station.x + model.viewX, s * station.y + model.viewY};
}

TEST(CentreView, AtEveryScaleTheStationLandsWhereScaleTwoPutsIt) {
    struct Case {
        POINT departure, destination, landing;
    };
    const Case cases[] = {
        // 40 pixels inside the bars (26 high at the top and at the bottom), 20 from the sides
        {{100, 100}, {50, 200}, {220, 66}},  // destination to the lower left
        {{50, 200}, {100, 100}, {20, 254}},  // to the upper right
        {{70, 30}, {70, 90}, {20, 66}},      // same x: as if it lay to the right
        {{70, 30}, {10, 30}, {220, 66}},     // same y: as if it lay below
        {{70, 30}, {70, 30}, {20, 66}},
    };
    for (const int s : {2, 3, 4}) {
        for (const Case& c : cases) {
            auto model = NetworkBuilder()
                             .Line(1, {{u"D", c.departure.x, c.departure.y},
                                       {u"T", c.destination.x, c.destination.y}})
                             .Build();
            Station& d = *model->Stations()[0];
            model->departure = &d;
            model->destination = model->Stations()[1];
            CentreView(*model, s);
            EXPECT_EQ(Landing(*model, d, s), c.landing) << "scale " << s << " from " << d.x;
            // One end alone lands at the window's centre.
            model->departure = nullptr;
            model->destination = &d;
            CentreView(*model, s);
            EXPECT_EQ(Landing(*model, d, s), (POINT{120, 160})) << "scale " << s;
        }
    }
    auto model = NetworkBuilder().Line(1, {{u"A", 120, 160}, {u"B", 0, 0}}).Build();
    CentreView(*model, 0);  // an unusable scale is scale 1: the whole image
    EXPECT_EQ(std::pair(model->viewX, model->viewY), std::pair(0, 0));
}

// Route A (100, 50), P, B, D of the hit network, from A to D, with C forbidden.
void SetRoute(NetworkModel& model) {
    const auto& points = model.Stations();
    model.route = {points[1], points[0], points[2], points[4]};
    model.departure = points[1];
    model.destination = points[4];
    model.routeColour = 0xFF00FF;
    ToggleForbidden(*points[3]);
}

long RouteLines(const RecordingSurface& surface) {
    return std::count_if(surface.calls.begin(), surface.calls.end(), [](const DrawCall& c) {
        return c.kind == Kind::Polyline && c.penColour == 0xFF00FFu;
    });
}

TEST(PaintScheme, AZoomedViewPansOverTheKeptImageWithItsMarkersAndGreyMarginsBeyondIt) {
    auto model = HitNetwork();
    SetRoute(*model);
    model->settings.routeBlink = false;
    model->zoomFactor = 2;
    model->zoomed = true;
    model->originX = 5;
    model->viewX = -100;
    model->viewY = -60;
    RecordingSurface first;
    int counter = 0;
    PaintScheme(*model, {}, first, true, counter);
    ASSERT_EQ(first.images.size(), 1u);
    const auto markers = first.images[0]->Calls(Kind::StretchBitmap);
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(RouteLines(*first.images[0]), 1);
    for (const POINT pan : {POINT{0, 0}, POINT{37, -90}}) {
        PanView(*model, pan.x, pan.y);
        RecordingSurface window;
        PaintScheme(*model, {}, window, true, counter);
        EXPECT_TRUE(window.images.empty());
        EXPECT_TRUE(window.Calls(Kind::StretchBitmap).empty());
        EXPECT_EQ(RouteLines(window), 0);
        const RECT copy = window.Calls(Kind::CopyImage).at(0).rect;
        // The departure marker, copied with the image, is centred on A's window position.
        const RECT marker = markers[0].rect;
        EXPECT_EQ(copy.left + (marker.left + marker.right) / 2, 2 * 100 + 5 + model->viewX);
        EXPECT_EQ(copy.top + (marker.top + marker.bottom) / 2, 2 * 50 + model->viewY);
    }
    struct Case {
        POINT view;
        RECT copy;
        std::vector<RECT> margins;
    };
    const Case cases[] = {
        {{20, 30}, {20, 30, 500, 670}, {{0, 0, 20, 640}, {0, 0, 480, 30}}},
        {{-260, -330}, {-260, -330, 220, 310}, {{220, 0, 480, 640}, {0, 310, 480, 640}}},
        {{-240, -320}, {-240, -320, 240, 320}, {}}};
    for (const Case& c : cases) {
        model->viewX = c.view.x;
        model->viewY = c.view.y;
        RecordingSurface window;
        PaintScheme(*model, {}, window, false, counter);
        EXPECT_EQ(window.Calls(Kind::CopyImage).at(0).rect, c.copy);
        const auto rectangles = window.Calls(Kind::Rectangle);
        ASSERT_EQ(rectangles.size(), c.margins.size());
        for (std::size_t i = 0; i < rectangles.size(); ++i) {
            EXPECT_EQ(rectangles[i].rect, c.margins[i]);
            EXPECT_EQ(std::pair(rectangles[i].penColour, rectangles[i].brushColour),
                      std::pair(0x808080u, 0x808080u));
        }
    }
}

TEST(PaintScheme, RouteLineOffHidesRouteAndMarkersWhileTheCalloutsCycle) {
    auto model = HitNetwork();
    SetRoute(*model);
    model->settings.routeShowLine = false;
    model->settings.routeShowStations = true;
    RecordingSurface builder;
    BuildSchemeImage(*model, {}, builder);
    EXPECT_EQ(RouteLines(*builder.images[0]), 0);
    EXPECT_TRUE(builder.images[0]->Calls(Kind::StretchBitmap).empty());
    int counter = 1;
    // The route's stations in travel order, its shape point not counted, then none.
    for (const std::u16string expected : {u"A", u"B", u"D", u""}) {
        RecordingSurface window;
        PaintScheme(*model, {}, window, true, counter);
        EXPECT_EQ(RouteLines(window), 0);
        EXPECT_TRUE(window.Calls(Kind::StretchBitmap).empty());
        const auto texts = window.Calls(Kind::DrawText);
        EXPECT_EQ(texts.empty() ? u"" : texts.back().text, expected);
        ++counter;
    }
    EXPECT_EQ(counter, 1);  // reset to 0 past the last station, then stepped
    model->route = {model->destination = model->departure};  // one station: the ends still show
    RecordingSurface one;
    PaintScheme(*model, {}, one, true, counter);
    EXPECT_EQ(one.Calls(Kind::StretchBitmap).size(), 3u);
}

}  // namespace
}  // namespace qv
