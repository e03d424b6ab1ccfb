#include <gtest/gtest.h>

#include "platform/host/virtual_keys.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace testing;
using std::chrono::milliseconds;

class MessageLoop : public WindowTest {};

TEST_F(MessageLoop, PostedComeBeforeInputThenQuitThenPaintThenTimers) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    SetTimer(main, 1, 10, nullptr);
    host.AllowTime(milliseconds(10));
    host.Wait(milliseconds(10));  // the timer is due now
    InvalidateRect(main, nullptr, 0);
    host.Tap(5, 5);
    PostMessageW(main, WM_USER, 1, 0);
    PostMessageW(main, WM_USER, 2, 0);
    PostQuitMessage(7);
    ClearLog();
    MSG message;
    std::vector<std::string> order;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(testing::MessageName(message.message));
        if (message.message == WM_QUIT) {
            EXPECT_EQ(message.wParam, 7u);
            continue;
        }
        DispatchMessageW(&message);
    }
    EXPECT_EQ(order, (Lines{"WM_USER", "WM_USER", "WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_QUIT",
                            "WM_PAINT", "WM_TIMER"}));
    EXPECT_EQ(Entries()[1].wParam, 2u);
}

TEST_F(MessageLoop, GetMessageEndsWithTheQuitCode) {
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr,
                           [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                               if (m == WM_DESTROY) {
                                   PostQuitMessage(3);
                               }
                               return std::nullopt;
                           });
    PostMessageW(main, WM_CLOSE, 0, 0);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(system.RanOutOfInput());
}

TEST_F(MessageLoop, KeysMakeCharactersOnlyWhereTheHostSendsNoText) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    host.Key(VK_RETURN);
    host.Key('A');  // its letter comes as text
    host.Type(u"ж");
    ClearLog();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP;
        EXPECT_EQ(TranslateMessage(&message) != 0, key) << message.message;
        DispatchMessageW(&message);
    }
    EXPECT_EQ(Params(WM_CHAR), (std::vector<LPARAM>{u'\r', u'ж'}));

    // The character is the very next message, before one posted earlier that a filter held back;
    // a peek that does not remove leaves it.
    const HWND other = Make("other", 0, kScreen);
    PostMessageW(other, WM_USER, 0, 0);
    host.Key(VK_ESCAPE);
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_USER + 1, WM_USER + 2, PM_REMOVE));
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.hwnd, other);
    ASSERT_TRUE(PeekMessageW(&message, main, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_KEYDOWN);
    TranslateMessage(&message);
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_CHAR);
    EXPECT_EQ(message.wParam, 0x1Bu);
}

class Timers : public WindowTest {
  protected:
    // Each WM_TIMER as "id@time" on the virtual clock.
    std::vector<std::string> Fired(HWND window) {
        std::vector<std::string> fired;
        for (const auto& entry : Entries()) {
            if (entry.window == window && entry.message == WM_TIMER) {
                fired.push_back(std::to_string(entry.wParam) + "@" +
                                std::to_string(times_[fired.size()]));
            }
        }
        return fired;
    }
    HWND MakeTimed() {
        return Make("main", WS_VISIBLE, kScreen, nullptr,
                    [this](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == WM_TIMER) {
                            times_.push_back(system.Now().count());
                        }
                        return std::nullopt;
                    });
    }
    std::vector<long long> times_;
};

TEST_F(Timers, FireInOrderOnTheVirtualClock) {
    const HWND main = MakeTimed();
    EXPECT_EQ(SetTimer(main, 1, 300, nullptr), 1u);
    EXPECT_EQ(SetTimer(main, 2, 200, nullptr), 2u);
    host.AllowTime(milliseconds(100));
    Pump();
    SetTimer(main, 1, 300, nullptr);  // set again at 100: due afresh at 400, now set after 2
    host.AllowTime(milliseconds(550));
    Pump();
    SetTimer(main, 1, 150, nullptr);  // at 650, with a shorter period: due at 800, not 700
    host.AllowTime(milliseconds(300));
    Pump();
    // Two timers due at once fire in the order they were set.
    EXPECT_EQ(Fired(main), (std::vector<std::string>{"2@200", "2@400", "1@400", "2@600", "2@800",
                                                     "1@800", "1@950"}));
}

TEST_F(Timers, ATimerThatWaitedLongFiresOnceAndKeepsItsPhase) {
    const HWND main = MakeTimed();
    SetTimer(main, 1, 100, nullptr);
    // The program is busy for 350 ms: one WM_TIMER, then the next period starts afresh.
    host.AllowTime(milliseconds(350));
    host.Wait(milliseconds(350));
    host.AllowTime(milliseconds(100));
    Pump();
    // Busy for exactly two periods: the next one is still a whole period away.
    KillTimer(main, 1);
    SetTimer(main, 2, 100, nullptr);
    host.AllowTime(milliseconds(200));
    host.Wait(milliseconds(650));
    host.AllowTime(milliseconds(100));
    Pump();
    // Late by less than a period: the next one keeps the rhythm.
    host.AllowTime(milliseconds(130));
    host.Wait(milliseconds(880));
    host.AllowTime(milliseconds(90));
    Pump();
    EXPECT_EQ(Fired(main),
              (std::vector<std::string>{"1@350", "1@450", "2@650", "2@750", "2@880", "2@950"}));
}

TEST_F(Timers, KilledTimersStopShortPeriodsAreTenMillisecondsAndThreadTimersCallTheirProcedure) {
    static std::vector<DWORD> ticks;
    ticks.clear();
    const TIMERPROC countTick = [](HWND, UINT, UINT_PTR, DWORD time) { ticks.push_back(time); };
    const HWND main = MakeTimed();
    const HWND other = Make("other", 0, kScreen);
    SetTimer(other, 1, 10, nullptr);
    SetTimer(main, 1, 0, nullptr);
    host.AllowTime(milliseconds(25));
    Pump();
    EXPECT_EQ(Fired(main), (std::vector<std::string>{"1@10", "1@20"}));
    EXPECT_TRUE(KillTimer(main, 1));
    EXPECT_FALSE(KillTimer(main, 1));
    const UINT_PTR id = SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR, DWORD) {});
    EXPECT_EQ(SetTimer(nullptr, id, 40, countTick), id) << "restarted with it, not another";
    SetTimer(nullptr, 0, 60, countTick);  // another beside it
    host.AllowTime(milliseconds(100));
    Pump();
    // Killing main's timer 1 left the other window's timer 1 running: every 10 ms up to 125.
    const std::vector<std::string> fired = Log({WM_TIMER});
    EXPECT_EQ(std::count(fired.begin(), fired.end(), "other:WM_TIMER"), 12);
    EXPECT_EQ(fired.front(), "other:WM_TIMER") << "of two due at once, the one set first";
    EXPECT_EQ(SetTimer(main, 0, 10, nullptr), 0u);  // a window's timer needs an id

    // A posted procedure that runs no timer of that window and id is an ordinary message.
    PostMessageW(main, WM_TIMER, 5, reinterpret_cast<LPARAM>(countTick));
    Pump();
    EXPECT_EQ(Entries().back().lParam, reinterpret_cast<LPARAM>(countTick));
    EXPECT_EQ(ticks, (std::vector<DWORD>{65, 85, 105}));
    EXPECT_TRUE(KillTimer(nullptr, id));
}

}  // namespace
}  // namespace qv
