#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/blit.h"
#include "platform/gdi/clip_region.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/image_list.h"
#include "platform/gdi/shapes.h"
#include "surface_fixture.h"

namespace qv {
namespace {

using testing::Surface;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The pixels a region should hold, on a grid that holds every rectangle made.
constexpr int kLow = -2;
constexpr int kHigh = 30;
using Grid = std::array<std::array<int, kHigh - kLow>, kHigh - kLow>;

template <typename Next>
void Apply(Grid& grid, const RECT& r, Next next) {
    for (int y = kLow; y < kHigh; ++y) {
        for (int x = kLow; x < kHigh; ++x) {
            int& cell = grid[y - kLow][x - kLow];
            cell = next(cell, x >= r.left && x < r.right && y >= r.top && y < r.bottom);
        }
    }
}

// Empty when the region holds exactly the model's pixels in rectangles that do not overlap.
std::string Mismatch(const ClipRegion& region, const Grid& model) {
    Grid counts{};
    for (const RECT& r : region.Rectangles()) {
        if (r.right <= r.left || r.bottom <= r.top) {
            return "an empty rectangle";
        }
        Apply(counts, r, [](int count, bool held) { return count + (held ? 1 : 0); });
    }
    return counts == model ? "" : "pixels";
}

TEST(ClipRegion, AddIntersectAndExcludeHoldExactlyTheirPixelsWithoutOverlap) {
    std::mt19937 random(7);
    const auto anyRect = [&] {
        const int left = static_cast<int>(random() % 18) - 1;
        const int top = static_cast<int>(random() % 18) - 1;
        // Now and then an empty or inside-out one.
        return RECT{left, top, left + static_cast<int>(random() % 12) - 1,
                    top + static_cast<int>(random() % 12) - 1};
    };
    for (int round = 0; round < 300; ++round) {
        ClipRegion region;
        Grid model{};
        for (int step = 0; step < 8; ++step) {
            const RECT r = anyRect();
            switch (random() % 3) {
                case 0:
                    region.Add(r);
                    Apply(model, r, [](int was, bool held) { return was || held ? 1 : 0; });
                    break;
                case 1:
                    region.Intersect(r);
                    Apply(model, r, [](int was, bool held) { return was && held ? 1 : 0; });
                    break;
                default:
                    region.Exclude(r);
                    Apply(model, r, [](int was, bool held) { return was && !held ? 1 : 0; });
                    break;
            }
            ASSERT_EQ(Mismatch(region, model), "") << "round " << round << " step " << step;
        }
    }
}

TEST(ClipRegion, PiecesThatMakeOneRectangleAreOne) {
    ClipRegion region({0, 0, 10, 10});
    region.Exclude({4, 4, 6, 6});
    EXPECT_EQ(region.Kind(), COMPLEXREGION);
    region.Intersect({0, 0, 4, 10});  // three pieces of the cut, one column together
    EXPECT_EQ(region.Rectangles(), (std::vector<RECT>{{0, 0, 4, 10}}));
    region.Add({4, 0, 10, 10});
    EXPECT_EQ(region.Rectangles(), (std::vector<RECT>{{0, 0, 10, 10}}));
    EXPECT_EQ(ClipRegion({0, 5, 10, 5}).Kind(), NULLREGION);  // a flat one holds nothing
    // An L whose top strip's right half came first still joins the strip, as does a strip
    // added above it.
    ClipRegion ell({5, 0, 10, 5});
    ell.Add({0, 5, 3, 10});
    ell.Add({0, 0, 5, 5});
    ell.Add({0, -5, 10, 0});
    EXPECT_EQ(ell.Rectangles(), (std::vector<RECT>{{0, -5, 10, 5}, {0, 5, 3, 10}}));
    // Moved, then scaled, then held within the limit.
    EXPECT_EQ(region.Transformed(2, -3, 2, 100).Rectangles(), (std::vector<RECT>{{4, -6, 24, 14}}));
    EXPECT_EQ(region.Transformed(-4, 0, 3, 20).Rectangles(), (std::vector<RECT>{{-12, 0, 18, 20}}));

    // The widest rectangles there are, whose areas pass 2^63, join as well.
    constexpr LONG kLeast = std::numeric_limits<LONG>::min();
    constexpr LONG kMost = std::numeric_limits<LONG>::max();
    ClipRegion whole({kLeast, kLeast, 0, kMost});
    whole.Add({0, kLeast, kMost, kMost});
    EXPECT_EQ(whole.Rectangles(), (std::vector<RECT>{{kLeast, kLeast, kMost, kMost}}));
}

// Surfaces clipped to a frame: inside (2, 2)-(22, 22) without (8, 8)-(16, 16).
constexpr int kSide = 24;
bool InFrame(int x, int y) {
    const bool outer = x >= 2 && x < 22 && y >= 2 && y < 22;
    const bool hole = x >= 8 && x < 16 && y >= 8 && y < 16;
    return outer && !hole;
}

// Each drawing by name, and whether it paints every pixel the clip lets through.
using Operation = std::tuple<std::string, std::function<void(HDC)>, bool>;
std::vector<Operation> Operations() {
    const auto withTools = [](int penWidth, int penStyle, std::function<void(HDC)> draw) {
        return [=](HDC dc) {
            UniquePen pen(CreatePen(penStyle, penWidth, kBlue));
            UniqueBrush brush(CreateSolidBrush(kRed));
            SelectionScope penScope(dc, pen.get());
            SelectionScope brushScope(dc, brush.get());
            draw(dc);
        };
    };
    const auto redSource = [](int side, std::function<void(HDC, HDC)> draw) {
        return [=](HDC dc) {
            Surface source(side, side);
            UniqueBrush red(CreateSolidBrush(kRed));
            const RECT all{0, 0, side, side};
            FillRect(source.Dc(), &all, red.get());
            draw(dc, source.Dc());
        };
    };
    return {
        {"FillRect",
         [](HDC dc) {
             UniqueBrush red(CreateSolidBrush(kRed));
             const RECT all{-5, -5, 50, 50};
             FillRect(dc, &all, red.get());
         },
         true},
        {"Ellipse", withTools(1, PS_SOLID, [](HDC dc) { Ellipse(dc, -30, -30, 54, 54); }), true},
        {"a wide flat line",
         withTools(9, PS_SOLID | PS_ENDCAP_FLAT,
                   [](HDC dc) {
                       const POINT line[] = {{-5, 0}, {30, 24}, {-5, 24}};
                       Polyline(dc, line, 3);
                   }),
         false},
        {"text",
         [](HDC dc) {
             SetTextColor(dc, kBlue);
             SetBkColor(dc, kRed);
             SetBkMode(dc, OPAQUE);
             RECT box{-2, 0, 40, 40};
             DrawTextW(dc, u"ЖЖЖЖЖ\nЖЖЖЖЖ\nЖЖЖЖЖ", &box, DT_LEFT);
         },
         false},
        {"BitBlt",
         redSource(30,
                   [](HDC dc, HDC source) { BitBlt(dc, -3, -3, 30, 30, source, 0, 0, SRCCOPY); }),
         true},
        {"ImageList_Draw",
         redSource(kSide,
                   [](HDC dc, HDC source) {
                       UniqueImageList list(ImageList_Create(kSide, kSide, ILC_COLOR, 1, 0));
                       ImageList_Add(list.get(), source->bitmap, nullptr);
                       ImageList_Draw(list.get(), 0, dc, 0, 0, ILD_NORMAL);
                   }),
         true},
    };
}

TEST(Clip, EveryDrawingStaysInsideAClipOfSeveralRectangles) {
    for (const int scale : {1, 2}) {
        for (const auto& [name, draw, coversSurface] : Operations()) {
            Surface surface(kSide, kSide, scale);
            IntersectClipRect(surface.Dc(), 2, 2, 22, 22);
            ExcludeClipRect(surface.Dc(), 8, 8, 16, 16);
            draw(surface.Dc());
            int drawn = 0;
            for (int y = 0; y < kSide * scale; ++y) {
                for (int x = 0; x < kSide * scale; ++x) {
                    const bool inside = InFrame(x / scale, y / scale);
                    const bool changed = surface.At(x, y) != kWhite;
                    drawn += changed ? 1 : 0;
                    if (changed != inside && (changed || coversSurface)) {
                        ADD_FAILURE() << name << " at scale " << scale
                                      << (changed ? " drew outside" : " left a pixel of")
                                      << " the clip at " << x << "," << y;
                        return;
                    }
                }
            }
            EXPECT_GT(drawn, 0) << name << " at scale " << scale;
        }
    }
}

TEST(Clip, ClipStaysWhereItWasSetWhenTheOriginMovesAndItsBoxIsLogical) {
    Surface surface(20, 20);
    const HDC dc = surface.Dc();
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);  // no clip: the whole bitmap
    EXPECT_EQ(box, (RECT{0, 0, 20, 20}));
    SetViewportOrgEx(dc, 5, 5, nullptr);
    EXPECT_EQ(IntersectClipRect(dc, 0, 0, 10, 10), SIMPLEREGION);  // pixels 5..14
    SetViewportOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{5, 5, 15, 15}));
    // Cutting a side off leaves a rectangle; a corner, an L; everything, nothing.
    EXPECT_EQ(ExcludeClipRect(dc, 0, 0, 20, 7), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(dc, 12, 7, 20, 9), COMPLEXREGION);
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{5, 7, 15, 15}));
    EXPECT_EQ(IntersectClipRect(dc, 100, 100, 90, 110), NULLREGION);
    EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
    EXPECT_EQ(box, RECT{});
    EXPECT_EQ(ExcludeClipRect(dc, 0, 0, 1, 1), NULLREGION);

    EXPECT_EQ(IntersectClipRect(nullptr, 0, 0, 1, 1), ERROR);
    EXPECT_EQ(ExcludeClipRect(nullptr, 0, 0, 1, 1), ERROR);
    EXPECT_EQ(GetClipBox(dc, nullptr), ERROR);
}

