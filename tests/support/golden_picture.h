#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/gdi/gdi_objects.h"

namespace qv::testing {

// Share of pixels differing by more than `slack` in a channel; 1 when the PNG is unreadable or
// sized apart.
inline double DifferingShare(const Bitmap& drawn, const std::string& path, int slack = 32) {
    cairo_surface_t* golden = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(golden) != CAIRO_STATUS_SUCCESS ||
        cairo_image_surface_get_width(golden) != drawn.DeviceWidth() ||
        cairo_image_surface_get_height(golden) != drawn.DeviceHeight()) {
        cairo_surface_destroy(golden);
        return 1;
    }
    const auto* pixels =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(golden));
    const int stride = cairo_image_surface_get_stride(golden) / 4;
    drawn.Flush();
    long differing = 0;
    for (int y = 0; y < drawn.DeviceHeight(); ++y) {
        for (int x = 0; x < drawn.DeviceWidth(); ++x) {
            const std::uint32_t a = drawn.Row(y)[x];
            const std::uint32_t b = pixels[y * stride + x];
            for (int shift = 0; shift < 24; shift += 8) {
                if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                             static_cast<int>((b >> shift) & 0xFF)) > slack) {
                    ++differing;
                    break;
                }
            }
        }
    }
    cairo_surface_destroy(golden);
    return static_cast<double>(differing) / (drawn.DeviceWidth() * drawn.DeviceHeight());
}

// At most that share of pixels may differ by more than `slack` in a channel. With QV_UPDATE_GOLDEN
// set, writes the picture instead: look at it before committing.
inline void ExpectGoldenPicture(const Bitmap& drawn, const std::string& path,
                                double tolerated = 0.002, int slack = 32) {
    if (std::getenv("QV_UPDATE_GOLDEN")) {
        ASSERT_TRUE(drawn.WritePng(path.c_str())) << path;
        return;
    }
    EXPECT_LE(DifferingShare(drawn, path, slack), tolerated) << path;
}

}  // namespace qv::testing
