#include "platform/controls/message_box.h"

#include <gtest/gtest.h>

#include "platform/controls/control_codes.h"
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

using testing::WindowTest;
using Lines = std::vector<std::string>;

constexpr RECT kScreen{0, 0, 240, 320};
constexpr UINT kShowBox = WM_USER;

class MessageBoxes : public WindowTest {
  protected:
    // The work area the device's shell sets between its bars.
    MessageBoxes() {
        RECT work = WorkArea();
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    }

    // A main window that shows a box when asked, and on its timer runs `duringBox`.
    HWND MakeMain(UINT type = MB_OK | MB_ICONHAND, bool withOwner = true) {
        return Make("main", WS_VISIBLE, kScreen, nullptr,
                    [=, this](HWND self, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                        if (m == kShowBox) {
                            results.push_back(MessageBoxW(withOwner ? self : nullptr,
                                                          u"Старый формат схемы", u"Ошибка", type));
                            activeAfterBox = GetActiveWindow();
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
    HWND activeAfterBox = nullptr;
    std::function<void()> duringBox;
};

TEST_F(MessageBoxes, TheBoxShowsCaptionIconTextAndButtonAndATapOnOkEndsIt) {
    const HWND main = MakeMain();
    SetTimer(main, 1, 100, nullptr);
    RECT box{};
    RECT ok{};
    std::u16string okClass;
    LRESULT okCode = 0;
    bool okFocused = false;
    std::vector<std::pair<POINT, COLORREF>> seen;
    duringBox = [&] {
        const HWND found = FindBox();
        if (!found || !seen.empty()) {
            return;
        }
        GetWindowRect(found, &box);
        GetWindowRect(GetDlgItem(found, IDOK), &ok);
        // "ok" is the controls' own default push button, and has the focus.
        char16_t name[16];
        const int length = GetClassNameW(GetDlgItem(found, IDOK), name, 16);
        okClass = std::u16string(name, static_cast<std::size_t>(length));
        okCode = SendMessageW(GetDlgItem(found, IDOK), WM_GETDLGCODE, 0, 0);
        okFocused = GetFocus() == GetDlgItem(found, IDOK);
        const auto at = [&](int x, int y) { seen.push_back({{x, y}, ScreenPixel(x, y)}); };
        at(box.left + 60, box.top + 5);                     // the caption bar
        at(box.left, box.top + 40);                         // the frame
        at(box.left + 1 + 8 + 16, box.top + 19 + 10 + 16);  // the middle of the stop icon
        at(box.left + 1 + 8 + 3, box.top + 19 + 10 + 16);   // the icon's red
        at(ok.left, (ok.top + ok.bottom) / 2);              // the button's frame
        at(box.left + 100, box.bottom - 3);                 // white below the button
        // A tap beside the box reaches nobody; a tap on "ok" ends it.
        host.Tap(5, 5);
        host.Tap((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
    };
    PostMessageW(main, kShowBox, 0, 0);
    host.AllowTime(std::chrono::milliseconds(500));
    Pump();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(okClass, u"BUTTON");
    EXPECT_NE(okCode & DLGC_DEFPUSHBUTTON, 0);
    EXPECT_TRUE(okFocused);
    EXPECT_EQ(results, (std::vector<int>{IDOK}));
    EXPECT_EQ(FindBox(), nullptr);
    EXPECT_TRUE(Log({WM_LBUTTONDOWN, WM_LBUTTONUP}).empty());
    // Centred, clear of the navigation and menu bars.
    EXPECT_EQ(box.left, 240 - box.right);
    EXPECT_EQ(box.top, 320 - box.bottom);
    EXPECT_GE(box.top, WorkArea().top);
    EXPECT_GT(ok.top, box.top + 40);
    EXPECT_EQ(ok.left - box.left, box.right - ok.right);
    const COLORREF expected[] = {RGB(0, 0, 128), RGB(0, 0, 0), RGB(255, 255, 255),
                                 RGB(255, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255)};
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].second, expected[i]) << seen[i].first.x << "," << seen[i].first.y;
    }
    // After the box the main window is whole again.
    EXPECT_EQ(ScreenPixel(box.left + 60, box.top + 5), RGB(255, 255, 255));
}

TEST_F(MessageBoxes, TimersGoOnButOtherWindowsWaitWithoutAnOwner) {
    const HWND main = MakeMain(MB_OK | MB_ICONASTERISK, false);
    const HWND other = Make("other", WS_POPUP | WS_VISIBLE, {0, 0, 50, 50});
    SetActiveWindow(main);
    SetTimer(main, 1, 100, nullptr);
    int ticks = 0;
    bool othersDisabled = false;
    duringBox = [&] {
        if (++ticks == 3) {
            othersDisabled = !IsWindowEnabled(main) && !IsWindowEnabled(other);
            host.Key(VK_ESCAPE);
        }
    };
    PostMessageW(main, kShowBox, 0, 0);
    host.AllowTime(std::chrono::milliseconds(1000));
    Pump();
    EXPECT_TRUE(othersDisabled);
    EXPECT_EQ(results, (std::vector<int>{IDOK}));
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_EQ(activeAfterBox, main);
    EXPECT_EQ(ticks, 10);  // and the timer ran on after it
}

TEST_F(MessageBoxes, EnterOrTheProgramEndingEndsTheBoxAndOnlyTheOkBoxIsOffered) {
    const HWND main = MakeMain();
    PostMessageW(main, kShowBox, 0, 0);
    host.Key(VK_RETURN);
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle);
    EXPECT_EQ(results, (std::vector<int>{IDOK}));
    EXPECT_EQ(FindBox(), nullptr);
    EXPECT_EQ(activeAfterBox, main);
    EXPECT_TRUE(IsWindowEnabled(main));
    // The key went to the box, not to the window below it.
    EXPECT_TRUE(Log({WM_KEYDOWN}).empty());

    PostMessageW(main, kShowBox, 0, 0);
    // No key will come: the headless host runs out, which asks the program to end.
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Quit);
    EXPECT_EQ(results, (std::vector<int>{IDOK, IDOK}));
    EXPECT_TRUE(system.RanOutOfInput());
    EXPECT_EQ(FindBox(), nullptr);
    EXPECT_EQ(MessageBoxW(main, u"", u"", MB_OKCANCEL), 0);
    EXPECT_EQ(MessageBoxW(main, u"", u"", 4 /* yes and no */), 0);
}

// A text too long for the screen is cut to the work area, between the bars the shell sets or
// wherever the area is put.
TEST_F(MessageBoxes, ALongTextKeepsTheBoxToTheWorkArea) {
    const HWND main = MakeMain();
    std::u16string text;
    for (int i = 0; i < 400; ++i) {
        text += u"Маршрут ";
    }
    RECT box{};
    On(main, [&](HWND self, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == kShowBox) {
            results.push_back(MessageBoxW(self, text, u"Ошибка", MB_OK));
        }
        if (m == WM_TIMER) {
            GetWindowRect(FindBox(), &box);
            host.Key(VK_RETURN);
        }
        return std::nullopt;
    });
    for (const RECT work : {WorkArea(), kScreen, RECT{0, 40, 240, 200}, RECT{20, 100, 220, 300}}) {
        RECT set = work;
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &set, 0));
        RECT read{};
        ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &read, 0));
        EXPECT_EQ(read, work);
        SetTimer(main, 1, 50, nullptr);
        PostMessageW(main, kShowBox, 0, 0);
        host.AllowTime(std::chrono::milliseconds(60));
        Pump();
        KillTimer(main, 1);
        EXPECT_EQ(box.top, work.top) << work.top;
        EXPECT_EQ(box.bottom, work.bottom) << work.top;
        EXPECT_EQ(box.left - work.left, work.right - box.right) << "centred across it";
    }
    EXPECT_EQ(results, (std::vector<int>{IDOK, IDOK, IDOK, IDOK}));
}

TEST_F(MessageBoxes, AWorkAreaThatIsEmptyOrAnotherParameterIsRefused) {
    RECT before{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &before, 0));
    for (RECT bad : {RECT{0, 100, 240, 100}, RECT{100, 0, 50, 320}}) {
        EXPECT_FALSE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &bad, 0));
    }
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
    RECT other{};
    EXPECT_FALSE(SystemParametersInfoW(0, 0, &other, 0));
    RECT after{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &after, 0));
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.bottom, before.bottom);
}

}  // namespace
}  // namespace qv
