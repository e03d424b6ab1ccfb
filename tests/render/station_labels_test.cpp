#include "render/station_labels.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "recording_surface.h"
#include "render/scheme_renderer.h"
#include "render/scheme_view.h"

namespace qv {
namespace {

using namespace testing;

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

TEST(StationLabels, RectanglesAndFormatsByAlignmentAboveTheAnchorEachAfterItsHalo) {
    auto model = LabelledNetwork();
    model->labelColour = 0x0000FF;
    model->settings.cyrillicFont = true;
    RecordingSurface surface;
    DrawStationLabels(*model, {}, surface);
    const auto texts = surface.Calls(Kind::DrawText);
    ASSERT_EQ(texts.size(), 27u);  // alignment 7 draws nothing
    // Anchor (2 + 10, 3 + 10), h = 11, w = 2 * 5 * 4 = 40; the anchor is absolute, not the station.
    const RECT rects[] = {{12, 2, 52, 13}, {-28, 2, 12, 13}, {12, 2, 52, 13}};
    const UINT formats[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    for (std::size_t label = 0; label < 3; ++label) {
        const DrawCall& text = texts[label * 9 + 8];
        EXPECT_EQ(text.rect, rects[label]);
        EXPECT_EQ(text.format, formats[label]);
        EXPECT_EQ(text.textColour, 0x0000FFu);  // one colour for every label
        EXPECT_EQ(text.backgroundMode, TRANSPARENT);
        EXPECT_EQ(text.fontCharSet, RUSSIAN_CHARSET);
    }
    EXPECT_EQ(texts[0].rect, (RECT{13, 2, 53, 13}));  // the first of the halo's 8 copies
    EXPECT_EQ(texts[0].textColour, kWhite);
    surface.DrawText(u"after", {}, 0);  // the labels leave the surface's text opaque again
    EXPECT_EQ(surface.calls.back().backgroundMode, OPAQUE);
    const auto drawn = [&](const RECT& area) {
        RecordingSurface labels;
        DrawLineLabels(*model->Lines()[0], labels, area, 2, 3, 1, 0, 1);
        return labels.Calls(Kind::DrawText).size();
    };
    EXPECT_EQ(drawn({12, -99, 240, 320}), 27u);  // no font: h 14, w 50; box 2 ends at x 12
    EXPECT_EQ(drawn({0, 14, 240, 320}), 0u);     // every box ends at y 13: no halo inside
    // 0xFFFFFF: each label in its line's own colour.
    model->labelColour = 0xFFFFFF;
    model->labelHalo = 0;
    RecordingSurface plain;
    DrawStationLabels(*model, {}, plain);
    ASSERT_EQ(plain.calls.size(), 3u);
    EXPECT_EQ(plain.calls[0].textColour, 0x00AA00u);
    EXPECT_EQ(surface.openSelections + plain.openSelections, 0);
}

TEST(StationLabels, ImageHasThemOnlyWhenNamesAreShownAndNotBelowTheMapsLabelScale) {
    auto model = LabelledNetwork();
    model->labelMinZoom = 2;
    RecordingSurface window;
    for (const bool shown : {false, true}) {
        model->settings.showStationNames = shown;
        for (const int scale : {1, 2}) {
            model->zoomFactor = scale;
            model->zoomed = scale > 1;
            DiscardSchemeImage(*model);
            BuildSchemeImage(*model, {}, window);
            EXPECT_EQ(window.images.back()->Calls(Kind::DrawText).size(),
                      shown && scale == 2 ? 27u : 0u);
        }
    }
}

}  // namespace
}  // namespace qv
