#include <gtest/gtest.h>

#include <algorithm>

#include "platform/gdi/shapes.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/records/invalid_area.h"
#include "window_test.h"

namespace qv {
namespace {

using testing::WindowTest;
using Lines = std::vector<std::string>;

constexpr RECT kScreen{0, 0, 240, 320};
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A handler that paints its whole client area in one colour and remembers what it was asked.
struct Painter {
    explicit Painter(COLORREF fill) : colour(fill) {}

    COLORREF colour;
    std::vector<RECT> areas;
    std::vector<int> clipKinds;

    WindowTest::Handler Handler() {
        return [this](HWND window, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT) {
                return std::nullopt;
            }
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            areas.push_back(paint.rcPaint);
            RECT box;
            clipKinds.push_back(GetClipBox(dc, &box));
            EXPECT_EQ(box, paint.rcPaint);
            UniqueBrush brush(CreateSolidBrush(colour));
            RECT everything{-1000, -1000, 1000, 1000};  // the clip keeps it to the area
            FillRect(dc, &everything, brush.get());
            EndPaint(window, &paint);
            return 0;
        };
    }
};

class Painting : public WindowTest {};

TEST_F(Painting, PaintsOnlyWhatIsInvalidAndErasesOnlyWhenAsked) {
    Painter painter(kRed);
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, painter.Handler());
    Pump();
    EXPECT_EQ(Log({WM_ERASEBKGND, WM_PAINT}), (Lines{"main:WM_PAINT", "main:WM_ERASEBKGND"}));
    ASSERT_EQ(painter.areas.size(), 1u);
    EXPECT_EQ(painter.areas[0], kScreen);

    ClearLog();
    Pump();
    EXPECT_TRUE(Log({WM_PAINT}).empty());  // nothing invalid: no paint

    const RECT a{10, 10, 20, 20};
    const RECT b{30, 5, 40, 15};
    InvalidateRect(main, &a, 0);
    InvalidateRect(main, &b, 0);
    Pump();
    EXPECT_EQ(Log({WM_ERASEBKGND, WM_PAINT}), (Lines{"main:WM_PAINT"}));
    EXPECT_EQ(painter.areas.back(), (RECT{10, 5, 40, 20}));

    // A later invalidation without erasing leaves the erase that is still to come.
    ClearLog();
    InvalidateRect(main, &a, 1);
    InvalidateRect(main, &b, 0);
    Pump();
    EXPECT_EQ(Log({WM_ERASEBKGND, WM_PAINT}), (Lines{"main:WM_PAINT", "main:WM_ERASEBKGND"}));
}

// Paints in three colours, one after another, checking on the pixels that only the invalid
// rectangles change, at the device's scale.
class PaintClip : public WindowTest, public ::testing::WithParamInterface<int> {
  public:
    PaintClip() : WindowTest(GetParam()) {}
};

TEST_P(PaintClip, OnlyTheInvalidRectanglesReachTheScreenAndValidatingAPartIsExact) {
    Painter painter(kRed);
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, painter.Handler());
    Pump();
    painter.colour = kBlue;
    const RECT a{10, 10, 20, 20};
    const RECT b{30, 30, 40, 40};
    InvalidateRect(main, &a, 1);
    InvalidateRect(main, &b, 0);
    Pump();
    EXPECT_EQ(painter.areas.back(), (RECT{10, 10, 40, 40}));  // the bounds of both
    EXPECT_EQ(painter.clipKinds.back(), COMPLEXREGION);
    for (const POINT p : {POINT{10, 10}, POINT{19, 19}, POINT{30, 30}, POINT{39, 39}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), kBlue) << p.x << "," << p.y;
    }
    for (const POINT p : {POINT{20, 20}, POINT{25, 25}, POINT{35, 15}, POINT{15, 35}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), kRed) << p.x << "," << p.y;  // neither erased nor drawn
    }

    painter.colour = kWhite;
    const RECT block{100, 100, 160, 160};
    const RECT middle{120, 120, 140, 140};
    InvalidateRect(main, &block, 0);
    ValidateRect(main, &middle);
    RECT pending;
    ASSERT_TRUE(GetUpdateRect(main, &pending, 0));
    EXPECT_EQ(pending, block);
    Pump();
    EXPECT_EQ(painter.areas.back(), block);
    for (const POINT p : {POINT{100, 100}, POINT{119, 130}, POINT{140, 130}, POINT{130, 119},
                          POINT{130, 140}, POINT{159, 159}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), kWhite) << p.x << "," << p.y;
    }
    for (const POINT p : {POINT{120, 120}, POINT{130, 130}, POINT{139, 139}}) {
        EXPECT_EQ(ScreenPixel(p.x, p.y), kRed) << p.x << "," << p.y;
    }

    // Validating the rest too leaves nothing to paint.
    const auto paints = painter.areas.size();
    InvalidateRect(main, &block, 0);
    ValidateRect(main, &middle);
    ValidateRect(main, &a);
    EXPECT_TRUE(GetUpdateRect(main, &pending, 0));
    ValidateRect(main, &block);
    EXPECT_FALSE(GetUpdateRect(main, &pending, 0));
    Pump();
    EXPECT_EQ(painter.areas.size(), paints);
}

