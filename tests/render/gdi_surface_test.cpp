#include "render/gdi_surface.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "platform/host/device_screen.h"
#include "platform/surface_fixture.h"
#include "render/scheme_renderer.h"
#include "resources/program_resources.h"

namespace qv {
namespace {

int ImageDeviceScale(int screenScale, int width, int height) {
    DeviceScreen screen(screenScale);
    const auto image = GdiSurface(screen.Dc(), ProgramModule()).CreateImage(width, height);
    return dynamic_cast<const GdiSchemeImage&>(*image).Dc()->Scale();
}

TEST(GdiSurface, ZoomedImagesKeepTheirMemoryBounded) {
    // At most 1,920 x 2,560 device pixels, whichever side is the tighter.
    EXPECT_EQ(ImageDeviceScale(1, 240 * 8, 320 * 8), 1);
    EXPECT_EQ(ImageDeviceScale(3, 240 * 2, 320 * 2), 3);
    EXPECT_EQ(ImageDeviceScale(3, 240 * 4, 320 * 4), 2);
    EXPECT_EQ(ImageDeviceScale(3, 240, 320 * 4), 2);
}

TEST(DrawLine, DashesAndGapsAreThreeScaledPixelsAtEveryLineWidth) {
    // Dashed from (10, 10) to the station at (40, 10), solid down to (40, 40), dashed to (40, 70).
    auto model = testing::NetworkBuilder()
                     .Line(1, {{u"b", 10, 10, 1, kMarkedPointKind},
                               {u"s", 40, 10},
                               {u"t", 40, 40},
                               {u"c", 40, 70, 1, kMarkedPointKind}})
                     .Build();
    Line& line = *model->Lines()[0];
    line.colour = 0x0000FF;
    for (const int s : {1, 2}) {
        for (int width = 1; width <= 5; ++width) {
            line.lineWidth = width;
            testing::Surface pixels(90, 150);
            GdiSurface surface(pixels.Dc(), ProgramModule());
            DrawLine(line, surface, 0, 0, s);
            const auto red = [&](int x, int y) { return pixels.At(x, y) == line.colour; };
            const std::string where = "s " + std::to_string(s) + " width " + std::to_string(width);
            // Five dashes each way, the last one 3 * s short of the solid part's end.
            EXPECT_FALSE(red(10 * s - 1, 10 * s)) << where;
            for (int d = 0; d <= 27 * s; ++d) {
                const bool dash = d < 27 * s && d % (6 * s) < 3 * s;
                ASSERT_EQ(red(10 * s + d, 10 * s), dash) << where << " across at " << d;
                ASSERT_EQ(red(40 * s, 40 * s + d), dash) << where << " down at " << d;
            }
            surface.Rectangle(0, 0, 2, 2);  // in the pen selected before the line's
            EXPECT_EQ(pixels.At(0, 0), RGB(0, 0, 0)) << where;
        }
    }
}

}  // namespace
}  // namespace qv
