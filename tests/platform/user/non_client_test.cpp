#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using testing::Answer;
using testing::WindowTest;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kActiveCaption = RGB(0, 0, 128);
constexpr COLORREF kInactiveCaption = RGB(128, 128, 128);
constexpr COLORREF kGreen = RGB(0, 200, 0);

class NonClient : public WindowTest {};

TEST_F(NonClient, TheWindowSaysWhereItsClientAreaLies) {
    // Ten pixels of margin all round, answered by the window itself.
    const auto margins = [](HWND window, UINT message, WPARAM, LPARAM lParam) {
        std::optional<LRESULT> answer;
        if (message == WM_NCCALCSIZE) {
            auto* r = PointerFromParam<RECT>(lParam);
            *r = {r->left + 10, r->top + 10, r->right - 10, r->bottom - 10};
            answer = 0;
        } else if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            const UniqueBrush green(CreateSolidBrush(kGreen));
            FillRect(dc, &paint.rcPaint, green.get());
            EndPaint(window, &paint);
            answer = 0;
        }
        return answer;
    };
    const HWND framed = Make("framed", WS_POPUP | WS_VISIBLE, {20, 30, 120, 230}, nullptr, margins);
    RECT client;
    GetClientRect(framed, &client);
    EXPECT_EQ(client, (RECT{0, 0, 80, 180}));
    POINT corner{0, 0};
    ClientToScreen(framed, &corner);
    EXPECT_EQ(corner, (POINT{30, 40}));
    Pump();
    EXPECT_EQ(ScreenPixel(25, 35), kWhite) << "the margin is not the client's to paint";
    EXPECT_EQ(ScreenPixel(30, 40), kGreen);
    EXPECT_EQ(ScreenPixel(109, 219), kGreen);
    EXPECT_EQ(ScreenPixel(110, 220), kWhite);

    // A tap on the margin is non-client input; inside it is the client's, in its coordinates.
    ClearLog();
    host.Tap(25, 100);
    host.Tap(31, 41);
    Pump();
    const UINT pen[] = {WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP};
    EXPECT_EQ(Log({std::begin(pen), std::end(pen)}),
              (Lines{"framed:WM_NCLBUTTONDOWN", "framed:WM_NCLBUTTONUP", "framed:WM_LBUTTONDOWN",
                     "framed:WM_LBUTTONUP"}));
    for (const auto& entry : Entries()) {
        if (entry.message == WM_NCLBUTTONDOWN) {
            EXPECT_EQ(static_cast<LRESULT>(entry.wParam), HTBORDER);
            EXPECT_EQ(entry.lParam, MAKELPARAM(25, 100)) << "in screen coordinates";
        } else if (entry.message == WM_LBUTTONDOWN) {
            EXPECT_EQ(entry.lParam, MAKELPARAM(1, 1));
        }
    }

    // A new size asks again, before the window hears of its new client size.
    ClearLog();
    MoveWindow(framed, 20, 30, 60, 50, 1);
    EXPECT_EQ(Log({WM_NCCALCSIZE, WM_SIZE}), (Lines{"framed:WM_NCCALCSIZE", "framed:WM_SIZE"}));
    EXPECT_EQ(Entries().back().lParam, MAKELPARAM(40, 30));
}

TEST_F(NonClient, AChangedFrameCountsOnlyOnceTheWindowIsToldOfIt) {
    const HWND page = Make("page", WS_POPUP | WS_VISIBLE | WS_CAPTION, {0, 20, 200, 220});
    RECT client;
    GetClientRect(page, &client);
    const LONG withCaption = client.bottom;
    SetWindowLongW(page, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_BORDER);
    GetClientRect(page, &client);
    EXPECT_EQ(client.bottom, withCaption) << "a new style alone does not move the frame";
    EXPECT_FALSE(SetWindowPos(page, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE))
        << "the stacking order is not the call's to change";

    ClearLog();
    EXPECT_TRUE(SetWindowPos(page, nullptr, 5, 6, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED));
    EXPECT_EQ(Log({WM_NCCALCSIZE, WM_SIZE, WM_MOVE}),
              (Lines{"page:WM_NCCALCSIZE", "page:WM_MOVE", "page:WM_SIZE"}));
    GetClientRect(page, &client);
    EXPECT_EQ(client, (RECT{0, 0, 198, 198}));
    RECT bounds;
    GetWindowRect(page, &bounds);
    EXPECT_EQ(bounds, (RECT{5, 6, 205, 206}));
    Pump();
    EXPECT_EQ(ScreenPixel(100, 10), kWhite) << "no caption is left behind";
}

