#include "platform/pocket/menu_bar.h"

#include <chrono>
#include <iterator>

#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/menu_bar_layout.h"
#include "platform/pocket/tooltip_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"
#include "shell_test.h"

namespace qv {
namespace {

using std::chrono::milliseconds;
using Command = testing::ShellTest::Command;

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);

class MenuBars : public testing::ShellTest {
  protected:
    MenuBars() : bar(MakeMainMenuBar()) { Pump(); }

    RECT ScreenRect(int position, HWND which = nullptr) const {
        which = which ? which : bar;
        RECT rect{};
        SendMessageW(which, TB_GETITEMRECT, static_cast<WPARAM>(position), PointerParam(&rect));
        POINT corner{0, 0};
        ClientToScreen(which, &corner);
        return {rect.left + corner.x, rect.top + corner.y, rect.right + corner.x,
                rect.bottom + corner.y};
    }
    POINT Centre(int position, HWND which = nullptr) const {
        const RECT r = ScreenRect(position, which);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Press(int position) {
        const POINT p = Centre(position);
        host.PenDown(p.x, p.y);
    }
    void Release(int position) {
        const POINT p = Centre(position);
        host.PenMove(p.x, p.y);
        host.PenUp(p.x, p.y);
    }
    LRESULT Pressed(int command) const {
        return SendMessageW(bar, TB_ISBUTTONPRESSED, static_cast<WPARAM>(command), 0);
    }
    HWND ShownTip() const {
        const HWND tip = FindTopLevel(u"QvShellTooltip");
        return tip && IsWindowVisible(tip) ? tip : nullptr;
    }

    HWND bar;
};

TEST_F(MenuBars, SitAtTheBottomAndShowWhileTheirWindowIsActive) {
    ASSERT_NE(bar, nullptr);
    RECT rect;
    GetWindowRect(bar, &rect);
    // The input panel's button keeps the right end of the row.
    EXPECT_EQ(rect, (RECT{0, kScreenHeight - 26, kScreenWidth - 28, kScreenHeight}));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 9);
    // The buttons lie side by side from the left, the text button first.
    for (int position = 1; position < 9; ++position) {
        EXPECT_EQ(ScreenRect(position).left, ScreenRect(position - 1).right);
        EXPECT_EQ(ScreenRect(position).right - ScreenRect(position).left, 20);
    }
    EXPECT_LE(ScreenRect(8).right, kScreenWidth - 28);

    const HWND other = MakeWindow(u"Страница", {0, 26, 240, 320});
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_FALSE(IsWindowVisible(bar));
    DestroyWindow(other);
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(IsWindowVisible(bar));

    // A bar made while its window is still hidden, as during the window's creation, shows
    // once the window does.
    const HWND hidden = CreateWindowExW(0, u"ShellTestWindow", u"", WS_POPUP, 0, 0, 240, 320,
                                        nullptr, 0, nullptr, nullptr);
    SHMENUBARINFO early;
    early.hwndParent = hidden;
    early.nToolBarId = IDR_MENUBAR;
    early.hInstRes = ProgramModule();
    ASSERT_TRUE(SHCreateMenuBar(&early));
    EXPECT_FALSE(IsWindowVisible(early.hwndMB));
    EXPECT_TRUE(IsWindowVisible(bar));
    ShowWindow(hidden, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(early.hwndMB));
    EXPECT_FALSE(IsWindowVisible(bar));
    DestroyWindow(hidden);
    EXPECT_FALSE(IsWindow(early.hwndMB));
    EXPECT_TRUE(IsWindowVisible(bar));