COLORREF Original(int x, int y) {
    return RGB(static_cast<BYTE>(x * 20), static_cast<BYTE>(y * 20), 7);
}

TEST(Clip, CopyingWithinOneBitmapReadsEachPixelBeforeOverwritingIt) {
    // Bands 4..5 and 8..11 moved down 4: the second reads rows the first has written.
    for (const auto& [dx, dy, banded] :
         {std::tuple{1, 4, true}, {1, 3, false}, {-2, -3, false}, {3, 0, false}}) {
        Surface surface(10, 12);
        const HDC dc = surface.Dc();
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 10; ++x) {
                SetPixel(dc, x, y, Original(x, y));
            }
        }
        if (banded) {
            IntersectClipRect(dc, 0, 2, 10, 12);
            ExcludeClipRect(dc, 0, 6, 10, 8);
        }
        BitBlt(dc, dx, dy, 10, 12, dc, 0, 0, SRCCOPY);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 10; ++x) {
                const bool moved = x - dx >= 0 && x - dx < 10 && y - dy >= 0 && y - dy < 12 &&
                                   (!banded || (y >= 2 && (y < 6 || y >= 8)));
                ASSERT_EQ(surface.At(x, y), moved ? Original(x - dx, y - dy) : Original(x, y))
                    << dx << "," << dy << " at " << x << "," << y;
            }
        }
    }
}

