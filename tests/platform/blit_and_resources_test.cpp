#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

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

// A 4 x 4 source whose pixel (x, y) has red x * 50 and green y * 50.
COLORREF Gradient(int x, int y) {
    return RGB(static_cast<BYTE>(x * 50), static_cast<BYTE>(y * 50), 0);
}

void PaintGradient(const Surface& surface) {
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            SetPixel(surface.Dc(), x, y, Gradient(x, y));
        }
    }
}

TEST(BitBlt, ClipsAtNegativeOffsetsAndFarEdgesAndKnowsOnlyThePlainCopy) {
    Surface source(4, 4);
    PaintGradient(source);
    Surface small(3, 3);
    EXPECT_EQ(BitBlt(small.Dc(), -2, -1, 4, 4, source.Dc(), 0, 0, SRCCOPY), 1);
    EXPECT_EQ(small.At(0, 0), Gradient(2, 1));
    EXPECT_EQ(small.At(1, 2), Gradient(3, 3));
    EXPECT_EQ(small.At(2, 0), kWhite);  // past the source's right edge
    Surface target(6, 6);
    BitBlt(target.Dc(), 0, 0, 6, 6, source.Dc(), -1, -2, SRCCOPY);
    EXPECT_EQ(target.At(0, 0), kWhite);
    EXPECT_EQ(target.At(1, 2), Gradient(0, 0));
    EXPECT_EQ(target.At(4, 5), Gradient(3, 3));
    EXPECT_EQ(target.At(5, 5), kWhite);
    BitBlt(target.Dc(), 4, 4, 100, 100, source.Dc(), 0, 0, SRCCOPY);  // far past every edge
    EXPECT_EQ(target.At(5, 5), Gradient(1, 1));
    EXPECT_EQ(BitBlt(target.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, 0x00EE0086), 0);
}

TEST(StretchBlt, ScalesByNearestNeighbourAndDoublesAScaleOneBitmapOnAScaleTwoSurface) {
    Surface source(4, 4);
    PaintGradient(source);
    Surface target(8, 8);
    StretchBlt(target.Dc(), 0, 0, 8, 8, source.Dc(), 0, 0, 4, 4, SRCCOPY);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            ASSERT_EQ(target.At(x, y), Gradient(x / 2, y / 2)) << x << "," << y;
        }
    }
    // Shrunk, each target pixel takes the source pixel at its start; empty areas are refused.
    Surface half(2, 2);
    EXPECT_EQ(StretchBlt(half.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, 4, 4, SRCCOPY), 1);
    EXPECT_EQ(half.At(1, 0), Gradient(2, 0));
    EXPECT_EQ(half.At(1, 1), Gradient(2, 2));
    for (const int empty : {0, -1}) {
        EXPECT_EQ(StretchBlt(half.Dc(), 0, 0, empty, 2, source.Dc(), 0, 0, 4, 4, SRCCOPY), 0);
        EXPECT_EQ(StretchBlt(half.Dc(), 0, 0, 2, 2, source.Dc(), 0, 0, 4, empty, SRCCOPY), 0);
    }
    Surface twice(12, 12, 2);
    UniqueBitmap marker(LoadBitmapW(ProgramModule(), IDB_DEPARTURE_MARKER));
    ASSERT_TRUE(marker);
    UniqueDC markerDc(CreateCompatibleDC(twice.Dc()));
    const HBITMAP previous = SelectObject(markerDc.get(), marker.get());
    StretchBlt(twice.Dc(), 1, 1, 10, 10, markerDc.get(), 0, 0, 10, 10, SRCCOPY);
    SelectObject(markerDc.get(), previous);
    // Marker pixel (3, 0) is dark green: device pixels (8..9, 2..3).
    EXPECT_EQ(twice.At(8, 2), RGB(0, 128, 0));
    EXPECT_EQ(twice.At(9, 3), RGB(0, 128, 0));
    EXPECT_EQ(twice.At(2, 2), kWhite);
}