    SHMENUBARINFO wrongSize;
    wrongSize.cbSize = 4;
    wrongSize.hwndParent = main;
    wrongSize.nToolBarId = IDR_MENUBAR;
    wrongSize.hInstRes = ProgramModule();
    EXPECT_FALSE(SHCreateMenuBar(&wrongSize));
    SHMENUBARINFO missing;
    missing.hwndParent = main;
    missing.nToolBarId = 999;
    missing.hInstRes = ProgramModule();
    EXPECT_FALSE(SHCreateMenuBar(&missing));
    EXPECT_EQ(missing.hwndMB, nullptr);
}

TEST_F(MenuBars, AButtonSendsItsCommandOnReleaseInsideWhereThePressBegan) {
    Press(1);
    Pump();
    EXPECT_TRUE(Pressed(1025));
    EXPECT_EQ(ScreenPixel(ScreenRect(1).left, ScreenRect(1).top), kShadow);
    // A tap on the bar leaves the activation and the keyboard where they were.
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_TRUE(commands.empty());
    Release(1);
    Pump();
    EXPECT_FALSE(Pressed(1025));
    EXPECT_EQ(ScreenPixel(ScreenRect(1).left, ScreenRect(1).top), kFace);
    EXPECT_EQ(commands, (std::vector<Command>{{1025, PointerParam(bar)}}));

    // Away and back again is still a click; away and lifted is none; a press that began on
    // another button is none either.
    commands.clear();
    Press(3);
    host.PenMove(120, 100);
    Pump();
    EXPECT_FALSE(Pressed(1033));
    Release(3);
    Press(2);
    host.PenMove(120, 100);
    host.PenUp(120, 100);
    Press(4);
    Release(5);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{1033, PointerParam(bar)}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Pressed(1038));
}

TEST_F(MenuBars, ADisabledButtonOrASeparatorTakesNoPress) {
    const HWND other = MakeWindow(u"", {0, 0, kScreenWidth, kScreenHeight});
    SHMENUBARINFO info;
    info.hwndParent = other;
    info.nToolBarId = IDR_MENUBAR;
    info.hInstRes = ProgramModule();
    ASSERT_TRUE(SHCreateMenuBar(&info));
    bar = info.hwndMB;
    const TBBUTTON added[] = {{0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, 0, 0},
                              {1, 2001, 0, TBSTYLE_BUTTON, 0, 0},
                              {2, 2002, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0}};
    SendMessageW(bar, TB_ADDBUTTONS, std::size(added), PointerParam(added));
    Pump();
    ASSERT_LE(ScreenRect(3).right, kScreenWidth - 28);
    for (const int position : {1, 2}) {
        Press(position);
        Pump();
        EXPECT_EQ(GetCapture(), nullptr) << position;
        EXPECT_FALSE(Pressed(2001)) << position;
        EXPECT_EQ(ScreenPixel(ScreenRect(position).left, ScreenRect(position).top), kFace)
            << position;
        Release(position);
        Pump();
    }
    EXPECT_TRUE(commands.empty());
    // The enabled button beside them answers the same taps.
    Press(3);
    Release(3);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{2002, PointerParam(bar)}}));
    DestroyWindow(other);
}

