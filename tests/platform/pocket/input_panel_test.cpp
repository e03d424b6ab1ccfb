#include "platform/pocket/input_panel.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/host/headless_host.h"
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

std::map<HWND, std::vector<WPARAM>> g_settingChanges;  // by top-level window

LRESULT CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        g_settingChanges[window].push_back(wParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND Make(DWORD style, RECT rect) {
    return CreateWindowExW(0, u"Counting", u"", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, 0, nullptr, nullptr);
}

HWND Page(DWORD flags, HWND page = Make(WS_POPUP | WS_VISIBLE, {30, 40, 130, 140})) {
    SHINITDLGINFO info{SHIDIM_FLAGS, page, flags};
    SHInitDialog(&info);
    return page;
}

RECT RectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

SIPINFO Info() {
    SIPINFO info{.cbSize = sizeof(SIPINFO)};
    EXPECT_TRUE(SipGetInfo(&info));
    return info;
}

BOOL Raise() {
    SIPINFO info = Info();
    info.fdwFlags = SIPF_ON;
    return SipSetInfo(&info);
}

TEST(InputPanel, PagesShrinkAboveThePanelAndGrowBackAndEveryTopLevelWindowIsTold) {
    SIPINFO none{.cbSize = sizeof(SIPINFO)};
    // Without a window system there is no panel.
    EXPECT_FALSE(SipGetInfo(&none));
    EXPECT_FALSE(ToggleInputPanel());
    HeadlessHost host;
    WindowSystem system{host};
    g_settingChanges.clear();
    const WNDCLASSW attributes{.lpfnWndProc = CountingProcedure, .lpszClassName = u"Counting"};
    RegisterClassW(&attributes);
    const HWND main = Make(WS_VISIBLE, {0, 0, kScreenWidth, kScreenHeight});

    // A record of the wrong size is refused and changes nothing.
    for (const DWORD size : {0u, 56u}) {
        SIPINFO info{.cbSize = size, .fdwFlags = SIPF_ON};
        EXPECT_FALSE(SipSetInfo(&info)) << size;
        EXPECT_FALSE(SipGetInfo(&info)) << size;
        EXPECT_EQ(info.fdwFlags, SIPF_ON);
    }
    EXPECT_FALSE(SipSetInfo(nullptr));
    EXPECT_EQ(std::tuple(InputPanelKeyboard(), g_settingChanges.size()), std::tuple(HWND{}, 0u));

    const HWND fullScreen = Page(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN);
    const HWND workArea = Page(SHIDIF_SIZEDLG);
    const RECT fullScreenDown{0, kNavigationBarHeight, kScreenWidth, kScreenHeight};
    EXPECT_EQ(RectOf(fullScreen), fullScreenDown);
    EXPECT_EQ(RectOf(workArea), WorkArea());
    SetFocus(workArea);

    ASSERT_TRUE(Raise());
    const RECT above{0, kNavigationBarHeight, kScreenWidth, InputPanelRect().top};
    EXPECT_EQ(std::pair(RectOf(fullScreen), RectOf(workArea)), std::pair(above, above));
    EXPECT_EQ(std::tuple(Info().fdwFlags, Info().rcVisibleDesktop, Info().rcSipRect),
              std::tuple(SIPF_ON, above, RECT{0, above.bottom, kScreenWidth, WorkArea().bottom}));
    // The keyboard shows without taking the activation or the focus.
    ASSERT_NE(InputPanelKeyboard(), nullptr);
    EXPECT_EQ(std::pair(GetActiveWindow(), GetFocus()), std::pair(workArea, workArea));
    for (const HWND window : {main, fullScreen, workArea}) {
        EXPECT_EQ(g_settingChanges[window], std::vector<WPARAM>{SPI_SETSIPINFO});
    }

    // Asking for the state it is in changes nothing and tells nobody.
    ASSERT_TRUE(Raise());
    EXPECT_EQ(g_settingChanges[main].size(), 1u);

    // A page set up while the panel is up starts above it.
    const HWND late = Page(SHIDIF_SIZEDLGFULLSCREEN);
    EXPECT_EQ(RectOf(late), above);
    Page(0, late);  // set up again unsized: the page's own to place from now on

    ASSERT_TRUE(ToggleInputPanel());
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
    EXPECT_EQ(std::tuple(RectOf(fullScreen), RectOf(late), RectOf(workArea)),
              std::tuple(fullScreenDown, above, WorkArea()));
    // Destroyed while up, the panel goes down first and everyone hears of it.
    ASSERT_TRUE(Raise());
    DestroyInputPanel();
    EXPECT_EQ(std::tuple(InputPanelKeyboard(), RectOf(fullScreen), g_settingChanges[main].size()),
              std::tuple(HWND{}, fullScreenDown, 4u));
}

}  // namespace
}  // namespace qv
