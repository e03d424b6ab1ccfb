#include <gtest/gtest.h>

#include "platform/gdi/shapes.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace std::chrono_literals;
using HostInput = testing::WindowTest;
using Lines = std::vector<std::string>;

TEST_F(HostInput, ClosingTheDesktopWindowClosesTheActiveWindowElseTheTopVisibleOneElseQuits) {
    Make("main", WS_VISIBLE, {0, 0, 240, 320});
    Make("tip", WS_POPUP | WS_VISIBLE, {0, 0, 50, 20}, nullptr, {}, WS_EX_NOACTIVATE);
    Make("hidden", WS_POPUP, {0, 0, 50, 20});               // the top of the z-order
    for (const std::string closed : {"main", "tip", ""}) {  // then nothing visible is left
        ClearLog();
        host.Close();
        EXPECT_EQ(Pump(),
                  closed.empty() ? WindowSystem::PumpResult::Quit : WindowSystem::PumpResult::Idle);
        EXPECT_EQ(Log({WM_CLOSE}),
                  closed.empty() ? Lines{} : Lines{closed + ":" + testing::MessageName(WM_CLOSE)});
    }
}

HostInput::Handler Fill(COLORREF colour) {
    return [=](HWND window, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT paint;
        FillRect(BeginPaint(window, &paint), &paint.rcPaint,
                 UniqueBrush(CreateSolidBrush(colour)).get());
        EndPaint(window, &paint);
        return 0;
    };
}

TEST_F(HostInput, AScaleChangeRedrawsEveryWindowAtTheNewScale) {
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), green = RGB(0, 255, 0);
    const HWND main = Make("main", WS_VISIBLE, {0, 0, 240, 320}, nullptr, Fill(blue));
    Make("child", WS_CHILD | WS_VISIBLE, {10, 20, 30, 40}, main, Fill(red));
    Make("popup", WS_POPUP | WS_VISIBLE | WS_BORDER, {100, 100, 140, 120}, nullptr, Fill(green));
    Pump();
    host.ChangeScale(3);
    Pump();
    ASSERT_EQ(host.LastFrame()->DeviceHeight(), 960);  // then pixels either side of the edges
    const std::tuple<int, int, COLORREF> pixels[] = {
        {29, 59, blue},           {30, 60, red},     {89, 119, red},  {90, 120, blue},
        {302, 302, RGB(0, 0, 0)}, {303, 303, green}, {420, 360, blue}};
    for (const auto& [x, y, colour] : pixels) {
        EXPECT_EQ(host.LastFrame()->GetPixel(x, y), colour) << x << "," << y;
    }
}

TEST_F(HostInput, ThePenHeldOnTheTrackAboveTheThumbPagesUpUntilTheThumbReachesIt) {
    const HWND window = Make("w", WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 100, 200}, nullptr,
                             [](HWND w, UINT m, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
                                 if (m == WM_VSCROLL && LOWORD(wParam) == SB_PAGEUP) {
                                     SetScrollPos(w, SB_VERT, GetScrollPos(w, SB_VERT) - 10, 1);
                                 }
                                 return std::nullopt;
                             });
    const SCROLLINFO info{.fMask = SIF_ALL, .nMax = 99, .nPage = 10, .nPos = 50};
    SetScrollInfo(window, SB_VERT, &info, 1);
    // The track is 13 to 187; the 17-pixel thumb starts 157 * position / 90 into it.
    host.PenDown(93, 60);
    const std::pair<HostTime, int> steps[] = {
        {0ms, 40}, {249ms, 40}, {1ms, 30}, {50ms, 20}, {500ms, 20}};
    for (const auto& [time, position] : steps) {
        host.AllowTime(time);
        Pump();
        EXPECT_EQ(GetScrollPos(window, SB_VERT), position) << time.count();
    }
}

}  // namespace
}  // namespace qv
