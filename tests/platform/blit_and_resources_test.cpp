#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <tuple>
#include <utility>

#include "platform/gdi/blit.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/resource_module.h"
#include "platform/gdi/shapes.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "surface_fixture.h"

namespace qv {
namespace {

using testing::Surface;

constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF Gradient(int x, int y) {
    return RGB(static_cast<BYTE>(x * 50), static_cast<BYTE>(y * 50), 0);
}

TEST(BitBlt, ClipsAtEveryEdgeKnowsOnlyThePlainCopyAndStretchesByNearestNeighbour) {
    Surface source(4, 4);
    for (int i = 0; i < 16; ++i) {
        SetPixel(source.Dc(), i % 4, i / 4, Gradient(i % 4, i / 4));
    }
    Surface small(3, 3);
    EXPECT_EQ(BitBlt(small.Dc(), -2, -1, 4, 4, source.Dc(), 0, 0, SRCCOPY), 1);
    EXPECT_EQ(small.At(0, 0), Gradient(2, 1));
    EXPECT_EQ(small.At(2, 0), kWhite);  // past the source's right edge
    Surface target(6, 6);
    BitBlt(target.Dc(), 0, 0, 6, 6, source.Dc(), -1, -1, SRCCOPY);  // the last row below the source
    EXPECT_EQ(std::tuple(target.At(0, 0), target.At(1, 1), target.At(1, 5), target.At(5, 4)),
              std::tuple(kWhite, Gradient(0, 0), kWhite, kWhite));
    BitBlt(target.Dc(), 4, 4, 100, 100, source.Dc(), 1, 1, SRCCOPY);  // far past every edge
    EXPECT_EQ(target.At(4, 4), Gradient(1, 1));
    EXPECT_EQ(BitBlt(target.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, 0x00EE0086), 0);

    // Stretched by nearest neighbour.
    Surface doubled(8, 8);
    StretchBlt(doubled.Dc(), 0, 0, 8, 8, source.Dc(), 0, 0, 4, 4, SRCCOPY);
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(doubled.At(i % 8, i / 8), Gradient(i % 8 / 2, i / 16)) << i % 8 << "," << i / 8;
    }
    StretchBlt(doubled.Dc(), 0, 0, 8, 8, source.Dc(), 2, 0, 4, 4, SRCCOPY);
    EXPECT_EQ(doubled.At(4, 2), Gradient(2, 1));  // past the source's right edge: as it was
    // Shrunk, each target pixel takes the source pixel at its start; empty areas are refused.
    Surface half(2, 2);
    EXPECT_EQ(StretchBlt(half.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, 4, 4, SRCCOPY), 1);
    EXPECT_EQ(half.At(1, 1), Gradient(2, 2));
    for (const int empty : {0, -1}) {
        EXPECT_EQ(StretchBlt(half.Dc(), 0, 0, empty, 2, source.Dc(), 0, 0, 4, 4, SRCCOPY), 0);
        EXPECT_EQ(StretchBlt(half.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, 4, empty, SRCCOPY), 0);
    }
}

TEST(Bitmaps, BeyondTheLargestImageAreRefusedOrCut) {
    Surface twice(4, 4, 2);
    constexpr int kLargest = Bitmap::kMaxDeviceSide / 2;
    EXPECT_EQ(CreateCompatibleBitmap(twice.Dc(), kLargest + 1, 1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(twice.Dc(), 1, 40000), nullptr);
    EXPECT_EQ(ImageList_Create(40000, 1, ILC_COLOR, 1, 0), nullptr);
    EXPECT_TRUE(ImageList_Destroy(ImageList_Create(Bitmap::kMaxDeviceSide, 1, ILC_COLOR, 1, 0)));
    const UniqueBitmap largest(CreateCompatibleBitmap(twice.Dc(), kLargest, 1));
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(largest->DeviceWidth(), 2 * kLargest);
    // A window's surface cannot refuse: it is cut to the largest image and stays white.
    const Bitmap cut(40000, 2, 3);
    EXPECT_EQ(cut.DeviceWidth(), Bitmap::kMaxDeviceSide / 3 * 3);
    EXPECT_EQ(cut.GetPixel(cut.DeviceWidth() - 1, 5), kWhite);
}

TEST(Resources, EveryImageTheProgramLoadsIsThereInItsColoursAndMissingOnesAreNot) {
    const std::pair<int, int> bitmaps[] = {
        {IDB_TOOLBAR, 144},          {IDB_ROUTE_TRAIN, 16},      {IDB_ROUTE_DEPARTURE, 16},
        {IDB_ROUTE_DESTINATION, 16}, {IDB_ROUTE_TRANSFER, 16},   {IDB_ROUTE_SUMMARY, 16},
        {IDB_DEPARTURE_MARKER, 10},  {IDB_FORBIDDEN_MARKER, 10}, {IDB_DESTINATION_MARKER, 10},
    };
    for (const auto& [id, width] : bitmaps) {
        const UniqueBitmap bitmap(LoadBitmapW(ProgramModule(), id));
        ASSERT_TRUE(bitmap) << id;
        EXPECT_EQ(bitmap->Width(), width) << id;
        // Every pixel is a palette letter: an unknown one would load as white unnoticed.
        for (const std::string_view row : ProgramModule()->FindBitmap(id)->rows) {
            ASSERT_EQ(row.size(), static_cast<std::size_t>(width)) << id;
            EXPECT_EQ(std::ranges::count_if(row, [](char c) { return !PaletteColour(c); }), 0)
                << id;
        }
    }
    const std::string_view art[] = {"g."};  // white where the art has no colour or no pixel
    ResourceModule own;
    own.AddBitmap(1, {2, 2, art});
    const UniqueBitmap marker(LoadBitmapW(&own, 1));
    EXPECT_EQ(std::tuple(marker->GetPixel(0, 0), marker->GetPixel(1, 0), marker->GetPixel(0, 1)),
              std::tuple(RGB(0, 255, 0), kWhite, kWhite));
    EXPECT_EQ(LoadBitmapW(ProgramModule(), 4242), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, IDB_DEPARTURE_MARKER), nullptr);
}

TEST(Strings, AreCutAtTheBufferInUnitsAndMissingOnesOrBadArgumentsLoadNothing) {
    ResourceModule module;
    module.AddString(7, u"a\U0001F687b");
    module.AddString(8, u"");
    const std::tuple<HINSTANCE, UINT, int, std::u16string_view> cases[] = {
        {ProgramModule(), IDS_TITLE, 12, u"Схема метро"},
        {ProgramModule(), IDS_TITLE, 2, u"С"},
        {ProgramModule(), IDS_TITLE, 1, u""},
        {&module, 7, 3, std::u16string_view(u"a\U0001F687").substr(0, 2)},  // units, not pairs
        {ProgramModule(), 4001, 8, u""},
        {&module, 8, 8, u""},
        {nullptr, IDS_TITLE, 8, u""},
    };
    for (const auto& [source, id, size, expected] : cases) {
        // A mark just past the buffer shows whether anything was written too far.
        std::u16string buffer(static_cast<std::size_t>(size) + 1, u'#');
        EXPECT_EQ(LoadStringW(source, id, buffer.data(), size), static_cast<int>(expected.size()));
        EXPECT_EQ(std::u16string_view(buffer.c_str()), expected) << id << " " << size;
        EXPECT_EQ(buffer.back(), u'#') << id << " " << size;
    }
    std::u16string untouched(4, u'#');
    EXPECT_EQ(LoadStringW(ProgramModule(), IDS_TITLE, nullptr, 100), 0);
    EXPECT_EQ(LoadStringW(ProgramModule(), IDS_TITLE, untouched.data(), -1), 0);
    EXPECT_EQ(untouched, u"####");
}

TEST(ImageList, SplitsAStripAndDrawsByIndexWithItsMask) {
    Surface strip(8, 4, 2);  // cut in logical pixels, whatever the strip's scale
    SetPixel(strip.Dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(strip.Dc(), 4, 0, RGB(0, 0, 255));
    Surface mask(8, 4);
    SetPixel(mask.Dc(), 4, 0, RGB(0, 0, 0));  // only this pixel of the second image shows
    UniqueImageList list(ImageList_Create(4, 4, ILC_COLOR | ILC_MASK, 2, 0));
    EXPECT_EQ(ImageList_Add(list.get(), const_cast<Bitmap*>(&strip.Pixels()), nullptr), 0);
    EXPECT_EQ(ImageList_Add(list.get(), const_cast<Bitmap*>(&strip.Pixels()),
                            const_cast<Bitmap*>(&mask.Pixels())),
              2);
    EXPECT_EQ(ImageList_Add(list.get(), const_cast<Bitmap*>(&Surface(3, 4).Pixels()), nullptr), -1);

    Surface target(10, 10);
    SetPixel(target.Dc(), 6, 6, RGB(0, 255, 0));
    ImageList_Draw(list.get(), 0, target.Dc(), 1, 1, ILD_NORMAL);
    EXPECT_EQ(target.At(1, 1), RGB(255, 0, 0));
    ImageList_Draw(list.get(), 3, target.Dc(), 5, 5, ILD_NORMAL);
    EXPECT_EQ(target.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(target.At(6, 6), RGB(0, 255, 0));  // masked out
    EXPECT_EQ(ImageList_Draw(list.get(), 4, target.Dc(), 0, 0, ILD_NORMAL), 0);
}

}  // namespace
}  // namespace qv