TEST_F(MenuBars, ImagesComeFromTheStripAndACountPastItsEndReadsNoMore) {
    for (int image = 0; image < 8; ++image) {
        const POINT centre = Centre(image + 1);
        EXPECT_EQ(ScreenPixel(centre.x, centre.y), testing::StripColour(image)) << image;
    }
    // The count of 15 was cut to the nine images the strip holds: the ninth is there, the
    // tenth and the fifteenth draw nothing (shown on the bar of another window).
    const HWND other = MakeWindow(u"", {0, 0, kScreenWidth, kScreenHeight});
    SHMENUBARINFO info;
    info.hwndParent = other;
    info.nToolBarId = IDR_MENUBAR;
    info.hInstRes = ProgramModule();
    ASSERT_TRUE(SHCreateMenuBar(&info));
    EXPECT_EQ(CommandBar_AddBitmap(info.hwndMB, testing::StandInModule(), testing::kStandInStrip,
                                   15, 16, 16),
              0);
    const TBBUTTON extra[] = {{8, 1, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                              {9, 2, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                              {14, 3, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0}};
    SendMessageW(info.hwndMB, TB_ADDBUTTONS, 3, PointerParam(extra));
    Pump();
    const POINT ninth = Centre(1, info.hwndMB);
    EXPECT_EQ(ScreenPixel(ninth.x, ninth.y), testing::StripColour(8));
    for (const int position : {2, 3}) {
        const POINT past = Centre(position, info.hwndMB);
        EXPECT_EQ(ScreenPixel(past.x, past.y), kFace);
    }
    DestroyWindow(other);
    // The next images would follow the nine.
    EXPECT_EQ(
        CommandBar_AddBitmap(bar, testing::StandInModule(), testing::kStandInStrip, 1, 16, 16), 9);
    // A count beyond any strip's keeps every image the strip and those before it hold.
    const TBADDBITMAP strip{testing::StandInModule(), testing::kStandInStrip};
    EXPECT_EQ(SendMessageW(bar, TB_ADDBITMAP, ~WPARAM{0}, PointerParam(&strip)), 10);
    EXPECT_EQ(SendMessageW(bar, TB_ADDBITMAP, 1, PointerParam(&strip)), 19);
    EXPECT_EQ(CommandBar_AddBitmap(bar, testing::StandInModule(), 4242, 9, 16, 16), -1);
    EXPECT_EQ(
        CommandBar_AddBitmap(bar, testing::StandInModule(), testing::kStandInStrip, 0, 16, 16), -1);
    EXPECT_EQ(
        CommandBar_AddBitmap(main, testing::StandInModule(), testing::kStandInStrip, 9, 16, 16),
        -1);
}

TEST_F(MenuBars, ATooltipShowsAfterHalfASecondWithTheTextOfTheButtonsPosition) {
    Press(1);
    host.AllowTime(milliseconds(kTooltipDelayMs - 1));
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    host.AllowTime(milliseconds(1));
    Pump();
    HWND tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(GetWindowText(tip), u"Станция отправления");
    RECT rect;
    GetWindowRect(tip, &rect);
    EXPECT_LE(rect.bottom, ScreenRect(1).top);
    EXPECT_EQ(rect.left, ScreenRect(1).left);
    // A framed pale box with the text inside it.
    EXPECT_EQ(ScreenPixel(rect.left, rect.top), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(rect.right - 1, rect.bottom - 1), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(rect.left + 2, rect.top + 2), RGB(255, 255, 225));
    int ink = 0;
    for (LONG y = rect.top + 1; y < rect.bottom - 1; ++y) {
        for (LONG x = rect.left + 1; x < rect.right - 1; ++x) {
            ink += ScreenPixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 30);
    EXPECT_EQ(GetActiveWindow(), main);
    // Gone when the pen moves away, and not back while it is away.
    host.PenMove(Centre(1).x, 100);
    host.AllowTime(milliseconds(2000));
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    host.PenUp(Centre(1).x, 100);
    Pump();
    EXPECT_TRUE(commands.empty());

    // The last button's tip stays on the screen; lifting the pen takes it away and clicks.
    Press(8);
    host.AllowTime(milliseconds(kTooltipDelayMs));
    Pump();
    tip = ShownTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(GetWindowText(tip), u"Помощь");
    GetWindowRect(tip, &rect);
    EXPECT_LE(rect.right, kScreenWidth);
    Release(8);
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    EXPECT_EQ(commands, (std::vector<Command>{{1041, PointerParam(bar)}}));

    // Entry 0 belongs to the text button and is empty: no tip there.
    Press(0);
    host.AllowTime(milliseconds(kTooltipDelayMs * 2));
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    host.PenUp(Centre(0).x, Centre(0).y);
    Pump();
}

TEST_F(MenuBars, TheTextButtonOpensItsMenuUpwardsAndTheChoiceGoesToTheWindow) {
    // A timer of the main window looks at the menu while it is open.
    RECT menuRect{};
    LRESULT pressedMeanwhile = 0;
    SetTimer(main, 7, 100, nullptr);
    timerSeen = [&] {
        KillTimer(main, 7);
        const HWND menu = FindTopLevel(u"#32768");
        if (menu && IsWindowVisible(menu)) {
            GetWindowRect(menu, &menuRect);
        }
        pressedMeanwhile = Pressed(ID_MENUBAR_SCHEME);
    };
    host.Tap(Centre(0).x, Centre(0).y);
    host.AllowTime(milliseconds(200));
    Pump();
    EXPECT_EQ(menuRect.bottom, ScreenRect(0).top - 3);
    EXPECT_GT(menuRect.bottom, menuRect.top);
    EXPECT_EQ(menuRect.left, ScreenRect(0).left);
    EXPECT_TRUE(pressedMeanwhile);
    EXPECT_FALSE(Pressed(ID_MENUBAR_SCHEME));
    EXPECT_TRUE(commands.empty());

    // From the keyboard: the first item is "&Загрузить".
    host.Tap(Centre(0).x, Centre(0).y);
    host.Key(VK_DOWN);
    host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{ID_LOAD_MAP, 0}}));
    // A tap outside closes the menu and goes no further, not even to a toolbar button.
    commands.clear();
    host.Tap(Centre(0).x, Centre(0).y);
    host.Tap(Centre(1).x, Centre(1).y);
    Pump();
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(FindTopLevel(u"#32768"), nullptr);
}

