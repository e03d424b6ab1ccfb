#include <gtest/gtest.h>

#include "platform/gdi/shapes.h"
#include "platform/user/paint_functions.h"
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

    WindowTest::Handler Handler() {
        return [this](HWND window, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (m != WM_PAINT) {
                return std::nullopt;
            }
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            areas.push_back(paint.rcPaint);
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

    ClearLog();
    InvalidateRect(main, &a, 1);
    Pump();
    EXPECT_EQ(Log({WM_ERASEBKGND, WM_PAINT}), (Lines{"main:WM_PAINT", "main:WM_ERASEBKGND"}));
    EXPECT_EQ(painter.areas.back(), a);
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

TEST_F(Painting, SurfaceStartsAtTheClientCornerClippedToTheInvalidArea) {
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
}

TEST_F(Painting, ParentsThatDoNotClipTheirChildrenInvalidateThemToo) {
    Painter back(kRed);
    Painter front(kBlue);
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, back.Handler());
    Make("child", WS_CHILD | WS_VISIBLE, {40, 60, 100, 100}, main, front.Handler());
    Pump();
    const RECT over{50, 70, 60, 80};
    InvalidateRect(main, &over, 0);
    Pump();
    ASSERT_EQ(front.areas.size(), 2u);
    EXPECT_EQ(front.areas[1], (RECT{10, 10, 20, 20}));
}

TEST_F(Painting, TopLevelWindowsAreComposedInZOrder) {
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
    ShowWindow(a, SW_HIDE);
    Pump();
    EXPECT_EQ(ScreenPixel(75, 75), kBlue);
    EXPECT_EQ(ScreenPixel(10, 10), kWhite);  // the bare screen
    EXPECT_EQ(GetActiveWindow(), b);
}

TEST_F(Painting, AWindowThatNeverBeginsPaintingIsNotAskedForever) {
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, testing::Answer(WM_PAINT, 0));
    Pump();
    EXPECT_EQ(Log({WM_PAINT}), (Lines{"main:WM_PAINT"}));
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(main, &pending, 0));
}

TEST_F(Painting, DrawingOutsidePaintingShowsAfterRelease) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    Pump();
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
