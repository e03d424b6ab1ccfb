#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gdi/gdi_objects.h"

namespace qv::testing {

// The pixels of a PNG, 0x00RRGGBB, row after row; empty when it cannot be read.
inline std::vector<std::uint32_t> PngPixels(const std::string& path) {
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    std::vector<std::uint32_t> pixels;
    if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(png);
        const int stride = cairo_image_surface_get_stride(png) / 4;
        const auto* data =
            reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png));
        for (int y = 0; y < cairo_image_surface_get_height(png); ++y) {
            for (int x = 0; x < cairo_image_surface_get_width(png); ++x) {
                pixels.push_back(data[y * stride + x] & 0xFFFFFF);
            }
        }
    }
    cairo_surface_destroy(png);
    return pixels;
}

// Pixels farther than `slack` in a channel from their counterparts; all when the counts differ.
inline std::size_t DifferingPixels(const std::vector<std::uint32_t>& a,
                                   const std::vector<std::uint32_t>& b, int slack) {
    if (a.size() != b.size() || a.empty()) {
        return std::max<std::size_t>({a.size(), b.size(), 1});
    }
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                         static_cast<int>((b[i] >> shift) & 0xFF)) > slack) {
                ++differing;
                break;
            }
        }
    }
    return differing;
}

// Share of pixels differing by more than `slack` in a channel from the PNG's.
inline double DifferingShare(const Bitmap& drawn, const std::string& path, int slack = 32) {
    drawn.Flush();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < drawn.DeviceHeight(); ++y) {
        for (int x = 0; x < drawn.DeviceWidth(); ++x) {
            pixels.push_back(drawn.Row(y)[x] & 0xFFFFFF);
        }
    }
    return std::min(1.0, static_cast<double>(DifferingPixels(pixels, PngPixels(path), slack)) /
                             static_cast<double>(std::max<std::size_t>(pixels.size(), 1)));
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
