#include "platform/pocket/navigation_bar.h"

#include <algorithm>
#include <functional>

#include "platform/gdi/system_metrics.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/full_screen.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/system_parameters.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "shell_test.h"

namespace qv {
namespace {

using Command = testing::ShellTest::Command;

constexpr DialogTemplate kPage{WS_POPUP, 0, 0, 0, 160, 182, u"Настройки", u"", 0, {}};

bool IsRectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// What the page does at its set-up and on its commands; one page runs at a time.
std::function<INT_PTR(HWND, UINT, WPARAM)> g_page;

INT_PTR PageProcedure(HWND page, UINT message, WPARAM wParam, LPARAM) {
    return g_page ? g_page(page, message, wParam) : 0;
}

class NavigationBars : public testing::ShellTest {
  protected:
    NavigationBars() : bar(ShellNavigationBar()) { Pump(); }
    ~NavigationBars() override { g_page = nullptr; }

    POINT DoneCentre() const {
        const RECT r = DoneButtonRect(bar);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // The dark pixels of the title's part of the bar.
    int TitleInk() const {
        int ink = 0;
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 150; ++x) {
                ink += ScreenPixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
            }
        }
        return ink;
    }

    HWND bar;
};

TEST_F(NavigationBars, ShowTheActiveWindowsTitleAsItChanges) {
    ASSERT_NE(bar, nullptr);
    RECT rect;
    GetWindowRect(bar, &rect);
    EXPECT_EQ(rect, (RECT{0, 0, kScreenWidth, 26}));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(GetWindowText(bar), u"Схема метро");
    EXPECT_GT(TitleInk(), 50);

    SetWindowTextW(main, u"Москва");
    EXPECT_EQ(GetWindowText(bar), u"Москва");
    const HWND other = MakeWindow(u"Маршрут", {0, 26, 240, 320});
    EXPECT_EQ(GetWindowText(bar), u"Маршрут");
    // Only the active window's title counts.
    SetWindowTextW(main, u"Санкт-Петербург");
    EXPECT_EQ(GetWindowText(bar), u"Маршрут");
    DestroyWindow(other);
    EXPECT_EQ(GetWindowText(bar), u"Санкт-Петербург");
    SetWindowTextW(main, u"");
    Pump();
    EXPECT_EQ(TitleInk(), 0);
    // The bar never takes the activation, not even from a tap.
    host.Tap(60, 12);
    Pump();
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(NavigationBars, OkClosesThePageThatAskedForItWhileItsModalLoopRuns) {
    std::vector<WORD> pageCommands;
    std::u16string titleAtOk;
    bool mainDisabled = false;
    g_page = [&](HWND page, UINT message, WPARAM wParam) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, page,
                               SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR};
            SHInitDialog(&info);
            return 1;
        }
        if (message == WM_COMMAND) {
            pageCommands.push_back(LOWORD(wParam));
            titleAtOk = GetWindowText(bar);
            mainDisabled = !IsWindowEnabled(main);
            EndDialog(page, LOWORD(wParam) == IDOK ? 10 : 20);
            return 1;
        }
        return 0;
    };
    EXPECT_TRUE(IsRectEmpty(DoneButtonRect(bar)));
    // The "ok" button sits at the right of the bar while the page runs.
    host.Tap(kScreenWidth - 16, 12);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kPage, main, PageProcedure, 0), 10);
    EXPECT_EQ(pageCommands, std::vector<WORD>{IDOK});
    EXPECT_EQ(titleAtOk, u"Настройки");
    EXPECT_TRUE(mainDisabled);
    // Back on the main window: its title, no "ok".
    EXPECT_EQ(GetWindowText(bar), u"Схема метро");
    EXPECT_TRUE(IsRectEmpty(DoneButtonRect(bar)));

    // A page without the Done button has no "ok": the same tap does nothing and Escape ends it.
    pageCommands.clear();
    g_page = [&](HWND page, UINT message, WPARAM wParam) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, page, SHIDIF_SIPDOWN | SHIDIF_SIZEDLGFULLSCREEN};
            SHInitDialog(&info);
            return 1;
        }
        if (message == WM_COMMAND) {
            pageCommands.push_back(LOWORD(wParam));
            EndDialog(page, 20);
            return 1;
        }
        return 0;
    };
    host.Tap(kScreenWidth - 16, 12);
    host.Key(VK_ESCAPE);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kPage, main, PageProcedure, 0), 20);
    EXPECT_EQ(pageCommands, std::vector<WORD>{IDCANCEL});
}

