#include "platform/pocket/menu_bar.h"

#include <chrono>
#include <iterator>

#include "platform/host/virtual_keys.h"
#include "platform/pocket/menu_bar_description.h"
#include "platform/pocket/menu_bar_layout.h"
#include "platform/pocket/tooltip_window.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "resources/main_toolbar.h"
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
    // The main window's menu bar as the program makes it.
    MenuBars() {
        SHMENUBARINFO info = BarFor(main);
        EXPECT_TRUE(SHCreateMenuBar(&info));
        bar = info.hwndMB;
        SendMessageW(bar, TB_SETTOOLTIPS, std::size(kMainToolbarTooltips),
                     PointerParam(kMainToolbarTooltips));
        CommandBar_AddBitmap(bar, ProgramModule(), IDB_TOOLBAR, kMainToolbarImageCount, 16, 16);
        SendMessageW(bar, TB_ADDBUTTONS, kMainToolbarButtons.size(),
                     PointerParam(kMainToolbarButtons.data()));
        Pump();
    }

    RECT ScreenRect(int position) const {
        RECT rect{};
        SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(position), PointerParam(&rect));
        POINT corner{0, 0};
        ClientToScreen(bar, &corner);
        return {rect.left + corner.x, rect.top + corner.y, rect.right + corner.x,
                rect.bottom + corner.y};
    }
    POINT Centre(int position) const {
        const RECT r = ScreenRect(position);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Press(int position) { host.PenDown(Centre(position).x, Centre(position).y); }
    void Release(int position) {
        const POINT p = Centre(position);
        host.PenMove(p.x, p.y);
        host.PenUp(p.x, p.y);
    }
    LRESULT Pressed(int command) const {
        return SendMessageW(bar, TB_ISBUTTONPRESSED, static_cast<WPARAM>(command), 0);
    }
    static SHMENUBARINFO BarFor(HWND parent, UINT resource = IDR_MENUBAR) {
        return {.hwndParent = parent, .nToolBarId = resource, .hInstRes = ProgramModule()};
    }
    HWND ShownTip() const {
        const HWND tip = FindWindowW(u"QvShellTooltip", nullptr);
        return tip && IsWindowVisible(tip) ? tip : nullptr;
    }

    HWND bar;
};