TEST_F(NonClient, HitTestingNamesEachPartAndRoutesThePen) {
    const HWND top =
        Make("top", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_VSCROLL, {20, 40, 220, 240});
    const auto hit = [&](int x, int y) {
        return SendMessageW(top, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    // Border 1, caption 18, scroll bar 13: the client area is (21, 59) to (206, 239).
    EXPECT_EQ(hit(19, 100), HTNOWHERE);
    EXPECT_EQ(hit(220, 100), HTNOWHERE);
    EXPECT_EQ(hit(20, 40), HTBORDER);
    EXPECT_EQ(hit(100, 41), HTCAPTION);
    EXPECT_EQ(hit(100, 58), HTCAPTION);
    EXPECT_EQ(hit(21, 59), HTCLIENT);
    EXPECT_EQ(hit(205, 238), HTCLIENT);
    EXPECT_EQ(hit(206, 59), HTVSCROLL);
    EXPECT_EQ(hit(218, 238), HTVSCROLL);
    EXPECT_EQ(hit(219, 100), HTBORDER);
    EXPECT_EQ(hit(100, 239), HTBORDER);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client, (RECT{0, 0, 185, 180}));

    // What the window answers decides where the pen goes: nowhere, or to the non-client area.
    ClearLog();
    On(top, Answer(WM_NCHITTEST, HTNOWHERE));
    host.Tap(100, 100);
    Pump();
    EXPECT_TRUE(Log({WM_LBUTTONDOWN, WM_NCLBUTTONDOWN}).empty());
    On(top, Answer(WM_NCHITTEST, HTCAPTION));
    host.Tap(100, 100);
    Pump();
    EXPECT_EQ(Log({WM_LBUTTONDOWN, WM_NCLBUTTONDOWN}), (Lines{"top:WM_NCLBUTTONDOWN"}));
}

TEST_F(NonClient, FramesArePaintedByTheWindowWhenTheyChange) {
    const DWORD framed = WS_POPUP | WS_VISIBLE | WS_CAPTION;
    const HWND upper = Make("upper", framed, {0, 0, 240, 150});
    const HWND lower = Make("lower", framed, {0, 160, 240, 310});
    const HWND child = Make("child", WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, lower);
    ASSERT_NE(child, nullptr);
    Pump();
    EXPECT_EQ(Log({WM_NCPAINT}), (Lines{"lower:WM_NCPAINT", "upper:WM_NCPAINT"}))
        << "top first, and not the child without a frame";
    EXPECT_EQ(ScreenPixel(0, 0), kBlack);
    EXPECT_EQ(ScreenPixel(239, 149), kBlack);
    EXPECT_EQ(ScreenPixel(100, 3), kInactiveCaption);
    EXPECT_EQ(ScreenPixel(100, 163), kActiveCaption);

    ClearLog();
    Pump();
    EXPECT_TRUE(Log({WM_NCPAINT}).empty()) << "nothing changed";

    SetActiveWindow(upper);
    Pump();
    EXPECT_EQ(Log({WM_NCPAINT}), (Lines{"upper:WM_NCPAINT", "lower:WM_NCPAINT"}));
    EXPECT_EQ(ScreenPixel(100, 3), kActiveCaption);
    EXPECT_EQ(ScreenPixel(100, 163), kInactiveCaption);

    ClearLog();
    SetWindowTextW(lower, u"Станции");
    Pump();
    EXPECT_EQ(Log({WM_NCPAINT}), (Lines{"lower:WM_NCPAINT"}));

    // A window that paints its frame itself gets no default frame.
    ClearLog();
    const HWND own = Make("own", framed, {100, 100, 200, 200}, nullptr, Answer(WM_NCPAINT, 0));
    Pump();
    EXPECT_EQ(Log({WM_NCPAINT}), (Lines{"own:WM_NCPAINT", "upper:WM_NCPAINT"}))
        << "the new window took the activation from the upper one";
    EXPECT_EQ(ScreenPixel(100, 100), kWhite);
    EXPECT_EQ(ScreenPixel(150, 110), kWhite);
    DestroyWindow(own);
}

// Both bars: the horizontal one below the client area, the vertical one right of it, and the
// square where they meet; the horizontal bar sends WM_HSCROLL with the same codes.
TEST_F(NonClient, AHorizontalBarLiesBelowTheClientAreaAndSendsItsOwnMessage) {
    std::vector<std::string> scrolls;
    const HWND window = Make("w", WS_POPUP | WS_VISIBLE, {0, 0, 100, 200}, nullptr,
                             [&](HWND, UINT message, WPARAM wParam, LPARAM) {
                                 std::optional<LRESULT> answer;
                                 if (message == WM_HSCROLL || message == WM_VSCROLL) {
                                     scrolls.push_back((message == WM_HSCROLL ? "h " : "v ") +
                                                       std::to_string(LOWORD(wParam)) + " " +
                                                       std::to_string(HIWORD(wParam)));
                                     answer = 0;
                                 }
                                 return answer;
                             });
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = 199;
    info.nPage = 50;
    SetScrollInfo(window, SB_HORZ, &info, 1);
    SetScrollInfo(window, SB_VERT, &info, 1);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL),
              WS_HSCROLL | WS_VSCROLL);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client, (RECT{0, 0, 87, 187}));
    Pump();
    const auto hit = [&](int x, int y) {
        return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(0, 187), HTHSCROLL);
    EXPECT_EQ(hit(86, 199), HTHSCROLL);
    EXPECT_EQ(hit(87, 186), HTVSCROLL);
    EXPECT_EQ(hit(93, 193), HTBORDER) << "the square between the bars";
    EXPECT_EQ(ScreenPixel(93, 193), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ScreenPixel(20, 193), GetSysColor(COLOR_BTNFACE)) << "the thumb at the left";
    EXPECT_EQ(ScreenPixel(70, 193), GetSysColor(COLOR_3DLIGHT)) << "the track";

    // Arrows (left, right), the track right of the thumb, the thumb dragged along.
    host.Tap(3, 193);
    host.Tap(84, 193);
    host.Tap(70, 193);
    host.PenDown(15, 193);
    host.PenMove(45, 150);
    host.PenUp(45, 150);
    Pump();
    const int tracked = static_cast<int>(std::lround(30.0 * 150 / (61 - 15)));
    EXPECT_EQ(scrolls,
              (Lines{"h 0 0", "h 8 0", "h 1 0", "h 8 0", "h 3 0", "h 8 0",
                     "h 5 " + std::to_string(tracked), "h 4 " + std::to_string(tracked), "h 8 0"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // Each bar comes and goes on its own.
    EXPECT_TRUE(ShowScrollBar(window, SB_HORZ, 0));
    GetClientRect(window, &client);
    EXPECT_EQ(client, (RECT{0, 0, 87, 200}));
    EXPECT_TRUE(ShowScrollBar(window, SB_BOTH, 0));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_TRUE(ShowScrollBar(window, SB_BOTH, 1));
    GetClientRect(window, &client);
    EXPECT_EQ(client, (RECT{0, 0, 87, 187}));
}

// A window with a vertical bar of 100 units, 10 to the page, that scrolls as a program does
// and writes down what its bar sends. The bar lies at x 87 to 99: arrows 13 high at both ends,
// the track between them 174 high, the thumb 17 high.
class ScrollBar : public WindowTest {
  protected:
    static constexpr int kBarX = 93;

    ScrollBar() {
        window = Make("w", WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 100, 200}, nullptr,
                      [this](HWND w, UINT message, WPARAM wParam, LPARAM) {
                          return OnScroll(w, message, wParam);
                      });
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = 99;
        info.nPage = 10;
        SetScrollInfo(window, SB_VERT, &info, 1);
        Pump();
        ClearLog();
    }

    std::optional<LRESULT> OnScroll(HWND w, UINT message, WPARAM wParam) {
        if (message != WM_VSCROLL) {
            return std::nullopt;
        }
        SCROLLINFO info;
        info.fMask = SIF_POS | SIF_TRACKPOS;
        GetScrollInfo(w, SB_VERT, &info);
        const char* names[] = {"line up",   "line down",      "page up",
                               "page down", "thumb position", "thumb track"};
        const WORD code = LOWORD(wParam);
        std::string seen = code < std::size(names) ? names[code] : "end";
        if (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) {
            seen += " " + std::to_string(HIWORD(wParam)) + " at " + std::to_string(info.nPos) +
                    " tracking " + std::to_string(info.nTrackPos);
        }
        scrolls.push_back(seen);
        const int steps[] = {-1, 1, -10, 10};
        if (code < std::size(steps)) {
            SetScrollPos(w, SB_VERT, info.nPos + steps[code], 1);
        } else if (code == SB_THUMBPOSITION && followThumb) {
            SetScrollPos(w, SB_VERT, HIWORD(wParam), 1);
        }
        if (destroyOnScroll) {
            DestroyWindow(w);
        }
        return 0;
    }
    int Position() { return GetScrollPos(window, SB_VERT); }
    void Wait(HostTime time) {
        host.AllowTime(time);
        Pump();
    }

    HWND window = nullptr;
    std::vector<std::string> scrolls;
    bool followThumb = true;
    bool destroyOnScroll = false;
};

TEST_F(ScrollBar, AnArrowScrollsALineAndRepeatsWhileHeldOverIt) {
    EXPECT_EQ(ScreenPixel(87, 187), GetSysColor(COLOR_3DLIGHT)) << "raised";
    host.PenDown(kBarX, 195);
    Pump();
    EXPECT_EQ(scrolls, (Lines{"line down"}));
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(ScreenPixel(87, 187), GetSysColor(COLOR_BTNSHADOW)) << "pressed";
    Wait(249ms);
    EXPECT_EQ(Position(), 1) << "the first repeat waits";
    Wait(1ms);
    EXPECT_EQ(Position(), 2);
    Wait(100ms);
    EXPECT_EQ(Position(), 4) << "then one every 50 ms";

    // Off the arrow the repeats pause and the arrow looks raised; back on, they go on.
    host.PenMove(40, 195);
    Wait(200ms);
    EXPECT_EQ(Position(), 4);
    EXPECT_EQ(ScreenPixel(87, 187), GetSysColor(COLOR_3DLIGHT));
    host.PenMove(kBarX, 190);
    Wait(50ms);
    EXPECT_EQ(Position(), 5);

    host.PenUp(kBarX, 190);
    Wait(500ms);
    EXPECT_EQ(scrolls,
              (Lines{"line down", "line down", "line down", "line down", "line down", "end"}));
    EXPECT_EQ(GetCapture(), nullptr);

    host.Tap(kBarX, 5);
    Pump();
    EXPECT_EQ(Position(), 4);
    EXPECT_EQ(scrolls.back(), "end");
    EXPECT_EQ(Log({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}), Lines{})
        << "the window's client never saw the pen";
}

TEST_F(ScrollBar, TheTrackPagesUntilTheThumbReachesThePen) {
    host.PenDown(kBarX, 150);
    Wait(2s);
    // Each page moves the thumb 17.4 pixels; at 70 it lies from 135 to 152, under the pen.
    EXPECT_EQ(Position(), 70);
    EXPECT_EQ(scrolls.size(), 7U);
    host.PenUp(kBarX, 150);
    Pump();
    EXPECT_EQ(scrolls.back(), "end");
    host.Tap(kBarX, 100);
    Pump();
    EXPECT_EQ(Position(), 60);
    EXPECT_EQ(scrolls.end()[-2], "page up");
}

TEST_F(ScrollBar, DraggingTheThumbTracksThenSetsThePosition) {
    followThumb = true;
    host.PenDown(kBarX, 20);  // 7 pixels into the thumb
    host.PenMove(kBarX, 400);
    host.PenMove(kBarX, 300);  // still past the end: no news
    Pump();
    EXPECT_EQ(scrolls, (Lines{"thumb track 90 at 0 tracking 90"}));
    EXPECT_EQ(Position(), 0) << "the window did not move it";
    EXPECT_EQ(ScreenPixel(90, 185), GetSysColor(COLOR_BTNSHADOW)) << "the thumb follows the pen";
    host.PenMove(kBarX, 22);
    host.PenUp(kBarX, 22);
    Pump();
    EXPECT_EQ(scrolls, (Lines{"thumb track 90 at 0 tracking 90", "thumb track 1 at 0 tracking 1",
                              "thumb position 1 at 0 tracking 1", "end"}));
    EXPECT_EQ(Position(), 1);
    SCROLLINFO info;
    info.fMask = SIF_TRACKPOS;
    GetScrollInfo(window, SB_VERT, &info);
    EXPECT_EQ(info.nTrackPos, 1) << "no drag: the position";
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBar, AThumbDroppedBetweenTwoPositionsTakesTheNearerOne) {
    // The thumb travels 157 pixels over 90 positions: each pixel is 90/157 of a position.
    struct Case {
        int dropAt;  // the pen grabs the thumb 7 pixels in, at 20
        int position;
    };
    const Case cases[] = {
        {21, 1},    // 0.57
        {23, 2},    // 1.72
        {24, 2},    // 2.29
        {27, 4},    // 4.01
        {175, 89},  // 88.85
        {176, 89},  // 89.43
        {177, 90},  // the end of the travel
    };
    for (const Case& c : cases) {
        SetScrollPos(window, SB_VERT, 0, 1);
        scrolls.clear();
        host.PenDown(kBarX, 20);
        host.PenMove(kBarX, c.dropAt);
        host.PenUp(kBarX, c.dropAt);
        Pump();
        EXPECT_EQ(Position(), c.position) << c.dropAt;
        ASSERT_GE(scrolls.size(), 2U) << c.dropAt;
        EXPECT_TRUE(
            scrolls.end()[-2].starts_with("thumb position " + std::to_string(c.position) + " at"))
            << c.dropAt << ": " << scrolls.end()[-2];
    }
}

TEST_F(ScrollBar, SetScrollInfoClampsAndTheBarHidesWhenTheRangeFits) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = 95;
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, 1), 90) << "max - page + 1";
    EXPECT_EQ(SetScrollPos(window, SB_VERT, -5, 1), 90);
    EXPECT_EQ(Position(), 0);

    // The page holds the whole range: the bar goes and the client area grows.
    ClearLog();
    info.fMask = SIF_PAGE;
    info.nPage = 500;
    SetScrollInfo(window, SB_VERT, &info, 1);
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_VERT, &info);
    EXPECT_EQ(info.nPage, 100U) << "held to the range";
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(Log({WM_NCCALCSIZE, WM_SIZE}), (Lines{"w:WM_NCCALCSIZE", "w:WM_SIZE"}));
    EXPECT_EQ(Entries().back().lParam, MAKELPARAM(100, 200));
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(kBarX, 100)), HTCLIENT);

    // Kept but greyed when asked, and then it does nothing.
    info.fMask = SIF_PAGE | SIF_DISABLENOSCROLL;
    SetScrollInfo(window, SB_VERT, &info, 1);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 87);
    host.Tap(kBarX, 195);
    host.Tap(kBarX, 100);
    Pump();
    EXPECT_TRUE(scrolls.empty());
    EXPECT_EQ(ScreenPixel(kBarX, 100), GetSysColor(COLOR_3DLIGHT)) << "no thumb";
    info.fMask = SIF_PAGE;
    info.nPage = 50;
    SetScrollInfo(window, SB_VERT, &info, 1);
    host.Tap(kBarX, 195);
    Pump();
    EXPECT_EQ(scrolls, (Lines{"line down", "end"}));

    // A range upside down is empty; a missing bar or window is refused.
    EXPECT_TRUE(SetScrollRange(window, SB_VERT, 10, 5, 1));
    int low = 0;
    int high = 0;
    EXPECT_TRUE(GetScrollRange(window, SB_VERT, &low, &high));
    EXPECT_EQ(std::pair(low, high), std::pair(10, 10));
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(SetScrollInfo(window, SB_CTL, &info, 1), 0);
    EXPECT_FALSE(GetScrollInfo(window, SB_CTL, &info));
    EXPECT_FALSE(GetScrollInfo(window, SB_BOTH, &info));
    EXPECT_FALSE(GetScrollInfo(nullptr, SB_VERT, &info));
    EXPECT_FALSE(GetScrollInfo(window, SB_VERT, nullptr));

    // The widest range there is, with a page as large as can be said.
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = INT_MIN;
    info.nMax = INT_MAX;
    info.nPage = UINT_MAX;
    info.nPos = INT_MAX;
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, 1), 1) << "max - (INT_MAX - 1)";
    info.nPos = INT_MIN;
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, 1), INT_MIN);
    scrolls.clear();
    followThumb = false;
    host.PenDown(kBarX, 20);
    host.PenMove(kBarX, 60);
    host.PenUp(kBarX, 60);
    Pump();
    ASSERT_EQ(scrolls.size(), 3U);
    EXPECT_EQ(scrolls[1].substr(0, 14), "thumb position");
    EXPECT_EQ(scrolls[2], "end");
    // With no page the thumb dragged past the end tracks to the largest position.
    info.nPage = 0;
    SetScrollInfo(window, SB_VERT, &info, 1);
    scrolls.clear();
    host.PenDown(kBarX, 14);
    host.PenMove(kBarX, 400);
    Pump();
    ASSERT_FALSE(scrolls.empty());
    EXPECT_NE(scrolls.back().find("tracking 2147483647"), std::string::npos) << scrolls.back();
    host.PenUp(kBarX, 400);
    Pump();

    EXPECT_TRUE(ShowScrollBar(window, SB_VERT, 1));
    EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL, 0);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 87);
}