INSTANTIATE_TEST_SUITE_P(Scales, PaintClip, ::testing::Values(1, 2));

TEST(InvalidArea, MergesOverlapsKeepsDisjointPartsAndFallsBackToBoundsPastTheCap) {
    InvalidArea area;
    area.Add({0, 0, 10, 10});
    area.Add({5, 5, 15, 15});    // overlaps: their bounds
    area.Add({15, 0, 20, 15});   // beside with the same height: one rectangle
    area.Add({40, 40, 50, 50});  // apart
    area.Add({});                // nothing
    EXPECT_EQ(area.Rectangles(), (std::vector<RECT>{{0, 0, 20, 15}, {40, 40, 50, 50}}));
    EXPECT_EQ(area.Bounds(), (RECT{0, 0, 50, 50}));

    InvalidArea many;
    for (int i = 0; i < static_cast<int>(InvalidArea::kMaxRectangles); ++i) {
        many.Add({i * 10, 0, i * 10 + 5, 5});
    }
    EXPECT_EQ(many.Rectangles().size(), InvalidArea::kMaxRectangles);
    many.Add({0, 100, 5, 105});
    const int right = static_cast<int>(InvalidArea::kMaxRectangles - 1) * 10 + 5;
    EXPECT_EQ(many.Rectangles(), (std::vector<RECT>{{0, 0, right, 105}}));
}

TEST(InvalidArea, RemovingSplitsExactly) {
    // Cuts inside, across an edge, over a corner and beyond: what is left never overlaps and
    // covers exactly the pixels not cut.
    const RECT whole{0, 0, 20, 20};
    for (const RECT cut : {RECT{5, 5, 10, 10}, RECT{-5, 5, 10, 10}, RECT{15, 15, 30, 30},
                           RECT{-1, -1, 21, 21}, RECT{30, 30, 40, 40}}) {
        InvalidArea area;
        area.Add(whole);
        area.Remove(cut);
        const auto& parts = area.Rectangles();
        for (int y = -2; y < 22; ++y) {
            for (int x = -2; x < 22; ++x) {
                const bool wanted =
                    x >= 0 && x < 20 && y >= 0 && y < 20 &&
                    !(x >= cut.left && x < cut.right && y >= cut.top && y < cut.bottom);
                const auto holding = std::count_if(parts.begin(), parts.end(), [&](const RECT& r) {
                    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
                });
                ASSERT_EQ(holding, wanted ? 1 : 0) << x << "," << y;
            }
        }
    }
}

TEST_F(Painting, UpdateWindowPaintsAtOnceWhatIsInvalidInAShownWindow) {
    Painter painter(kRed);
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, painter.Handler());
    const HWND hidden = Make("hidden", 0, kScreen, nullptr, painter.Handler());
    EXPECT_TRUE(UpdateWindow(main));
    EXPECT_EQ(painter.areas, (std::vector<RECT>{kScreen}));
    ClearLog();
    Pump();
    EXPECT_TRUE(Log({WM_PAINT}).empty()) << "painted already";
    EXPECT_TRUE(UpdateWindow(main));
    const RECT a{5, 5, 15, 15};
    InvalidateRect(main, &a, 0);
    InvalidateRect(hidden, &a, 0);
    EXPECT_TRUE(UpdateWindow(hidden));
    EXPECT_EQ(painter.areas.size(), 1u) << "nothing invalid, or not shown";
    EXPECT_TRUE(UpdateWindow(main));
    EXPECT_EQ(painter.areas.back(), a);
    DestroyWindow(hidden);
    EXPECT_FALSE(UpdateWindow(hidden));
}

TEST_F(Painting, BeginPaintTellsWhetherTheBackgroundIsStillToErase) {
    std::vector<BOOL> told;
    LRESULT erasing = 0;
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr,
                           [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (m == WM_ERASEBKGND) {
                                   return erasing;
                               }
                               if (m == WM_PAINT) {
                                   PAINTSTRUCT paint;
                                   BeginPaint(w, &paint);
                                   told.push_back(paint.fErase);
                                   EndPaint(w, &paint);
                                   return 0;
                               }
                               return std::nullopt;
                           });
    Pump();
    erasing = 1;
    InvalidateRect(main, nullptr, 1);
    Pump();
    InvalidateRect(main, nullptr, 0);
    Pump();
    // Left unerased by the window, erased by it, and no erase asked for.
    EXPECT_EQ(told, (std::vector<BOOL>{1, 0, 0}));
}

TEST_F(Painting, PaintWaitsForTheQueueAndSkipsHiddenWindows) {
    Painter painter(kRed);
    const HWND main = Make("main", 0, kScreen, nullptr, painter.Handler());
    PostMessageW(main, WM_USER, 0, 0);
    Pump();
    EXPECT_EQ(Log({WM_USER, WM_PAINT}), (Lines{"main:WM_USER"}));  // hidden: nothing painted
    ShowWindow(main, SW_SHOW);
    PostMessageW(main, WM_USER, 0, 0);
    ClearLog();
    Pump();
    EXPECT_EQ(Log({WM_USER, WM_PAINT}), (Lines{"main:WM_USER", "main:WM_PAINT"}));
}

