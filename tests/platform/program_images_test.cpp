#include "resources/program_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/gdi/resource_module.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"

namespace qv {
namespace {

constexpr std::string_view kPaletteLetters = "KRGYBMCsSrgybmcW";

// The colour of pixel (x, y) of image `index` of the loaded strip.
COLORREF ImagePixel(const Bitmap& strip, int index, int x, int y) {
    return strip.GetPixel(index * kToolbarImageSize + x, y);
}

UniqueBitmap LoadStrip() {
    return UniqueBitmap(LoadBitmapW(ProgramModule(), IDB_TOOLBAR));
}

TEST(ToolbarStrip, IsNineSquaresInTheSixteenColours) {
    const PixelArt* art = ProgramModule()->FindBitmap(IDB_TOOLBAR);
    ASSERT_TRUE(art);
    EXPECT_EQ(kToolbarImageCount, 9);
    EXPECT_EQ(art->width, 144);
    EXPECT_EQ(art->height, 16);
    // Every pixel is written out: a missing or unknown letter would load as white unnoticed.
    ASSERT_EQ(art->rows.size(), 16u);
    for (std::size_t y = 0; y < art->rows.size(); ++y) {
        ASSERT_EQ(art->rows[y].size(), 144u) << "row " << y;
        for (const char letter : art->rows[y]) {
            EXPECT_TRUE(PaletteColour(letter).has_value()) << "row " << y << ": " << letter;
        }
    }
    std::set<COLORREF> palette;
    for (const char letter : kPaletteLetters) {
        palette.insert(*PaletteColour(letter));
    }
    ASSERT_EQ(palette.size(), 16u);
    const UniqueBitmap strip = LoadStrip();
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->Width(), 144);
    ASSERT_EQ(strip->Height(), 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 144; ++x) {
            ASSERT_TRUE(palette.contains(strip->GetPixel(x, y))) << x << "," << y;
        }
    }
}

TEST(ToolbarStrip, ImagesStandOnSilverAndAreFullAndUnlikeEachOther) {
    const UniqueBitmap strip = LoadStrip();
    ASSERT_TRUE(strip);
    constexpr int n = kToolbarImageSize;
    for (int a = 0; a < kToolbarImageCount; ++a) {
        for (const auto& [x, y] : {std::pair{0, 0}, {n - 1, 0}, {0, n - 1}, {n - 1, n - 1}}) {
            EXPECT_EQ(ImagePixel(*strip, a, x, y), kToolbarBackground)
                << "image " << a << " at " << x << "," << y;
        }
        int drawn = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                drawn += ImagePixel(*strip, a, x, y) != kToolbarBackground;
            }
        }
        // A quarter of the square at least, so that the image reads at its small size.
        EXPECT_GE(drawn, n * n / 4) << "image " << a;
        for (int b = a + 1; b < kToolbarImageCount; ++b) {
            int different = 0;
            for (int y = 0; y < n; ++y) {
                for (int x = 0; x < n; ++x) {
                    different += ImagePixel(*strip, a, x, y) != ImagePixel(*strip, b, x, y);
                }
            }
            EXPECT_GE(different, n * n / 4) << "images " << a << " and " << b;
        }
    }
}

TEST(ProgramResources, EveryBitmapAndIconTheProgramLoadsIsThere) {
    const std::pair<int, int> bitmaps[] = {
        {IDB_TOOLBAR, 144},          {IDB_ROUTE_TRAIN, 16},      {IDB_ROUTE_DEPARTURE, 16},
        {IDB_ROUTE_DESTINATION, 16}, {IDB_ROUTE_TRANSFER, 16},   {IDB_ROUTE_SUMMARY, 16},
        {IDB_DEPARTURE_MARKER, 10},  {IDB_FORBIDDEN_MARKER, 10}, {IDB_DESTINATION_MARKER, 10},
    };
    for (const auto& [id, width] : bitmaps) {
        const UniqueBitmap bitmap(LoadBitmapW(ProgramModule(), id));
        ASSERT_TRUE(bitmap) << "bitmap " << id;
        EXPECT_EQ(bitmap->Width(), width) << "bitmap " << id;
    }
    // The application icon is the large one the main window is given; the endpoint icons are
    // drawn at their own size on the picker's buttons.
    for (const auto& [id, size] :
         {std::pair{IDI_APP, 32}, {IDI_DEPARTURE, 16}, {IDI_DESTINATION, 16}}) {
        const UniqueIcon icon(LoadIconW(ProgramModule(), id));
        ASSERT_TRUE(icon) << "icon " << id;
        EXPECT_EQ(icon->width, size) << "icon " << id;
        EXPECT_EQ(icon->height, size) << "icon " << id;
        EXPECT_FALSE(icon->opaque.front()) << "icon " << id << ": corners are transparent";
        EXPECT_FALSE(icon->opaque.back()) << "icon " << id;
    }
    // The endpoint icons are the toolbar's images without their background.
    const UniqueBitmap strip = LoadStrip();
    ASSERT_TRUE(strip);
    for (const auto& [id, index] :
         {std::pair{IDI_DEPARTURE, kDepartureImage}, {IDI_DESTINATION, kDestinationImage}}) {
        const UniqueIcon icon(LoadIconW(ProgramModule(), id));
        for (int y = 0; y < kToolbarImageSize; ++y) {
            for (int x = 0; x < kToolbarImageSize; ++x) {
                const std::size_t at = static_cast<std::size_t>(y * kToolbarImageSize + x);
                const COLORREF pixel = ImagePixel(*strip, index, x, y);
                ASSERT_EQ(icon->opaque[at], pixel != kToolbarBackground) << x << "," << y;
                if (icon->opaque[at]) {
                    ASSERT_EQ(icon->colours[at], pixel) << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv
