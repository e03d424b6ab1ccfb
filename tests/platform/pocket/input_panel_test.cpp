#include "platform/pocket/input_panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

#include "platform/host/headless_host.h"
#include "platform/pocket/on_screen_keyboard.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

// Top-level windows that count the WM_SETTINGCHANGE messages they get.
std::map<HWND, std::vector<WPARAM>>* g_settingChanges = nullptr;

LRESULT CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE && g_settingChanges) {
        (*g_settingChanges)[window].push_back(wParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class InputPanel : public ::testing::Test {
  protected:
    InputPanel() {
        g_settingChanges = &settingChanges;
        WNDCLASSW attributes;
        attributes.lpfnWndProc = CountingProcedure;
        attributes.lpszClassName = u"Counting";
        RegisterClassW(&attributes);
        main = Make(WS_VISIBLE, {0, 0, kScreenWidth, kScreenHeight});
    }
    ~InputPanel() override {
        DestroyInputPanel();
        EXPECT_EQ(InputPanelKeyboard(), nullptr);
        g_settingChanges = nullptr;
    }

    HWND Make(DWORD style, RECT rect) {
        return CreateWindowExW(0, u"Counting", u"", style, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, nullptr, 0, nullptr,
                               nullptr);
    }
    HWND Page(DWORD flags) {
        const HWND page = Make(WS_POPUP | WS_VISIBLE, {30, 40, 130, 140});
        SHINITDLGINFO info{SHIDIM_FLAGS, page, flags};
        EXPECT_TRUE(SHInitDialog(&info));
        return page;
    }
    static RECT RectOf(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    static SIPINFO Info() {
        SIPINFO info;
        info.cbSize = sizeof(SIPINFO);
        EXPECT_TRUE(SipGetInfo(&info));
        return info;
    }
    static BOOL Set(bool up) {
        SIPINFO info = Info();
        info.fdwFlags = up ? SIPF_ON : 0;
        return SipSetInfo(&info);
    }

    HeadlessHost host;
    WindowSystem system{host};
    std::map<HWND, std::vector<WPARAM>> settingChanges;
    HWND main = nullptr;
};

TEST_F(InputPanel, PagesShrinkAboveThePanelAndGrowBackAndEveryTopLevelWindowIsTold) {
    const HWND fullScreen = Page(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN);
    const HWND workArea = Page(SHIDIF_SIZEDLG);
    const HWND own = Make(WS_POPUP | WS_VISIBLE, {10, 200, 100, 300});
    const RECT fullScreenDown{0, kNavigationBarHeight, kScreenWidth, kScreenHeight};
    EXPECT_EQ(RectOf(fullScreen), fullScreenDown);
    EXPECT_EQ(RectOf(workArea), WorkArea());
    SetFocus(workArea);

    SIPINFO down = Info();
    EXPECT_EQ(down.fdwFlags, 0u);
    EXPECT_EQ(down.rcVisibleDesktop, WorkArea());
    EXPECT_EQ(down.rcSipRect, InputPanelRect());
    EXPECT_EQ(down.dwImDataSize, 0u);
    EXPECT_EQ(down.pvImData, 0u);

    ASSERT_TRUE(Set(true));
    const RECT above{0, kNavigationBarHeight, kScreenWidth, InputPanelRect().top};
    EXPECT_EQ(RectOf(fullScreen), above);
    EXPECT_EQ(RectOf(workArea), above);
    EXPECT_EQ(RectOf(own), (RECT{10, 200, 100, 300}));
    const SIPINFO up = Info();
    EXPECT_EQ(up.fdwFlags, SIPF_ON);
    EXPECT_EQ(up.rcVisibleDesktop, above);
    EXPECT_EQ(up.rcSipRect, InputPanelRect());
    // The keyboard shows on the panel's rectangle without taking the activation or the focus.
    const HWND keyboard = InputPanelKeyboard();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_TRUE(IsWindowVisible(keyboard));
    EXPECT_EQ(RectOf(keyboard), InputPanelRect());
    EXPECT_EQ(GetActiveWindow(), workArea);
    EXPECT_EQ(GetFocus(), workArea);
    for (const HWND window : {main, fullScreen, workArea, own}) {
        EXPECT_EQ(settingChanges[window], std::vector<WPARAM>{SPI_SETSIPINFO});
    }

    // Asking for the state it is in changes nothing and tells nobody.
    ASSERT_TRUE(Set(true));
    EXPECT_EQ(settingChanges[main].size(), 1u);

    // A page set up while the panel is up starts above it, unless it lowers the panel.
    const HWND late = Page(SHIDIF_SIZEDLGFULLSCREEN);
    EXPECT_EQ(RectOf(late), above);
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);

    ASSERT_TRUE(ToggleInputPanel());
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
    EXPECT_FALSE(IsWindowVisible(keyboard));
    EXPECT_EQ(RectOf(fullScreen), fullScreenDown);
    EXPECT_EQ(RectOf(late), fullScreenDown);
    EXPECT_EQ(RectOf(workArea), WorkArea());
    EXPECT_EQ(Info().rcVisibleDesktop, WorkArea());
    EXPECT_EQ(settingChanges[main], (std::vector<WPARAM>{SPI_SETSIPINFO, SPI_SETSIPINFO}));

    // A page the shell no longer sizes keeps its own size.
    ASSERT_TRUE(ToggleInputPanel());
    const HWND last = Page(SHIDIF_SIPDOWN);
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
    EXPECT_EQ(RectOf(last), (RECT{30, 40, 130, 140}));
    SHINITDLGINFO release{SHIDIM_FLAGS, workArea, SHIDIF_DONEBUTTON};
    ASSERT_TRUE(SHInitDialog(&release));
    ASSERT_TRUE(Set(true));
    EXPECT_EQ(RectOf(workArea), WorkArea());
    EXPECT_EQ(RectOf(fullScreen), above);
}

TEST_F(InputPanel, ARecordOfTheWrongSizeIsRefusedAndChangesNothing) {
    for (const DWORD size : {0u, 44u, 52u, 56u}) {
        SIPINFO info;
        info.cbSize = size;
        info.fdwFlags = SIPF_ON;
        info.dwImDataSize = 7;
        EXPECT_FALSE(SipSetInfo(&info)) << size;
        EXPECT_FALSE(SipGetInfo(&info)) << size;
        EXPECT_EQ(info.fdwFlags, SIPF_ON);
        EXPECT_EQ(info.dwImDataSize, 7u);
    }
    EXPECT_FALSE(SipGetInfo(nullptr));
    EXPECT_FALSE(SipSetInfo(nullptr));
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
    EXPECT_EQ(InputPanelKeyboard(), nullptr);
    EXPECT_TRUE(settingChanges.empty());
}

TEST(InputPanelWithoutWindows, FailsWithoutAWindowSystem) {
    SIPINFO info;
    info.cbSize = sizeof(SIPINFO);
    EXPECT_FALSE(SipGetInfo(&info));
    EXPECT_FALSE(SipSetInfo(&info));
    EXPECT_FALSE(ToggleInputPanel());
}

}  // namespace
}  // namespace qv
