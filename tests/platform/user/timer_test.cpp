#include <gtest/gtest.h>

#include "platform/user/api/timer_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using std::chrono::milliseconds;
using testing::WindowTest;

constexpr RECT kScreen{0, 0, 240, 320};

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
    host.AllowTime(milliseconds(650));
    Pump();
    // Two timers due at once fire in the order they were set.
    EXPECT_EQ(Fired(main), (std::vector<std::string>{"2@200", "1@300", "2@400", "1@600", "2@600"}));
    EXPECT_EQ(system.Now(), milliseconds(650));
}

TEST_F(Timers, SettingARunningTimerAgainRestartsItWithTheNewPeriod) {
    const HWND main = MakeTimed();
    SetTimer(main, 1, 300, nullptr);
    host.AllowTime(milliseconds(250));
    Pump();
    SetTimer(main, 1, 500, nullptr);  // at 250: the next one is due at 750, not at 300
    host.AllowTime(milliseconds(1300));
    Pump();
    EXPECT_EQ(Fired(main), (std::vector<std::string>{"1@750", "1@1250"}));
}

TEST_F(Timers, ATimerThatWaitedLongFiresOnceAndKeepsItsPhase) {
    const HWND main = MakeTimed();
    SetTimer(main, 1, 100, nullptr);
    // The program is busy for 350 ms: one WM_TIMER, then the next period starts afresh.
    host.AllowTime(milliseconds(350));
    host.Wait(milliseconds(350));
    host.AllowTime(milliseconds(100));
    Pump();
    EXPECT_EQ(Fired(main), (std::vector<std::string>{"1@350", "1@450"}));
}

void CountTick(HWND, UINT, UINT_PTR, DWORD time);
std::vector<DWORD> g_ticks;
void CountTick(HWND, UINT, UINT_PTR, DWORD time) {
    g_ticks.push_back(time);
}

TEST_F(Timers, KilledTimersStopShortPeriodsAreTenMillisecondsAndThreadTimersCallTheirProcedure) {
    const HWND main = MakeTimed();
    const HWND other = Make("other", 0, kScreen);
    SetTimer(other, 1, 10, nullptr);
    SetTimer(main, 1, 0, nullptr);
    host.AllowTime(milliseconds(25));
    Pump();
    EXPECT_EQ(Fired(main), (std::vector<std::string>{"1@10", "1@20"}));
    EXPECT_TRUE(KillTimer(main, 1));
    EXPECT_FALSE(KillTimer(main, 1));
    const UINT_PTR id = SetTimer(nullptr, 0, 40, CountTick);
    host.AllowTime(milliseconds(100));
    Pump();
    // Killing main's timer 1 left the other window's timer 1 running: every 10 ms up to 125.
    const std::vector<std::string> fired = Log({WM_TIMER});
    EXPECT_EQ(std::count(fired.begin(), fired.end(), "other:WM_TIMER"), 12);
    EXPECT_EQ(g_ticks, (std::vector<DWORD>{65, 105}));
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_EQ(SetTimer(main, 0, 10, nullptr), 0u);  // a window's timer needs an id

    // A posted value that is no timer's procedure goes to the window as an ordinary message.
    PostMessageW(main, WM_TIMER, 5, 0x1234);
    Pump();
    EXPECT_EQ(Entries().back().message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(Entries().back().lParam, 0x1234);
}

}  // namespace
}  // namespace qv
