#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/gdi/system_metrics.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace testing;
using namespace std::chrono_literals;

class NonClient : public WindowTest {};

TEST_F(NonClient, TheWindowSaysWhereItsClientAreaLiesAndThePenIsRoutedByIt) {
    // Ten pixels of margin all round, answered by the window itself.
    RECT client;
    const HWND framed =
        Make("framed", WS_POPUP | WS_VISIBLE, {20, 30, 120, 230}, nullptr,
             [&client](HWND self, UINT message, WPARAM, LPARAM lParam) {
                 std::optional<LRESULT> answer;
                 if (message == WM_NCCALCSIZE) {
                     GetClientRect(self, &client);
                     auto* r = PointerFromParam<RECT>(lParam);
                     *r = {r->left + 10, r->top + 10, r->right - 10, r->bottom - 10};
                     answer = 0;
                 }
                 return answer;
             });
    GetClientRect(framed, &client);
    EXPECT_EQ(client, (RECT{0, 0, 80, 180}));
    POINT corner{0, 0};
    ClientToScreen(framed, &corner);
    EXPECT_EQ(corner, (POINT{30, 40}));
    ScreenToClient(framed, &corner);
    EXPECT_EQ(corner, (POINT{0, 0}));

    // A tap on the margin is non-client input; inside it is the client's, in its coordinates.
    ClearLog();
    host.Tap(25, 100);
    host.Tap(31, 41);
    Pump();
    EXPECT_EQ(Log({WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}),
              (Lines{"framed:WM_NCLBUTTONDOWN", "framed:WM_NCLBUTTONUP", "framed:WM_LBUTTONDOWN",
                     "framed:WM_LBUTTONUP"}));
    // The non-client pen in screen coordinates, the client's in its own.
    EXPECT_EQ(Params(WM_NCLBUTTONDOWN, Param::L), std::vector<LPARAM>{MAKELPARAM(25, 100)});
    EXPECT_EQ(Params(WM_LBUTTONDOWN, Param::L), std::vector<LPARAM>{MAKELPARAM(1, 1)});
    MoveWindow(framed, 20, 30, 15, 5, 0);  // asked for its frame, it sees no client, not less
    EXPECT_EQ(client, (RECT{0, 0, 0, 0}));
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
        const SCROLLINFO info{.fMask = SIF_RANGE | SIF_PAGE | SIF_POS, .nMax = 99, .nPage = 10};
        SetScrollInfo(window, SB_VERT, &info, 1);
        Pump();
        ClearLog();
    }

    std::optional<LRESULT> OnScroll(HWND w, UINT message, WPARAM wParam) {
        if (message == WM_HSCROLL) {
            scrolls.push_back("h " + std::to_string(LOWORD(wParam)) + " " +
                              std::to_string(HIWORD(wParam)));
            return 0;
        }
        if (message != WM_VSCROLL) {
            return std::nullopt;
        }
        SCROLLINFO info{.fMask = SIF_POS | SIF_TRACKPOS};
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
};

// Both bars: the horizontal one below the client area, the vertical one right of it, and the
// square where they meet; the horizontal bar sends WM_HSCROLL with the same codes.
TEST_F(ScrollBar, AHorizontalBarLiesBelowTheClientAreaAndSendsItsOwnMessage) {
    ShowScrollBar(window, SB_VERT, 0);  // for the range to show it again
    const SCROLLINFO info{.fMask = SIF_RANGE | SIF_PAGE, .nMax = 199, .nPage = 50};
    SetScrollInfo(window, SB_HORZ, &info, 1);
    SetScrollInfo(window, SB_VERT, &info, 1);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL),
              WS_HSCROLL | WS_VSCROLL);
    ShowScrollBar(window, SB_BOTH, 0);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    ShowScrollBar(window, SB_BOTH, 1);
    int min = 0;
    EXPECT_FALSE(GetScrollRange(window, SB_HORZ, &min, nullptr)) << "nowhere to put it";
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client, (RECT{0, 0, 87, 187}));
    Pump();
    const std::tuple<int, int, LRESULT> hits[] = {
        {0, 187, HTHSCROLL}, {86, 199, HTHSCROLL}, {87, 186, HTVSCROLL}, {93, 193, HTBORDER}};
    for (const auto& [x, y, part] : hits) {
        EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)), part) << x << "," << y;
    }

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
}