TEST_F(ScrollBar, AHoldEndsWhenTheCaptureGoesOrTheWindowDoes) {
    const HWND other = Make("other", WS_POPUP | WS_VISIBLE, {120, 0, 200, 100});
    host.PenDown(kBarX, 195);
    Pump();
    SetCapture(other);
    EXPECT_EQ(scrolls, (Lines{"line down", "end"}));
    Wait(1s);
    EXPECT_EQ(scrolls.size(), 2U) << "no repeats after the hold ended";
    host.PenUp(kBarX, 195);
    Pump();
    ReleaseCapture();

    // A window that keeps the news of its lost capture to itself can still use its bar later.
    On(window, [this](HWND w, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        return message == WM_CAPTURECHANGED ? std::optional<LRESULT>(0)
                                            : OnScroll(w, message, wParam);
    });
    host.PenDown(kBarX, 195);
    Pump();
    SetCapture(other);
    Wait(1s);
    ReleaseCapture();
    host.PenUp(150, 50);
    host.Tap(kBarX, 5);
    Wait(1s);
    EXPECT_EQ(scrolls, (Lines{"line down", "end", "line down", "line up", "end"}))
        << "no repeats once the capture went";

    destroyOnScroll = true;
    host.PenDown(kBarX, 195);
    Wait(1s);
    host.PenUp(kBarX, 195);
    Pump();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(scrolls.size(), 6U);
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace qv
