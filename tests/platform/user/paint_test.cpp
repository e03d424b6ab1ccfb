#include <gtest/gtest.h>

#include "window_test.h"

namespace qv {
namespace {

using namespace testing;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

class Painting : public WindowTest {};

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
    // Strips side by side and one above the other join, and take no room from the others.
    for (int i = 0; i < 8; ++i) {
        const RECT across{50 + 5 * i, 20, 55 + 5 * i, 30};
        const RECT down{20, 50 + 5 * i, 30, 55 + 5 * i};
        InvalidateRect(main, &across, 0);
        InvalidateRect(main, &down, 0);
    }
    for (int i = 0; i < 4; ++i) {  // eight rectangles in all, as many as are kept apart
        const RECT dot{100 + 20 * i, 200, 105 + 20 * i, 205};
        InvalidateRect(main, &dot, 0);
    }
    Pump();
    EXPECT_EQ(painter.areas.back(), (RECT{10, 10, 165, 205}));  // the bounds of all
    const auto expectColour = [&](COLORREF colour, std::initializer_list<POINT> points) {
        for (const POINT p : points) {
            EXPECT_EQ(ScreenPixel(p.x, p.y), colour) << p.x << "," << p.y;
        }
    };
    expectColour(kBlue, {{10, 10}, {19, 19}, {30, 30}, {39, 39}, {89, 20}, {20, 89}, {160, 200}});
    expectColour(kRed, {{20, 20}, {25, 25}, {35, 15}, {15, 35}, {60, 60}, {110, 202}});  // kept

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
    expectColour(kWhite, {{100, 100}, {119, 130}, {140, 130}, {130, 119}, {130, 140}, {159, 159}});
    expectColour(kRed, {{120, 120}, {130, 130}, {139, 139}});

    // Validating the rest too leaves nothing to paint.
    InvalidateRect(main, &block, 0);
    ValidateRect(main, &block);
    EXPECT_FALSE(GetUpdateRect(main, &pending, 0));
}

INSTANTIATE_TEST_SUITE_P(Scales, PaintClip, ::testing::Values(1, 2));

TEST_F(Painting, BeginPaintTellsWhetherTheBackgroundIsStillToErase) {
    std::vector<BOOL> told;
    std::optional<LRESULT> erasing = 0;
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr,
                           [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (m == WM_ERASEBKGND) {
                                   return erasing;
                               }
                               if (m == WM_PAINT) {
                                   PAINTSTRUCT paint;
                                   BeginPaint(w, &paint);
                                   told.push_back(paint.fErase);
                                   EXPECT_FALSE(EndPaint(w, nullptr));
                                   EXPECT_TRUE(EndPaint(w, &paint));
                                   return 0;
                               }
                               return std::nullopt;
                           });
    Pump();
    // A later invalidation without erasing leaves the erase that is still to come.
    const RECT a{10, 10, 20, 20};
    InvalidateRect(main, &a, 1);
    InvalidateRect(main, nullptr, 0);
    Pump();
    InvalidateRect(main, nullptr, 0);
    Pump();
    erasing = std::nullopt;  // the default fills the class's background
    InvalidateRect(main, nullptr, 1);
    Pump();
    // Left unerased by the window twice, no erase asked for, erased by default.
    EXPECT_EQ(told, (std::vector<BOOL>{1, 1, 0, 0}));
}

TEST_F(Painting, SurfaceStartsAtTheClientCornerClippedToTheInvalidAreaAndItsChildren) {
    Painter back(kRed);
    Painter front(kBlue);
    const HWND main = Make("main", WS_VISIBLE | WS_CLIPCHILDREN, kScreen, nullptr, back.Handler());
    const HWND child =
        Make("child", WS_CHILD | WS_VISIBLE, {40, 60, 100, 300}, main, front.Handler());
    Pump();
    // Children cover their parent: the child's blue lies over the red, at its place.
    EXPECT_EQ(std::tuple(ScreenPixel(39, 59), ScreenPixel(40, 60), ScreenPixel(99, 299)),
              std::tuple(kRed, kBlue, kBlue));

    // The parent repaints only its own pixels, never the child's.
    back.colour = kWhite;
    InvalidateRect(main, nullptr, 0);
    Pump();
    EXPECT_EQ(front.areas.size(), 1u);  // the parent clips its children: they are not asked
    EXPECT_EQ(std::pair(ScreenPixel(10, 10), ScreenPixel(50, 70)), std::pair(kWhite, kBlue));

    // A repaint of part of the child draws only there, in the child's own coordinates.
    front.colour = kRed;
    const RECT corner{0, 0, 10, 10};
    InvalidateRect(child, &corner, 0);
    Pump();
    EXPECT_EQ(std::pair(ScreenPixel(45, 65), ScreenPixel(55, 75)), std::pair(kRed, kBlue));

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
    Make("wide", WS_CHILD | WS_VISIBLE, {90, 0, 150, 10}, a, first.Handler());
    Make("b", WS_POPUP | WS_VISIBLE, {50, 50, 150, 150}, nullptr, second.Handler());
    Pump();
    EXPECT_EQ(ScreenPixel(75, 75), kBlue);  // b came last, on top
    EXPECT_EQ(ScreenPixel(120, 5), kWhite) << "a child is cut off at its parent's edge";
    SetActiveWindow(a);
    Pump();
    EXPECT_EQ(ScreenPixel(75, 75), kRed);
    // What a window covered is painted again by the window under it, whose picture may have
    // changed meanwhile; nothing else is.
    second.areas.clear();
    ShowWindow(a, SW_HIDE);
    Pump();
    EXPECT_EQ(second.areas, (std::vector<RECT>{{0, 0, 50, 50}}));
    EXPECT_EQ(std::pair(ScreenPixel(75, 75), ScreenPixel(10, 10)), std::pair(kBlue, kWhite));
    const HWND c = Make("c", WS_POPUP | WS_VISIBLE, {100, 100, 200, 200}, nullptr);
    Pump();
    EXPECT_EQ(Log({WM_PAINT, WM_ERASEBKGND}).back(), "c:" + testing::MessageName(WM_ERASEBKGND));
    second.areas.clear();
    // The host is shown each new picture once; with nothing changed, none.
    const int presented = host.Presentations();
    Pump();
    EXPECT_EQ(host.Presentations(), presented);
    DestroyWindow(c);
    Pump();
    EXPECT_EQ(second.areas, (std::vector<RECT>{{50, 50, 100, 100}}));
    EXPECT_EQ(host.Presentations(), presented + 1);
}

}  // namespace
}  // namespace qv