TEST_F(Painting, SurfaceStartsAtTheClientCornerClippedToTheInvalidAreaAndItsChildren) {
    Painter back(kRed);
    Painter front(kBlue);
    const HWND main = Make("main", WS_VISIBLE | WS_CLIPCHILDREN, kScreen, nullptr, back.Handler());
    const HWND child =
        Make("child", WS_CHILD | WS_VISIBLE, {40, 60, 100, 100}, main, front.Handler());
    Pump();
    // Children cover their parent: the child's blue lies over the red, at its place.
    EXPECT_EQ(ScreenPixel(39, 59), kRed);
    EXPECT_EQ(ScreenPixel(40, 60), kBlue);
    EXPECT_EQ(ScreenPixel(99, 99), kBlue);
    EXPECT_EQ(ScreenPixel(100, 100), kRed);

    // The parent repaints only its own pixels, never the child's.
    back.colour = kWhite;
    InvalidateRect(main, nullptr, 0);
    Pump();
    EXPECT_EQ(front.areas.size(), 1u);  // the parent clips its children: they are not asked
    EXPECT_EQ(ScreenPixel(10, 10), kWhite);
    EXPECT_EQ(ScreenPixel(50, 70), kBlue);

    // A repaint of part of the child draws only there, in the child's own coordinates.
    front.colour = kRed;
    const RECT corner{0, 0, 10, 10};
    InvalidateRect(child, &corner, 0);
    Pump();
    EXPECT_EQ(ScreenPixel(45, 65), kRed);
    EXPECT_EQ(ScreenPixel(55, 75), kBlue);

    // A parent that does not clip its children invalidates them too.
    SetWindowLongW(main, GWL_STYLE, WS_VISIBLE);
    const RECT over{50, 70, 60, 80};
    InvalidateRect(main, &over, 0);
    Pump();
    ASSERT_EQ(front.areas.size(), 3u);
    EXPECT_EQ(front.areas[2], (RECT{10, 10, 20, 20}));
}

TEST_F(Painting, TopLevelWindowsAreComposedInZOrderAndRepaintWhatOthersUncover) {
    Painter first(kRed);
    Painter second(kBlue);
    const HWND a = Make("a", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100}, nullptr, first.Handler());
    const HWND b = Make("b", WS_POPUP | WS_VISIBLE, {50, 50, 150, 150}, nullptr, second.Handler());
    Pump();
    EXPECT_EQ(ScreenPixel(75, 75), kBlue);  // b came last, on top
    SetActiveWindow(a);
    Pump();
    EXPECT_EQ(ScreenPixel(75, 75), kRed);
    EXPECT_EQ(system.TopLevelWindows(), (std::vector<HWND>{a, b}));
    // What a window covered is painted again by the window under it, whose picture may have
    // changed meanwhile; nothing else is.
    second.areas.clear();
    ShowWindow(a, SW_HIDE);
    Pump();
    EXPECT_EQ(second.areas, (std::vector<RECT>{{0, 0, 50, 50}}));
    EXPECT_EQ(ScreenPixel(75, 75), kBlue);
    EXPECT_EQ(ScreenPixel(10, 10), kWhite);  // the bare screen
    EXPECT_EQ(GetActiveWindow(), b);
    const HWND c = Make("c", WS_POPUP | WS_VISIBLE, {100, 100, 200, 200}, nullptr);
    Pump();
    second.areas.clear();
    DestroyWindow(c);
    Pump();
    EXPECT_EQ(second.areas, (std::vector<RECT>{{50, 50, 100, 100}}));
}

TEST_F(Painting, DrawingOutsidePaintingShowsAfterReleaseAndNotBeginningIsNotAskedForever) {
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, testing::Answer(WM_PAINT, 0));
    Pump();
    EXPECT_EQ(Log({WM_PAINT}), (Lines{"main:WM_PAINT"}));
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(main, &pending, 0));
    const HDC dc = GetDC(main);
    ASSERT_NE(dc, nullptr);
    UniqueBrush red(CreateSolidBrush(kRed));
    RECT box{0, 0, 5, 5};
    FillRect(dc, &box, red.get());
    EXPECT_TRUE(ReleaseDC(main, dc));
    EXPECT_FALSE(ReleaseDC(main, dc));
    Pump();
    EXPECT_EQ(ScreenPixel(2, 2), kRed);
}

TEST_F(Painting, ScaleChangeRepaintsEverythingAtTheNewScale) {
    Painter painter(kRed);
    Make("main", WS_VISIBLE, {0, 0, 10, 10}, nullptr, painter.Handler());
    Pump();
    ClearLog();
    host.Queue({InputEvent::Kind::ScaleChanged});
    Pump();
    EXPECT_EQ(Log({WM_PAINT, WM_ERASEBKGND}), (Lines{"main:WM_PAINT", "main:WM_ERASEBKGND"}));
}

}  // namespace
}  // namespace qv