TEST_F(MenuBars, ShowWhileTheirWindowIsActiveAndClickOnReleaseInside) {
    // A bar made while its window is hidden shows with it, hiding the inactive window's bar.
    const HWND hidden = CreateWindowExW(0, u"ShellTestWindow", u"", WS_POPUP, 0, 0, 240, 320,
                                        nullptr, 0, nullptr, nullptr);
    SHMENUBARINFO early = BarFor(hidden);
    ASSERT_TRUE(SHCreateMenuBar(&early));
    EXPECT_FALSE(IsWindowVisible(early.hwndMB));
    EXPECT_TRUE(IsWindowVisible(bar));
    ShowWindow(hidden, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(early.hwndMB));
    EXPECT_FALSE(IsWindowVisible(bar));
    DestroyWindow(hidden);
    EXPECT_FALSE(IsWindow(early.hwndMB));
    EXPECT_TRUE(IsWindowVisible(bar));

    SHMENUBARINFO missing = BarFor(main, 999);
    EXPECT_FALSE(SHCreateMenuBar(&missing));
    EXPECT_EQ(missing.hwndMB, nullptr);

    // A button sends its command on release inside where the press began.
    Press(3);
    Pump();
    EXPECT_TRUE(Pressed(1033));
    // Away and back is a click; begun on another button, none.
    host.PenMove(120, 100);
    Pump();
    EXPECT_FALSE(Pressed(1033));
    Release(3);
    Press(4);
    Release(5);
    Pump();
    EXPECT_EQ(commands, (std::vector<Command>{{1033, PointerParam(bar)}}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(Pressed(1038));
}

TEST_F(MenuBars, OnlyEnabledButtonsTakeAPressAndACountPastTheStripsEndReadsNoMore) {
    // On another window's bar, a disabled text button first, a count of 15 is cut to the strip's 9.
    static constexpr MenuBarButton kGreyText[] = {{I_IMAGENONE, 2000, 0, TBSTYLE_BUTTON, 1}};
    static constexpr MenuBarDescription kGreyBar{0, kGreyText};
    static ResourceModule module;
    module.AddResource(1, kGreyBar);
    module.AddString(1, u"█");
    SHMENUBARINFO info = BarFor(MakeWindow(u"", {0, 0, kScreenWidth, kScreenHeight}), 1);
    info.hInstRes = &module;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    bar = info.hwndMB;
    EXPECT_EQ(CommandBar_AddBitmap(bar, ProgramModule(), IDB_TOOLBAR, 15, 16, 16), 0);
    const TBBUTTON added[] = {{8, 2001, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                              {9, 2002, 0, TBSTYLE_BUTTON, 0, 0},
                              {14, 2003, TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0},
                              {0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, 0, 0},
                              {0, 2004, TBSTATE_ENABLED | TBSTATE_PRESSED, TBSTYLE_BUTTON, 0, 0},
                              {1, 2005, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_BUTTON, 0, 0}};
    SendMessageW(bar, TB_ADDBUTTONS, std::size(added), PointerParam(added));
    // A disabled button or a separator takes no press.
    for (const int position : {1, 2, 3, 4}) {
        Press(position);
        Pump();
        EXPECT_EQ(GetCapture() != nullptr, position % 2 == 1) << position;
        EXPECT_FALSE(Pressed(2002)) << position;
        Release(position);
    }
    EXPECT_TRUE(Pressed(2004)) << "added pressed";
    Pump();
    EXPECT_EQ(commands,
              (std::vector<Command>{{2001, PointerParam(bar)}, {2003, PointerParam(bar)}}));
    EXPECT_EQ(ScreenPixel(Centre(0).x, Centre(0).y), kShadow) << "the disabled text, a block";
    EXPECT_EQ(ScreenPixel(ScreenRect(6).left, ScreenRect(6).top), kShadow) << "checked, pushed in";
    EXPECT_EQ(CommandBar_AddBitmap(bar, ProgramModule(), IDB_TOOLBAR, 1, 16, 16), 9);
    // A count beyond any strip's keeps every image the strip and those before it hold.
    const TBADDBITMAP strip{ProgramModule(), IDB_TOOLBAR};
    EXPECT_EQ(SendMessageW(bar, TB_ADDBITMAP, ~WPARAM{0}, PointerParam(&strip)), 10);
    EXPECT_EQ(SendMessageW(bar, TB_ADDBITMAP, 1, PointerParam(&strip)), 19);
    EXPECT_EQ(CommandBar_AddBitmap(bar, ProgramModule(), 4242, 9, 16, 16), -1);
    EXPECT_EQ(CommandBar_AddBitmap(main, ProgramModule(), IDB_TOOLBAR, 9, 16, 16), -1);
}

TEST_F(MenuBars, ATooltipShowsAfterHalfASecondWithTheTextOfTheButtonsPosition) {
    Press(1);
    host.AllowTime(milliseconds(kTooltipDelayMs - 1));
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    host.AllowTime(milliseconds(1));
    Pump();
    EXPECT_EQ(GetActiveWindow(), main);
    Release(1);
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);

    // Entry 0 belongs to the text button and is empty: no tip there.
    Press(0);
    host.AllowTime(milliseconds(kTooltipDelayMs * 2));
    Pump();
    EXPECT_EQ(ShownTip(), nullptr);
    host.PenUp(Centre(0).x, Centre(0).y);
    Pump();

    // Each button does what its tip says (the first one's shows after the delay, above).
    const std::pair<std::u16string_view, int> buttons[] = {
        {u"Станция отправления", ID_DEPARTURE},
        {u"Станция назначения", ID_DESTINATION},
        {u"Очистка станций", ID_CLEAR_STATIONS},
        {u"Запрещенная станция", ID_FORBIDDEN_STATION},
        {u"Станции по алфавиту", ID_STATION_LIST},
        {u"Информация о маршруте", ID_ROUTE_INFO},
        {u"Масштабирование", ID_SCALE},
        {u"Помощь", ID_HELP}};
    for (int position = 1; position <= 8; ++position) {
        const auto& [text, command] = buttons[position - 1];
        Press(position);
        host.AllowTime(milliseconds(kTooltipDelayMs));
        Pump();
        EXPECT_EQ(GetWindowText(ShownTip()), text);
        commands.clear();
        Release(position);
        Pump();
        EXPECT_EQ(commands, (std::vector<Command>{{command, PointerParam(bar)}})) << position;
    }
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
    // Left from the first button goes round to the last shown; Right to the next.
    const TBBUTTON hidden{0, 2009, TBSTATE_ENABLED | TBSTATE_HIDDEN, TBSTYLE_BUTTON, 0, 0};
    SendMessageW(bar, TB_ADDBUTTONS, 1, PointerParam(&hidden));
    EXPECT_EQ(keyed({VK_LEFT, VK_RETURN}), (std::vector<Command>{{ID_HELP, PointerParam(bar)}}));
    EXPECT_EQ(keyed({VK_RIGHT, VK_RIGHT, VK_SPACE}),
              (std::vector<Command>{{ID_DESTINATION, PointerParam(bar)}}));
    // The menu opens on its first item, "&Загрузить".
    EXPECT_EQ(keyed({VK_DOWN, VK_RETURN}), (std::vector<Command>{{ID_LOAD_MAP, 0}}));
    EXPECT_TRUE(keyed({VK_RIGHT, VK_ESCAPE, VK_RETURN}).empty());
    EXPECT_TRUE(keyed({VK_RIGHT, VK_F10, VK_RETURN}).empty());
    EXPECT_EQ(FindWindowW(u"#32768", nullptr), nullptr);
    // A bar of one button keeps it whichever way the keys go.
    SHMENUBARINFO single = BarFor(MakeWindow(u"", {0, 0, kScreenWidth, kScreenHeight}));
    ASSERT_TRUE(SHCreateMenuBar(&single));
    bar = single.hwndMB;
    EXPECT_EQ(keyed({VK_RIGHT, VK_DOWN, VK_RETURN}), (std::vector<Command>{{ID_LOAD_MAP, 0}}));
}

TEST_F(MenuBars, TheButtonTheKeysHaveReachedLooksPressedAtOnceUntilThePenComesDown) {
    const auto corner = [&](int position) {
        return ScreenPixel(ScreenRect(position).left, ScreenRect(position).top);
    };
    std::vector<std::vector<COLORREF>> seen;
    SetTimer(main, 8, 100, nullptr);
    timerSeen = [&] {
        seen.push_back({corner(0), corner(1), corner(2)});
        if (seen.size() < 3) {
            host.Key(VK_RIGHT);
        } else if (seen.size() == 3) {
            host.PenDown(120, 100);
        } else {
            KillTimer(main, 8);
        }
    };
    host.AllowTime(milliseconds(1000));
    SendMessageW(bar, WM_KEYDOWN, VK_F10, 0);
    Pump();
    EXPECT_EQ(seen, (std::vector<std::vector<COLORREF>>{{kShadow, kFace, kFace},
                                                        {kFace, kShadow, kFace},
                                                        {kFace, kFace, kShadow},
                                                        {kFace, kFace, kFace}}));
    EXPECT_TRUE(commands.empty());
}

TEST(TooltipPlacement, GoesAboveTheAnchorAndStaysOnTheScreen) {
    EXPECT_EQ(PlaceTooltip({60, 16}, {20, 297, 40, 319}), (RECT{20, 280, 80, 296}));
    EXPECT_EQ(PlaceTooltip({60, 16}, {200, 297, 220, 319}), (RECT{180, 280, 240, 296}));
    EXPECT_EQ(PlaceTooltip({60, 16}, {-30, 297, 10, 319}), (RECT{0, 280, 60, 296}));
    EXPECT_EQ(PlaceTooltip({60, 16}, {20, 17, 40, 37}), (RECT{20, 0, 80, 16}));
    // No room above: below, on the screen; wider than the screen: as wide as the screen.
    EXPECT_EQ(PlaceTooltip({60, 16}, {20, 16, 40, 36}), (RECT{20, 37, 80, 53}));
    EXPECT_EQ(PlaceTooltip({300, 16}, {20, 10, 40, 310}), (RECT{0, 304, 240, 320}));
}

TEST(MenuBarLayout, HiddenButtonsTakeNoRoomAndTextButtonsFitTheirText) {
    const MenuBarSlot slots[] = {{MenuBarSlot::Kind::Text, 30, false},
                                 {MenuBarSlot::Kind::Image, 0, true},
                                 {MenuBarSlot::Kind::Separator, 0, false},
                                 {MenuBarSlot::Kind::Image, 0, false}};
    EXPECT_EQ(
        LayOutMenuBar(slots, 26),
        (std::vector<RECT>{{1, 3, 41, 25}, {41, 3, 41, 3}, {41, 3, 45, 25}, {45, 3, 65, 25}}));
}

}  // namespace
}  // namespace qv