TEST(Bitmaps, BeyondTheLargestImageAreRefusedOrCut) {
    Surface twice(4, 4, 2);
    constexpr int kLargest = Bitmap::kMaxDeviceSide / 2;
    EXPECT_EQ(CreateCompatibleBitmap(twice.Dc(), kLargest + 1, 1), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(twice.Dc(), 1, 40000), nullptr);
    EXPECT_EQ(ImageList_Create(40000, 1, ILC_COLOR, 1, 0), nullptr);
    const UniqueBitmap largest(CreateCompatibleBitmap(twice.Dc(), kLargest, 1));
    ASSERT_NE(largest, nullptr);
    EXPECT_EQ(largest->DeviceWidth(), 2 * kLargest);
    // A window's surface cannot refuse: it is cut to the largest image and stays white.
    const Bitmap cut(40000, 2, 3);
    EXPECT_EQ(cut.DeviceWidth(), Bitmap::kMaxDeviceSide / 3 * 3);
    EXPECT_EQ(cut.GetPixel(cut.DeviceWidth() - 1, 5), kWhite);
}

TEST(Resources, BitmapsHoldTheirPixelTablesAndMissingOnesAreNotLoaded) {
    struct Probe {
        int id;
        int x;
        int y;
        COLORREF colour;
    };
    for (const Probe& probe : {Probe{IDB_DEPARTURE_MARKER, 0, 0, kWhite},
                               Probe{IDB_DEPARTURE_MARKER, 2, 0, RGB(0, 255, 0)},
                               Probe{IDB_DEPARTURE_MARKER, 4, 5, RGB(0, 128, 0)},
                               Probe{IDB_FORBIDDEN_MARKER, 3, 3, RGB(128, 0, 0)},
                               Probe{IDB_FORBIDDEN_MARKER, 9, 4, RGB(128, 0, 0)},
                               Probe{IDB_DESTINATION_MARKER, 5, 1, RGB(255, 0, 0)},
                               Probe{IDB_ROUTE_DEPARTURE, 3, 6, RGB(0, 255, 0)},
                               Probe{IDB_ROUTE_SUMMARY, 7, 8, kWhite},  // the letter i on blue
                               Probe{IDB_ROUTE_SUMMARY, 4, 8, RGB(0, 0, 255)}}) {
        UniqueBitmap image(LoadBitmapW(ProgramModule(), probe.id));
        ASSERT_TRUE(image) << probe.id;
        EXPECT_EQ(image->GetPixel(probe.x, probe.y), probe.colour)
            << probe.id << " at " << probe.x << "," << probe.y;
    }
    for (const int id : {IDB_ROUTE_TRAIN, IDB_ROUTE_DEPARTURE, IDB_ROUTE_DESTINATION,
                         IDB_ROUTE_TRANSFER, IDB_ROUTE_SUMMARY}) {
        UniqueBitmap image(LoadBitmapW(ProgramModule(), id));
        EXPECT_EQ(image->Height(), 16) << id;
        EXPECT_EQ(image->GetPixel(0, 0), kWhite) << id;  // corners stay white
    }
    EXPECT_EQ(LoadBitmapW(ProgramModule(), 4242), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, IDB_DEPARTURE_MARKER), nullptr);
}

TEST(Resources, IconsDrawOnlyTheirOpaquePixels) {
    constexpr std::string_view rows[] = {"r.", ".b"};
    ResourceModule module;
    module.AddIcon(7, {2, 2, rows});
    UniqueIcon icon(LoadIconW(&module, 7));
    ASSERT_TRUE(icon);
    Surface surface(6, 6);
    SetPixel(surface.Dc(), 2, 1, RGB(0, 255, 0));
    DrawIconEx(surface.Dc(), 1, 1, icon.get(), 4, 4, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(surface.At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(surface.At(2, 2), RGB(255, 0, 0));  // scaled to twice its size
    EXPECT_EQ(surface.At(3, 1), kWhite);          // transparent
    EXPECT_EQ(surface.At(4, 4), RGB(0, 0, 255));
    EXPECT_EQ(LoadIconW(&module, 8), nullptr);
}

// A buffer of `size` units past which a sentinel shows whether anything was written too far.
struct GuardedBuffer {
    explicit GuardedBuffer(int size) : units(static_cast<std::size_t>(size) + 2, u'#') {
        units.back() = u'\0';
    }
    char16_t* Data() { return units.data(); }
    std::u16string_view Text() const { return units.data(); }
    char16_t Sentinel() const { return units[units.size() - 2]; }
    std::vector<char16_t> units;
};

TEST(Strings, CutsAtTheBufferBoundaryInUtf16Units) {
    // Exactly full, one short, and the smallest buffers.
    for (const auto& [size, expected] : std::vector<std::pair<int, std::u16string_view>>{
             {12, u"\u0421\u0445\u0435\u043C\u0430 \u043C\u0435\u0442\u0440\u043E"},
             {11, u"\u0421\u0445\u0435\u043C\u0430 \u043C\u0435\u0442\u0440"},
             {2, u"\u0421"},
             {1, u""}}) {
        GuardedBuffer buffer(size);
        EXPECT_EQ(LoadStringW(ProgramModule(), IDS_TITLE, buffer.Data(), size),
                  static_cast<int>(expected.size()))
            << size;
        EXPECT_EQ(buffer.Text(), expected) << size;
        EXPECT_EQ(buffer.Sentinel(), u'#') << size;
    }
    // The platform counts units, so a pair is split when the boundary falls inside it.
    ResourceModule module;
    module.AddString(7, u"a\U0001F687b");
    GuardedBuffer buffer(3);
    EXPECT_EQ(LoadStringW(&module, 7, buffer.Data(), 3), 2);
    EXPECT_EQ(buffer.Text(), std::u16string_view(u"a\U0001F687").substr(0, 2));
}

TEST(Strings, MissingStringsAndBadArgumentsLoadNothing) {
    ResourceModule module;
    module.AddString(7, u"");
    for (const auto& [source, id] : std::vector<std::pair<HINSTANCE, UINT>>{
             {ProgramModule(), 4001}, {&module, 7}, {nullptr, IDS_TITLE}}) {
        GuardedBuffer buffer(8);
        EXPECT_EQ(LoadStringW(source, id, buffer.Data(), 8), 0) << id;
        EXPECT_EQ(buffer.Text(), u"") << id;
    }
    EXPECT_EQ(LoadStringW(ProgramModule(), IDS_TITLE, nullptr, 100), 0);
    EXPECT_EQ(LoadStringW(ProgramModule(), IDS_TITLE, nullptr, 0), 0);
    GuardedBuffer untouched(4);
    EXPECT_EQ(LoadStringW(ProgramModule(), IDS_TITLE, untouched.Data(), -1), 0);
    EXPECT_EQ(untouched.units[0], u'#');
}

TEST(Strings, ZeroSizeHandsOutAReadOnlyPointerAndTheLength) {
    const char16_t* resource = u"stale";
    EXPECT_EQ(
        LoadStringW(ProgramModule(), IDS_MENUBAR_SCHEME, reinterpret_cast<char16_t*>(&resource), 0),
        5);
    EXPECT_EQ(resource, ProgramModule()->FindString(IDS_MENUBAR_SCHEME).data());
    EXPECT_EQ(std::u16string_view(resource, 5), u"C\u0445\u0435\u043C\u0430");
    EXPECT_EQ(LoadStringW(ProgramModule(), 4001, reinterpret_cast<char16_t*>(&resource), 0), 0);
    EXPECT_EQ(resource, nullptr);
}

TEST(ImageList, SplitsAStripAndDrawsByIndexWithItsMask) {
    Surface strip(8, 4);
    SetPixel(strip.Dc(), 0, 0, RGB(255, 0, 0));
    SetPixel(strip.Dc(), 4, 0, RGB(0, 0, 255));
    Surface mask(8, 4);
    SetPixel(mask.Dc(), 4, 0, RGB(0, 0, 0));  // only this pixel of the second image shows
    UniqueImageList list(ImageList_Create(4, 4, ILC_COLOR | ILC_MASK, 2, 0));
    EXPECT_EQ(ImageList_Add(list.get(), const_cast<Bitmap*>(&strip.Pixels()), nullptr), 0);
    EXPECT_EQ(ImageList_Add(list.get(), const_cast<Bitmap*>(&strip.Pixels()),
                            const_cast<Bitmap*>(&mask.Pixels())),
              2);
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 4);

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
