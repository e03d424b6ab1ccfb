#include "render/station_labels.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "recording_surface.h"
#include "render/scheme_renderer.h"
#include "render/scheme_view.h"

namespace qv {
namespace {

using testing::DrawCall;
using testing::NetworkBuilder;
using testing::RecordingSurface;
using Kind = DrawCall::Kind;

// Labels of the font height 8: the recording surface measures cell 11, average width 4.
std::unique_ptr<NetworkModel> LabelledNetwork() {
    auto model = NetworkBuilder()
                     .Line(1, {{u"A", 100, 100}, {u"B", 50, 50}, {u"C", 10, 10}, {u"D", 20, 20}})
                     .Build();
    const std::int32_t aligns[] = {1, 2, 3, 7};
    for (std::size_t i = 0; i < 4; ++i) {
        Station& point = *model->Stations()[i];
        point.labelText = u"Метка";
        point.labelX = 10;
        point.labelY = 10;
        point.labelAlign = aligns[i];
    }
    model->Lines()[0]->colour = 0x00AA00;
    model->labelFontHeight = -8;
    model->originX = 2;
    model->originY = 3;
    return model;
}

TEST(StationLabels, RectanglesAndFormatsByAlignmentAboveTheAnchor) {
    auto model = LabelledNetwork();
    model->labelHalo = 0;
    RecordingSurface surface;
    DrawStationLabels(*model, {}, surface);
    const auto texts = surface.Calls(Kind::DrawText);
    ASSERT_EQ(texts.size(), 3u);  // alignment 7 draws nothing
    // Anchor (2 + 10, 3 + 10), h = 11, w = 2 * 5 * 4 = 40; the anchor is absolute, not the station.
    EXPECT_EQ(texts[0].rect, (RECT{12, 2, 52, 13}));
    EXPECT_EQ(texts[0].format, DT_LEFT);
    EXPECT_EQ(texts[1].rect, (RECT{-28, 2, 12, 13}));
    EXPECT_EQ(texts[1].format, DT_RIGHT);
    EXPECT_EQ(texts[2].rect, (RECT{12, 2, 52, 13}));
    EXPECT_EQ(texts[2].format, DT_CENTER);
    for (const DrawCall& text : texts) {
        EXPECT_EQ(text.textColour, 0x00AA00u);  // 0xFFFFFF: the line's own colour
        EXPECT_EQ(text.backgroundMode, TRANSPARENT);
        EXPECT_EQ(text.fontHeight, -8);
    }
    EXPECT_EQ(surface.openSelections, 0);
}

TEST(StationLabels, OnlyLabelsThatCanTouchTheImageAreDrawnHaloIncluded) {
    for (const int scale : {1, 2}) {
        auto model = NetworkBuilder()
                         .Line(1, {{u"A", 10, 10}, {u"B", 20, 20}, {u"C", 30, 30}, {u"D", 40, 40}})
                         .Build();
        model->labelFontHeight = -8;  // cell 11, width 2 * 5 * 4 = 40
        model->zoomFactor = scale;
        model->zoomed = scale > 1;
        const int width = kViewWidth * scale;
        // In map units: right-aligned ending at column 0 and a unit before it; left-aligned
        // starting at the image's right edge and a unit past it.
        const std::pair<std::int32_t, std::int32_t> anchors[] = {
            {0, 2}, {-1, 2}, {kViewWidth, 1}, {kViewWidth + 1, 1}};
        for (std::size_t i = 0; i < 4; ++i) {
            Station& point = *model->Stations()[i];
            point.labelText = u"Метка";
            point.labelX = anchors[i].first;
            point.labelY = 30;
            point.labelAlign = anchors[i].second;
        }
        RecordingSurface surface;
        DrawStationLabels(*model, {}, surface);
        const auto texts = surface.Calls(Kind::DrawText);
        ASSERT_EQ(texts.size(), 18u) << scale;  // two labels, each with its halo
        EXPECT_EQ(texts[8].rect, (RECT{-40, 30 * scale - 11, 0, 30 * scale})) << scale;
        EXPECT_EQ(texts[17].rect.left, width) << scale;
    }
}

TEST(StationLabels, HaloIsEightWhiteCopiesInOrderThenTheLabel) {
    auto model = LabelledNetwork();
    model->labelColour = 0x0000FF;
    model->settings.cyrillicFont = true;
    RecordingSurface surface;
    DrawStationLabels(*model, {}, surface);
    const auto texts = surface.Calls(Kind::DrawText);
    ASSERT_EQ(texts.size(), 27u);
    const POINT offsets[] = {{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(texts[i].rect.left, 12 + offsets[i].x) << i;
        EXPECT_EQ(texts[i].rect.top, 2 + offsets[i].y) << i;
        EXPECT_EQ(texts[i].textColour, kWhite);
    }
    EXPECT_EQ(texts[8].rect, (RECT{12, 2, 52, 13}));
    EXPECT_EQ(texts[8].textColour, 0x0000FFu);  // one colour for every label
    EXPECT_EQ(texts[8].fontCharSet, RUSSIAN_CHARSET);
}

TEST(StationLabels, NotBelowTheMapsLabelScale) {
    auto model = LabelledNetwork();
    model->labelMinZoom = 2;
    RecordingSurface surface;
    DrawStationLabels(*model, {}, surface);
    EXPECT_TRUE(surface.calls.empty());
    model->zoomFactor = 2;
    model->zoomed = true;
    DrawStationLabels(*model, {}, surface);
    EXPECT_FALSE(surface.calls.empty());
}

TEST(StationLabels, ImageHasThemOnlyWhenNamesAreShown) {
    auto model = LabelledNetwork();
    RecordingSurface window;
    BuildSchemeImage(*model, {}, window);
    EXPECT_TRUE(window.images.back()->Calls(Kind::DrawText).empty());
    model->settings.showStationNames = true;
    DiscardSchemeImage(*model);
    BuildSchemeImage(*model, {}, window);
    EXPECT_EQ(window.images.back()->Calls(Kind::DrawText).size(), 27u);
}

// Callouts: the surface's own font (height 11: cell 14, average 5) measures the name.
std::unique_ptr<NetworkModel> CalloutNetwork() {
    auto model = NetworkBuilder()
                     .Line(1, {{u"Юг", 50, 60},
                               {u"Север", 200, 300},
                               {u"Край", 120, 160},
                               {u"p", 1, 1, 1, kShapePointKind}})
                     // The line's other record from the fork at Край.
                     .Line(1, {{u"Край", 121, 161}, {u"Дальний", 130, 10}})
                     .Build();
    model->stationRadius = 4;
    model->outlineWidth = 1;
    model->lineWidth = 3;
    model->Lines()[0]->colour = 0x0000FF;
    return model;
}

DrawCall CalloutText(NetworkModel& model, int station) {
    RecordingSurface surface;
    DrawStationCallout(model, {}, surface, *model.Stations()[static_cast<std::size_t>(station)]);
    EXPECT_EQ(surface.openSelections, 0);
    const auto texts = surface.Calls(Kind::DrawText);
    EXPECT_EQ(texts.size(), 1u);
    return texts.empty() ? DrawCall{Kind::DrawText} : texts[0];
}

TEST(StationCallout, NameExtendsTowardTheMiddleOfTheScreen) {
    auto model = CalloutNetwork();
    // (50, 60): below and to the right; gap 5, h 14, w 2 * 2 * 5.
    DrawCall text = CalloutText(*model, 0);
    EXPECT_EQ(text.rect, (RECT{55, 65, 75, 79}));
    EXPECT_EQ(text.format, DT_SINGLELINE);
    EXPECT_EQ(text.textColour, kBlack);
    EXPECT_EQ(text.backgroundColour, kCalloutBackground);
    EXPECT_EQ(text.fontHeight, -10);
    // (200, 300): above and to the left.
    text = CalloutText(*model, 1);
    EXPECT_EQ(text.rect, (RECT{195 - 50, 295 - 14, 195, 295}));
    EXPECT_EQ(text.format, DT_SINGLELINE | DT_RIGHT);
    // Exactly on x = 120 and y = 160: to the left and below.
    text = CalloutText(*model, 2);
    EXPECT_EQ(text.format, DT_SINGLELINE | DT_RIGHT);
    EXPECT_EQ(text.rect.top, 165);
}

TEST(StationCallout, RingAndDiscKeepTheirSizesAtScaleTwo) {
    auto model = CalloutNetwork();
    model->zoomFactor = 2;
    model->zoomed = true;
    model->viewX = -10;
    RecordingSurface surface;
    DrawStationCallout(*model, {}, surface, *model->Stations()[0]);
    const auto circles = surface.Calls(Kind::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    // Centre (2 * 50 - 10, 2 * 60); the ring scales, the coloured disc does not.
    EXPECT_EQ(circles[0].rect, (RECT{90 - 10, 120 - 10, 90 + 10, 120 + 10}));
    EXPECT_EQ(circles[0].penWidth, 4);
    EXPECT_EQ(circles[0].penColour, kBlack);
    EXPECT_EQ(circles[1].rect, (RECT{85, 115, 95, 125}));
    EXPECT_EQ(circles[1].brushColour, 0x0000FFu);
    EXPECT_EQ(circles[1].penWidth, 1);
}

TEST(RouteStationCallout, CounterWalksTheStationsAndResetsPastTheEnd) {
    auto model = CalloutNetwork();
    const auto points = model->Stations();
    // Край is met twice where the line forks: one stop, one callout.
    model->route = {points[0], points[3], points[1], points[2], points[4], points[5]};
    const std::u16string expected[] = {u"Юг", u"Север", u"Край", u"Дальний"};
    for (int counter = 1; counter <= 4; ++counter) {
        RecordingSurface surface;
        int value = counter;
        DrawRouteStationCallout(*model, {}, surface, value);
        const auto texts = surface.Calls(Kind::DrawText);
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, expected[counter - 1]);
        EXPECT_EQ(value, counter);
    }
    for (const int outOfRange : {5, 0, -2}) {
        RecordingSurface surface;
        int value = outOfRange;
        DrawRouteStationCallout(*model, {}, surface, value);
        EXPECT_TRUE(surface.calls.empty());
        EXPECT_EQ(value, 0);
    }
}

}  // namespace
}  // namespace qv