TEST_F(ScrollBar, AnArrowScrollsALineAndRepeatsWhileHeldOverIt) {
    host.PenDown(kBarX, 187 /* the arrow's first pixel */);
    Pump();
    EXPECT_EQ(scrolls, (Lines{"line down"}));
    EXPECT_EQ(ScreenPixel(87, 187), GetSysColor(COLOR_BTNSHADOW)) << "pressed";
    EXPECT_EQ(ScreenPixel(99, 199), GetSysColor(COLOR_BTNSHADOW)) << "its shadow all round";
    // Its arrow a pixel down and right: the tip moves from (93, 194), the base off (90, 191).
    EXPECT_EQ(ScreenPixel(94, 195), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(ScreenPixel(90, 191), GetSysColor(COLOR_BTNFACE));
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
    // On a bar too short for two whole arrows each takes half of it.
    MoveWindow(window, 0, 0, 100, 20, 1);
    host.Tap(kBarX, 9);
    host.Tap(kBarX, 10);
    Wait(500ms);
    EXPECT_EQ(scrolls, (Lines{"line down", "line down", "line down", "line down", "line down",
                              "end", "line up", "end", "line down", "end"}));
    EXPECT_EQ(GetCapture(), nullptr);

    EXPECT_EQ(Log({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}), Lines{})
        << "the window's client never saw the pen";
}

TEST_F(ScrollBar, DraggingTheThumbTracksThenSetsThePosition) {
    host.PenDown(kBarX, 20);  // 7 pixels into the thumb
    host.PenMove(kBarX, 400);
    host.PenMove(kBarX, 300);  // still past the end: no news
    Pump();
    EXPECT_EQ(Position(), 0) << "the window did not move it";
    EXPECT_EQ(ScreenPixel(90, 185), GetSysColor(COLOR_BTNSHADOW)) << "the thumb follows the pen";
    host.PenMove(kBarX, 22);
    host.PenUp(kBarX, 22);
    Pump();
    EXPECT_EQ(scrolls, (Lines{"thumb track 90 at 0 tracking 90", "thumb track 1 at 0 tracking 1",
                              "thumb position 1 at 0 tracking 1", "end"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ScrollBar, ThePenTakesThePartUnderItAndADroppedThumbTheNearestPosition) {
    // What the bar sent last before the end, without what the thumb was tracked to.
    const auto sent = [&](int position, int down, int up) {
        SetScrollPos(window, SB_VERT, position, 1);
        scrolls.clear();
        host.PenDown(kBarX, down);
        host.PenMove(kBarX, up);
        host.PenUp(kBarX, up);
        Pump();
        return scrolls.size() < 2 ? "" : scrolls.end()[-2].substr(0, scrolls.end()[-2].find(" at"));
    };
    // The thumb, 17 high at 13 + 157 * position / 90, is taken from its first pixel to its last;
    // the pixels either side of it page or scroll a line.
    const std::tuple<int, int, int, int, int, const char*, const char*> taps[] = {
        {45, 90, 91, 107, 108, "page up", "page down"},
        {0, 12, 13, 29, 30, "line up", "page down"},
        {90, 169, 170, 186, 187, "page up", "line down"}};
    for (const auto& [position, before, first, last, after, up, down] : taps) {
        const std::string thumb = "thumb position " + std::to_string(position);
        EXPECT_EQ(sent(position, before, before), up) << position;
        EXPECT_EQ(sent(position, first, first), thumb);
        EXPECT_EQ(sent(position, last, last), thumb);
        EXPECT_EQ(sent(position, after, after), down) << position;
    }
    // Grabbed 7 pixels in at 20 and dropped between two positions, it takes the nearer one.
    const std::pair<int, int> dropAndPosition[] = {{21, 1},   {23, 2},   {24, 2},  {27, 4},
                                                   {175, 89}, {176, 89}, {177, 90}};
    for (const auto& [dropAt, position] : dropAndPosition) {
        EXPECT_EQ(sent(0, 20, dropAt), "thumb position " + std::to_string(position)) << dropAt;
    }
}

// From 50 (the thumb at 100 to 116) to the pen 40 pixels off; the held part looks dark till then.
TEST_F(ScrollBar, ThePenHeldOnTheTrackPagesUntilTheThumbReachesIt) {
    for (const auto& [pen, page] : {std::pair{60, -10}, {156, 10}}) {
        SetScrollPos(window, SB_VERT, 50, 1);
        host.PenDown(kBarX, pen);
        for (const auto& [time, pages] :
             {std::pair{0ms, 1}, {249ms, 1}, {1ms, 2}, {50ms, 3}, {500ms, 3}}) {
            Wait(time);
            EXPECT_EQ(Position(), 50 + pages * page) << time.count();
            EXPECT_EQ(ScreenPixel(kBarX, pen) == GetSysColor(COLOR_3DDKSHADOW), pages < 3);
        }
        host.PenUp(kBarX, pen);
    }
}

TEST_F(ScrollBar, SetScrollInfoClampsAndTheBarHidesWhenTheRangeFits) {
    SCROLLINFO info{.fMask = SIF_POS, .nPos = 95};
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, 1), 90) << "max - page + 1";
    EXPECT_EQ(SetScrollPos(window, SB_VERT, -5, 1), 90);
    EXPECT_EQ(Position(), 0);

    // The page holds the whole range: the bar goes and the client area grows.
    ClearLog();
    info = {.fMask = SIF_PAGE, .nPage = 500};
    SetScrollInfo(window, SB_VERT, &info, 1);
    GetScrollInfo(window, SB_VERT, &info);
    EXPECT_EQ(info.nPage, 100U) << "held to the range";
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_VSCROLL, 0);
    EXPECT_EQ(Log({WM_NCCALCSIZE, WM_SIZE}), (Lines{"w:WM_NCCALCSIZE", "w:WM_SIZE"}));
    EXPECT_EQ(Entries().back().lParam, MAKELPARAM(100, 200));

    // Shown again or kept with nothing to scroll, its arrows are grey, as disabled, and do nothing.
    const std::tuple<UINT, UINT, bool> looks[] = {
        {SIF_POS, 100, false}, {SIF_PAGE, 99, true}, {SIF_PAGE | SIF_DISABLENOSCROLL, 100, false}};
    for (const auto& [mask, page, live] : looks) {
        ShowScrollBar(window, SB_VERT, 1);
        const SCROLLINFO set{.fMask = mask, .nPage = page};
        SetScrollInfo(window, SB_VERT, &set, 1);
        host.Tap(kBarX, 195);
        Pump();
        EXPECT_EQ(ScreenPixel(kBarX, 6), live ? RGB(0, 0, 0) : RGB(128, 128, 128)) << mask;
        EXPECT_EQ(ScreenPixel(kBarX, 192), ScreenPixel(kBarX, 6)) << "the down arrow alike";
    }
    EXPECT_EQ(std::exchange(scrolls, {}), (Lines{"line down", "end"}));

    // The widest range there is, with a page as large as can be said.
    info = {.fMask = SIF_RANGE | SIF_PAGE | SIF_POS,
            .nMin = INT_MIN,
            .nMax = INT_MAX,
            .nPage = UINT_MAX,
            .nPos = INT_MAX};
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, 1), 1) << "max - (INT_MAX - 1)";
    info.nPos = INT_MIN;
    EXPECT_EQ(SetScrollInfo(window, SB_VERT, &info, 1), INT_MIN);
    followThumb = false;
    host.PenDown(kBarX, 20);
    host.PenMove(kBarX, 60);
    host.PenUp(kBarX, 60);
    Pump();
    ASSERT_EQ(scrolls.size(), 3U);
    EXPECT_EQ(scrolls[1].substr(0, 14), "thumb position");
    // With no page the thumb dragged past the end tracks to the largest position.
    info.nPage = 0;
    SetScrollInfo(window, SB_VERT, &info, 1);
    host.PenDown(kBarX, 14);
    host.PenMove(kBarX, 400);
    Pump();
    EXPECT_NE(scrolls.back().find("tracking 2147483647"), std::string::npos) << scrolls.back();
    host.PenUp(kBarX, 400);
    Pump();
}

TEST_F(ScrollBar, AHoldEndsWhenTheCaptureGoes) {
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
}

}  // namespace
}  // namespace qv