TEST(SaveDC, RestoresObjectsColoursModeOriginAndClipToTheLevelAsked) {
    Surface surface(20, 20);
    const HDC dc = surface.Dc();
    UniqueBrush red(CreateSolidBrush(kRed));
    UniquePen pen(CreatePen(PS_SOLID, 1, kBlue));
    const HBRUSH stockBrush = SelectObject(dc, red.get());
    SetTextColor(dc, kRed);
    IntersectClipRect(dc, 0, 0, 10, 20);
    EXPECT_EQ(SaveDC(dc), 1);
    const HPEN stockPen = SelectObject(dc, pen.get());
    SetTextColor(dc, kBlue);
    SetBkColor(dc, kBlue);
    SetBkMode(dc, TRANSPARENT);
    SetViewportOrgEx(dc, 3, 2, nullptr);
    ExcludeClipRect(dc, 0, 0, 2, 2);  // pixels 3..4 across, 2..3 down
    EXPECT_EQ(SaveDC(dc), 2);
    IntersectClipRect(dc, 0, 0, 1, 1);
    SelectObject(dc, stockPen);
    EXPECT_EQ(DeleteObject(pen.get()), 0) << "the saved state holds it";
    EXPECT_TRUE(RestoreDC(dc, -1));
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{-3, -2, 7, 18}));
    EXPECT_EQ(SelectObject(dc, pen.get()), pen.get());
    EXPECT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(SelectObject(dc, stockBrush), red.get());
    EXPECT_EQ(SelectObject(dc, pen.get()), stockPen);
    SelectObject(dc, stockPen);
    EXPECT_EQ(SetTextColor(dc, 0), kRed);
    EXPECT_EQ(SetBkColor(dc, 0), kWhite);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), OPAQUE);
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (RECT{0, 0, 10, 20}));
    EXPECT_EQ(DeleteObject(pen.release()), 1);

    // Levels count from the first save or back from the last; bad ones change nothing.
    EXPECT_FALSE(RestoreDC(dc, -1));  // nothing saved
    EXPECT_FALSE(RestoreDC(dc, 1));
    // Level n keeps a clip of width 10 - n, so that a restore shows which level it reached.
    for (int level = 1; level <= 3; ++level) {
        IntersectClipRect(dc, 0, 0, 10 - level, 10);
        EXPECT_EQ(SaveDC(dc), level);
    }
    IntersectClipRect(dc, 0, 0, 1, 1);
    const auto clipWidth = [&] {
        GetClipBox(dc, &box);
        return box.right - box.left;
    };
    for (const int bad : {0, 4, -4, 100, -100}) {
        EXPECT_FALSE(RestoreDC(dc, bad)) << bad;
        EXPECT_EQ(clipWidth(), 1) << bad;
    }
    EXPECT_TRUE(RestoreDC(dc, 2));  // the second save; the third goes with it
    EXPECT_EQ(clipWidth(), 8);
    EXPECT_FALSE(RestoreDC(dc, 2));
    EXPECT_FALSE(RestoreDC(dc, -2));
    EXPECT_EQ(SaveDC(dc), 2);
    EXPECT_TRUE(RestoreDC(dc, -2));  // back from the last: the first
    EXPECT_EQ(clipWidth(), 9);
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_FALSE(RestoreDC(nullptr, 1));
    EXPECT_EQ(SaveDC(nullptr), 0);
}

}  // namespace
}  // namespace qv