TEST_F(NavigationBars, OkIsAButtonThatClicksOnReleaseInsideOnly) {
    const HWND page = MakeWindow(u"Страница", {0, 26, 240, 320});
    SHINITDLGINFO info{SHIDIM_FLAGS, page, SHIDIF_DONEBUTTON};
    SHInitDialog(&info);
    const POINT done = DoneCentre();
    EXPECT_GT(done.x, 200);
    const auto looks = [&] {
        const RECT r = DoneButtonRect(bar);
        std::vector<COLORREF> found;
        for (LONG y = r.top; y < r.bottom; ++y) {
            for (LONG x = r.left; x < r.right; ++x) {
                found.push_back(ScreenPixel(x, y));
            }
        }
        return found;
    };
    Pump();
    const std::vector<COLORREF> raised = looks();
    EXPECT_GT(std::count(raised.begin(), raised.end(), RGB(0, 0, 0)), 10) << "its label";
    host.PenDown(done.x, done.y);
    Pump();
    EXPECT_NE(looks(), raised) << "held down";
    host.PenMove(100, 12);
    Pump();
    EXPECT_EQ(looks(), raised);
    host.PenUp(100, 12);
    Pump();
    EXPECT_TRUE(commands.empty());
    host.Tap(done.x, done.y);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{IDOK, 0}}));
    // Given up again, the button goes.
    info.dwFlags = 0;
    SHInitDialog(&info);
    EXPECT_TRUE(IsRectEmpty(DoneButtonRect(bar)));
}

TEST_F(NavigationBars, TheKeyboardButtonRaisesAndLowersThePanelInsideAModalPageToo) {
    const HWND button = ShellKeyboardButton();
    RECT rect;
    GetWindowRect(button, &rect);
    EXPECT_EQ(rect, (RECT{kScreenWidth - 28, kScreenHeight - 26, kScreenWidth, kScreenHeight}));
    EXPECT_TRUE(IsWindowVisible(button));
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    host.Tap(centre.x, centre.y);
    Pump();
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
    EXPECT_EQ(GetActiveWindow(), main);
    // Lifted away from the button: nothing.
    host.PenDown(centre.x, centre.y);
    host.PenMove(100, 200);
    host.PenUp(100, 200);
    Pump();
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
    host.Tap(centre.x, centre.y);
    Pump();
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);

    InputPanelState atCancel = InputPanelState::Down;
    g_page = [&](HWND page, UINT message, WPARAM wParam) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, page,
                               SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR};
            SHInitDialog(&info);
            return 1;
        }
        if (message == WM_COMMAND) {
            atCancel = CurrentInputPanel();
            EndDialog(page, LOWORD(wParam));
            return 1;
        }
        return 0;
    };
    host.Tap(centre.x, centre.y);
    host.Key(VK_ESCAPE);
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kPage, main, PageProcedure, 0), IDCANCEL);
    EXPECT_EQ(atCancel, InputPanelState::Up);
    DestroyInputPanel();
}

TEST_F(NavigationBars, AreHiddenForThePageThatAsksAndBackForOthers) {
    const HWND page = MakeWindow(u"О программе", {0, 0, 240, 320});
    EXPECT_TRUE(SHFullScreen(page, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON));
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_TRUE(ShellSipButtonHidden());
    EXPECT_FALSE(IsWindowVisible(ShellKeyboardButton()));
    SetActiveWindow(main);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_FALSE(ShellSipButtonHidden());
    EXPECT_TRUE(IsWindowVisible(ShellKeyboardButton()));
    SetActiveWindow(page);
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_TRUE(SHFullScreen(page, SHFS_SHOWTASKBAR));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_TRUE(ShellSipButtonHidden());
    EXPECT_TRUE(SHFullScreen(page, SHFS_SHOWSIPBUTTON));
    EXPECT_FALSE(ShellSipButtonHidden());

    // Asking for both at once, or for a window that is gone, changes nothing.
    EXPECT_FALSE(SHFullScreen(page, SHFS_HIDETASKBAR | SHFS_SHOWTASKBAR));
    EXPECT_TRUE(IsWindowVisible(bar));
    DestroyWindow(page);
    EXPECT_FALSE(SHFullScreen(page, SHFS_HIDETASKBAR));
    EXPECT_TRUE(IsWindowVisible(bar));
}

TEST(PocketShell, LeavesTheWorkAreaBetweenItsBarsToTheProgram) {
    HeadlessHost host;
    WindowSystem system(host);
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, (RECT{0, 0, kScreenWidth, kScreenHeight}));
    InstallPocketShell();
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, (RECT{0, 26, kScreenWidth, kScreenHeight - 26}));
    RECT bar{};
    GetWindowRect(ShellNavigationBar(), &bar);
    EXPECT_EQ(bar.bottom, work.top);
}

}  // namespace
}  // namespace qv
