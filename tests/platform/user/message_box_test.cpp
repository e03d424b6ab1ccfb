#include "platform/controls/message_box.h"

#include <gtest/gtest.h>

#include "platform/host/virtual_keys.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/system_parameters.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace testing;

constexpr UINT kShowBox = WM_USER;

class MessageBoxes : public WindowTest {
  protected:
    // The work area the device's shell sets between its bars.
    MessageBoxes() {
        RECT work = WorkArea();
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    }

    // A main window that shows a box when asked, and on its timer runs `duringBox`.
    HWND MakeMain() {
        return Make("main", WS_VISIBLE, kScreen, nullptr,
                    [this](HWND self, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == kShowBox) {
                            results.push_back(MessageBoxW(self, u"Старый формат схемы", u"Ошибка",
                                                          MB_OK | MB_ICONHAND | MB_TOPMOST));
                            return 0;
                        }
                        if (m == WM_TIMER && duringBox) {
                            duringBox();
                        }
                        return std::nullopt;
                    });
    }
    HWND FindBox() const { return FindWindowW(kDialogClassName.data(), u"Ошибка"); }

    std::vector<int> results;
    std::function<void()> duringBox;
};

TEST_F(MessageBoxes, TheBoxShowsCaptionIconTextAndButtonAndATapOnOkEndsIt) {
    const HWND main = MakeMain();
    SetTimer(main, 1, 100, nullptr);
    RECT box{}, ok{};
    bool okFocused = false;
    bool seen = false;
    duringBox = [&] {
        const HWND found = FindBox();
        if (!found || std::exchange(seen, true)) {
            return;
        }
        GetWindowRect(found, &box);
        GetWindowRect(GetDlgItem(found, IDOK), &ok);
        okFocused = GetFocus() == GetDlgItem(found, IDOK);
        EXPECT_NE(GetWindowLongW(found, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "as asked";
        const auto at = [&](int x, int y, COLORREF colour) {
            EXPECT_EQ(ScreenPixel(x, y), colour) << x - box.left << "," << y - box.top;
        };
        at(box.left + 60, box.top + 5, RGB(0, 0, 128));                         // the caption bar
        at(box.left, box.top + 40, RGB(0, 0, 0));                               // the frame
        at(box.left + 1 + 8 + 16, box.top + 19 + 10 + 16, RGB(255, 255, 255));  // its white middle
        at(box.left + 1 + 8 + 3, box.top + 19 + 10 + 16, RGB(255, 0, 0));       // the icon's red
        at(ok.left, (ok.top + ok.bottom) / 2, RGB(0, 0, 0));     // the button's frame
        at(box.left + 100, box.bottom - 3, RGB(255, 255, 255));  // white below the button
        // A tap beside the box reaches nobody; a tap on "ok" ends it.
        host.Tap(5, 5);
        host.Tap((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
    };
    PostMessageW(main, kShowBox, 0, 0);
    host.AllowTime(std::chrono::milliseconds(500));
    Pump();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(okFocused);
    EXPECT_EQ(results, (std::vector<int>{IDOK}));
    EXPECT_EQ(FindBox(), nullptr);
    EXPECT_TRUE(Log({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    // Centred, clear of the navigation and menu bars.
    EXPECT_EQ(std::pair(box.left, box.top), std::pair(240 - box.right, 320 - box.bottom));
    EXPECT_GE(box.top, WorkArea().top);
    // After the box the main window is whole again.
    EXPECT_EQ(ScreenPixel(box.left + 60, box.top + 5), RGB(255, 255, 255));
}

// A text too long for the screen is cut to the work area, wherever the area is put.
TEST_F(MessageBoxes, ALongTextKeepsTheBoxToTheWorkArea) {
    const HWND main = MakeMain();
    std::u16string text;
    for (int i = 0; i < 400; ++i) {
        text += u"Маршрут ";
    }
    RECT box{}, ok{};
    int inkAboveOk = 0;
    std::function<void(HWND)> close;
    On(main, [&](HWND self, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == kShowBox) {
            results.push_back(MessageBoxW(self, text, u"", MB_OK));  // the system's caption
        }
        if (m == WM_TIMER) {
            GetWindowRect(FindBox(), &box);
            GetWindowRect(GetDlgItem(FindBox(), IDOK), &ok);
            for (int i = 0; i < 8 * 200; ++i) {  // the margin's rows, across the text
                inkAboveOk +=
                    ScreenPixel(box.left + 1 + i % 200, ok.top - 8 + i / 200) != RGB(255, 255, 255);
            }
            close(FindBox());
        }
        return std::nullopt;
    });
    RECT work{20, 100, 220, 300};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0));
    SetTimer(main, 1, 50, nullptr);
    // Enter, Escape, closing and cancelling each end the box in time, with its one answer.
    const std::function<void(HWND)> closers[] = {
        [&](HWND) { host.Key(VK_RETURN); }, [&](HWND) { host.Key(VK_ESCAPE); },
        [](HWND found) { PostMessageW(found, WM_CLOSE, 0, 0); },
        [](HWND found) { PostMessageW(found, WM_COMMAND, IDCANCEL, 0); }};
    for (const auto& closer : closers) {
        close = closer;
        PostMessageW(main, kShowBox, 0, 0);
        host.AllowTime(std::chrono::milliseconds(60));
        EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle) << results.size();
    }
    EXPECT_EQ(std::pair(box.top, box.bottom), std::pair(work.top, work.bottom));
    EXPECT_EQ(box.left - work.left, work.right - box.right) << "centred across it";
    EXPECT_EQ(box.bottom - ok.bottom, 1 + 8) << "the frame and a margin below ok";
    EXPECT_EQ(inkAboveOk, 0) << "the text is cut a margin above ok";
    EXPECT_EQ(MessageBoxW(main, u"", u"", MB_OKCANCEL), 0) << "only the ok box is offered";

    // No key will come: the headless host runs out, which asks the program to end.
    KillTimer(main, 1);
    PostMessageW(main, kShowBox, 0, 0);
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Quit);
    EXPECT_EQ(results, std::vector<int>(5, IDOK));
    // An empty work area or another parameter is refused.
    for (RECT bad : {RECT{0, 100, 240, 100}, RECT{100, 0, 50, 320}}) {
        EXPECT_FALSE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &bad, 0));
    }
    EXPECT_FALSE(SystemParametersInfoW(0, 0, &box, 0));
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
}

}  // namespace
}  // namespace qv
