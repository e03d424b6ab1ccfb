#include "render/gdi_surface.h"

#include <gtest/gtest.h>

#include "network_builder.h"
#include "platform/host/device_screen.h"
#include "render/scheme_renderer.h"
#include "resources/program_resources.h"

namespace qv {
namespace {

int ImageDeviceScale(int screenScale, int zoom) {
    auto model = testing::NetworkBuilder().Line(1, {{u"A", 10, 10}, {u"B", 20, 10}}).Build();
    model->zoomFactor = zoom;
    model->zoomed = true;
    DeviceScreen screen(screenScale);
    GdiSurface surface(screen.Dc(), ProgramModule());
    BuildSchemeImage(*model, LOGFONTW{}, surface);
    const auto* image = dynamic_cast<const GdiSchemeImage*>(model->memoryDc.get());
    return image ? image->Dc()->Scale() : 0;
}

TEST(GdiSurface, ZoomedImagesKeepTheirMemoryBounded) {
    EXPECT_EQ(ImageDeviceScale(1, 8), 1);
    EXPECT_EQ(ImageDeviceScale(2, 2), 2);
    EXPECT_EQ(ImageDeviceScale(3, 2), 3);
    EXPECT_EQ(ImageDeviceScale(3, 4), 2);  // 240 x 4 x 2 = 1,920 device pixels wide
    EXPECT_EQ(ImageDeviceScale(2, 8), 1);
}

TEST(GdiSurface, ReleasesWhatItSelectedForAStep) {
    DeviceScreen screen(1);
    const HPEN originalPen = screen.Dc()->pen;
    {
        GdiSurface surface(screen.Dc(), ProgramModule());
        surface.SelectPen(3, 0x0000FF);
        surface.SelectBrush(0x00FF00);
        EXPECT_NE(screen.Dc()->pen, originalPen);
        surface.RestorePen();
        EXPECT_EQ(screen.Dc()->pen, originalPen);
        // The brush is still selected when the surface ends: it is put back then.
    }
    EXPECT_EQ(screen.Dc()->brush, GetStockObject(WHITE_BRUSH));
}

}  // namespace
}  // namespace qv