TEST_F(MenuBars, F10HandsTheKeysToTheBarUntilAButtonIsPressedOrTheBarIsLeft) {
    const auto keyed = [&](std::initializer_list<int> keys) {
        commands.clear();
        for (const int key : keys) {
            host.Key(key);
        }
        SendMessageW(bar, WM_KEYDOWN, VK_F10, 0);
        Pump();
        return commands;
    };
    // Left from the first button goes round to the last; Right to the next.
    EXPECT_EQ(keyed({VK_LEFT, VK_RETURN}), (std::vector<Command>{{ID_HELP, PointerParam(bar)}}));
    EXPECT_EQ(keyed({VK_RIGHT, VK_RIGHT, VK_SPACE}),
              (std::vector<Command>{{ID_DESTINATION, PointerParam(bar)}}));
    // The menu opens on its first item, "&Загрузить".
    EXPECT_EQ(keyed({VK_DOWN, VK_RETURN}), (std::vector<Command>{{ID_LOAD_MAP, 0}}));
    EXPECT_TRUE(keyed({VK_RIGHT, VK_ESCAPE, VK_RETURN}).empty());
    EXPECT_EQ(FindTopLevel(u"#32768"), nullptr);
    // The pen leaves the keys and goes on to where it went down.
    commands.clear();
    host.Tap(Centre(3).x, Centre(3).y);
    SendMessageW(bar, WM_KEYDOWN, VK_F10, 0);
    host.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{ID_CLEAR_STATIONS, PointerParam(bar)}}));
    EXPECT_EQ(GetActiveWindow(), main);
}

TEST_F(MenuBars, TheButtonTheKeysHaveReachedLooksPressedAtOnce) {
    const auto corner = [&](int position) {
        return ScreenPixel(ScreenRect(position).left, ScreenRect(position).top);
    };
    std::vector<std::vector<COLORREF>> seen;
    SetTimer(main, 8, 100, nullptr);
    timerSeen = [&] {
        seen.push_back({corner(0), corner(1), corner(2)});
        host.Key(seen.size() < 3 ? VK_RIGHT : VK_ESCAPE);
        if (seen.size() == 3) {
            KillTimer(main, 8);
        }
    };
    host.AllowTime(milliseconds(1000));
    SendMessageW(bar, WM_KEYDOWN, VK_F10, 0);
    Pump();
    EXPECT_EQ(seen,
              (std::vector<std::vector<COLORREF>>{
                  {kShadow, kFace, kFace}, {kFace, kShadow, kFace}, {kFace, kFace, kShadow}}));
    EXPECT_EQ(corner(2), kFace);
    EXPECT_TRUE(commands.empty());
}

TEST(TooltipPlacement, GoesAboveTheAnchorAndStaysOnTheScreen) {
    EXPECT_EQ(PlaceTooltip({60, 16}, {20, 297, 40, 319}), (RECT{20, 280, 80, 296}));
    EXPECT_EQ(PlaceTooltip({60, 16}, {200, 297, 220, 319}), (RECT{180, 280, 240, 296}));
    EXPECT_EQ(PlaceTooltip({60, 16}, {-30, 297, 10, 319}), (RECT{0, 280, 60, 296}));
    // No room above: below; wider than the screen: as wide as the screen.
    EXPECT_EQ(PlaceTooltip({60, 16}, {20, 5, 40, 25}), (RECT{20, 26, 80, 42}));
    EXPECT_EQ(PlaceTooltip({300, 16}, {20, 297, 40, 319}), (RECT{0, 280, 240, 296}));
}

TEST(MenuBarLayout, HiddenButtonsTakeNoRoomAndTextButtonsFitTheirText) {
    const MenuBarSlot slots[] = {{MenuBarSlot::Kind::Text, 30, false},
                                 {MenuBarSlot::Kind::Image, 0, true},
                                 {MenuBarSlot::Kind::Separator, 0, false},
                                 {MenuBarSlot::Kind::Image, 0, false}};
    const auto rects = LayOutMenuBar(slots, 26);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_EQ(rects[0], (RECT{1, 3, 41, 25}));
    EXPECT_EQ(rects[1].right, rects[1].left);
    EXPECT_EQ(rects[2], (RECT{41, 3, 45, 25}));
    EXPECT_EQ(rects[3], (RECT{45, 3, 65, 25}));
}

}  // namespace
}  // namespace qv
