#include "platform/controls/popup_menu.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/system_metrics.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

using Events = std::vector<std::string>;

constexpr UINT kOpenMenu = WM_USER + 7;
constexpr int kMenuId = 3;
// The top edge of the menu bar, which the menus open upwards from.
constexpr POINT kBarTop{0, 294};
constexpr UINT kUpwards = TPM_LEFTALIGN | TPM_BOTTOMALIGN;

// Positions: 0 Загрузить, 1 separator, 2 Станции, 3 greyed, 4 separator, 5 О (Latin), 6 Обзор
// (Cyrillic), 7 Сдвиг (the same letter as Станции), 8 Выход, 9 disabled (not greyed).
constexpr MenuItemTemplate kItems[] = {
    MenuCommand(u"&Загрузить", 101),
    MenuSeparator(),
    MenuCommand(u"&Станции по алфавиту", 102),
    MenuCommand(u"&Недоступно", 103, MF_GRAYED),
    MenuSeparator(),
    MenuCommand(u"&O программе", 104),
    MenuCommand(u"&Обзор", 105),
    MenuCommand(u"&Сдвиг", 106),
    MenuCommand(u"Вы&ход", 107),
    MenuCommand(u"&Архив", 108, MF_DISABLED),
};
constexpr MenuItemTemplate kBar[] = {MenuPopup(u"&Тест", kItems)};
constexpr MenuTemplate kMenu{kBar};

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// An owner window that opens the menu from inside its own handler, as a menu bar does, and
// writes down what it gets: the tracking's result, commands, and pen and key messages.
class PopupMenus : public ::testing::Test {
  protected:
    PopupMenus() {
        current_ = this;
        module_.AddResource(kMenuId, kMenu);
        bar_.reset(LoadMenuW(&module_, kMenuId));
        menu = GetSubMenu(bar_.get(), 0);
        const WNDCLASSW attributes{.lpfnWndProc = Procedure,
                                   .hbrBackground = GetSysColorBrush(COLOR_WINDOW),
                                   .lpszClassName = u"MenuOwner"};
        RegisterClassW(&attributes);
        owner = CreateWindowExW(0, u"MenuOwner", u"", WS_POPUP | WS_VISIBLE, 0, 0, kScreenWidth,
                                kScreenHeight, nullptr, 0, nullptr, nullptr);
    }
    ~PopupMenus() override {
        DestroyWindow(owner);
        current_ = nullptr;
    }

    void Open(UINT openFlags = kUpwards) {
        flags = openFlags;
        PostMessageW(owner, kOpenMenu, 0, 0);
    }
    // The screen rectangle of an item, from a menu window shown for a moment.
    RECT Item(int position, const TPMPARAMS* params = nullptr) {
        const HWND shown =
            CreatePopupMenuWindow(menu, kUpwards, kBarTop.x, kBarTop.y, owner, params);
        RECT rect{};
        EXPECT_TRUE(GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &rect));
        DestroyWindow(shown);
        return rect;
    }
    static HWND OpenMenuWindow() { return FindWindowW(kPopupMenuClassName.data(), nullptr); }
    WindowSystem::PumpResult Pump() { return system.Pump(); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND owner = nullptr;
    HMENU menu = nullptr;
    UINT flags = kUpwards;
    Events events;
    // Runs on the owner's timer, while the menu is open.
    std::function<void()> onTimer;
    // Opens the menu on the owner's first pen-down, as a menu bar's button does.
    bool openOnPress = false;

  private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        PopupMenus* test = current_;
        if (!test) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        switch (message) {
            case kOpenMenu: {
                const BOOL result = TrackPopupMenuEx(test->menu, test->flags, kBarTop.x, kBarTop.y,
                                                     window, nullptr);
                test->events.push_back("returned " + std::to_string(result));
                return 0;
            }
            case WM_COMMAND:
                test->events.push_back("command " + std::to_string(LOWORD(wParam)) + "/" +
                                       std::to_string(HIWORD(wParam)) + "/" +
                                       std::to_string(lParam));
                return 0;
            case WM_TIMER:
                if (test->onTimer) {
                    test->onTimer();
                }
                return 0;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
                test->events.push_back(message == WM_LBUTTONDOWN ? "owner pen down"
                                                                 : "owner pen up");
                if (message == WM_LBUTTONDOWN && test->openOnPress) {
                    SendMessageW(window, kOpenMenu, 0, 0);
                }
                return 0;
            case WM_KEYDOWN:
            case WM_CHAR:
                test->events.push_back("owner key");
                return 0;
            default:
                return DefWindowProcW(window, message, wParam, lParam);
        }
    }

    static PopupMenus* current_;
    ResourceModule module_;
    UniqueMenu bar_;
};

PopupMenus* PopupMenus::current_ = nullptr;

TEST_F(PopupMenus, ATapOnAnItemPostsItsCommandAfterTheMenuIsGoneUnlessAskedNotTo) {
    struct Case {
        UINT flags;
        std::vector<int> taps;  // item positions; -1 outside the menu
        Events expected;
    };
    const Case cases[] = {
        {kUpwards, {2}, {"returned 1", "command 102/0/0"}},
        {kUpwards | TPM_RETURNCMD, {2}, {"returned 102"}},
        {kUpwards | TPM_NONOTIFY, {2}, {"returned 1"}},
        // Separators, greyed and disabled items ignore taps; the tap that closes the menu goes
        // nowhere else, the next one reaches the owner.
        {kUpwards, {1, 3, 4, 9, -1, -1}, {"returned 1", "owner pen down", "owner pen up"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        events.clear();
        Open(c.flags);
        for (const int position : c.taps) {
            if (position < 0) {
                host.Tap(200, 20);
            } else {
                const POINT centre = Centre(Item(position));
                host.Tap(centre.x, centre.y);
            }
        }
        EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle);
        EXPECT_EQ(events, c.expected);
        EXPECT_EQ(GetActiveWindow(), owner) << "the menu never takes the activation";
    }
}

TEST_F(PopupMenus, ArrowsGoRoundTheItemsThatCanBeChosenAndMnemonicsChooseOrTakeTurns) {
    struct Case {
        std::u16string typed;
        std::vector<int> keys;
        std::string chosen;
        bool alt = false;  // the letter comes with Alt, posted where the focus is
    };
    const Case cases[] = {
        {u"", {VK_UP, VK_RETURN}, "returned 107"},
        // Past the separator, then past the greyed item and the second separator.
        {u"", {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "returned 104"},
        {u"", {VK_DOWN, VK_UP, VK_RETURN}, "returned 107"},
        {u"", {VK_UP, VK_DOWN, VK_RETURN}, "returned 101"},
        {u"", {VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_RETURN}, "returned 102"},
        // Return without a highlight, and keys the menu does not use, leave it open.
        {u"", {VK_RETURN, VK_LEFT, VK_TAB, VK_DOWN, VK_RETURN}, "returned 101"},
        {u"", {VK_DOWN, VK_ESCAPE}, "returned 0"},
        {u"з", {}, "returned 101"},
        {u"Х", {}, "returned 107", true},
        {u"o", {}, "returned 104"},  // Latin
        {u"О", {}, "returned 105"},  // Cyrillic
        // Two items share С: each press moves the highlight, Return chooses.
        {u"с", {VK_RETURN}, "returned 102"},
        {u"сс", {VK_RETURN}, "returned 106"},
        {u"ссс", {VK_RETURN}, "returned 102"},
        // The greyed item's letter and letters of no item change nothing.
        {u"нq", {VK_ESCAPE}, "returned 0"},
    };
    SetFocus(owner);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        events.clear();
        Open(kUpwards | TPM_RETURNCMD);
        c.alt ? void(PostMessageW(owner, WM_SYSCHAR, c.typed[0], 0)) : host.Type(c.typed);
        for (const int key : c.keys) {
            host.Key(key);
        }
        EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle);
        EXPECT_EQ(events, Events{c.chosen});
        EXPECT_EQ(GetFocus(), owner) << "the keys never reach the focus";
    }
}

TEST_F(PopupMenus, AMenuOpenedByAPressTakesTheReleaseAndTheDrag) {
    openOnPress = true;
    const POINT button{20, 305};
    const POINT exit = Centre(Item(8));
    const POINT settings = Centre(Item(2));
    // Released where it was pressed: the menu stays; then a tap on an item.
    host.PenDown(button.x, button.y);
    host.PenUp(button.x, button.y);
    host.Tap(exit.x, exit.y);
    // Pressed, dragged over one item onto another and released there.
    host.PenDown(button.x, button.y);
    host.PenMove(settings.x, settings.y);
    host.PenMove(exit.x, exit.y);
    host.PenUp(exit.x, exit.y);
    // Dragged off the items, which takes the highlight, and released outside: still open, Return
    // does nothing, until Escape.
    host.PenDown(button.x, button.y);
    host.PenMove(settings.x, settings.y);
    host.PenMove(200, 10);
    host.PenUp(200, 10);
    host.Key(VK_RETURN);
    host.Key(VK_ESCAPE);
    // A pen that hovers off the items, not pressed, leaves the keyboard's highlight.
    host.Tap(button.x, button.y);
    host.Key(VK_DOWN);
    host.PenMove(200, 10);
    host.Key(VK_RETURN);
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle);
    EXPECT_EQ(events, (Events{"owner pen down", "returned 1", "command 107/0/0", "owner pen down",
                              "returned 1", "command 107/0/0", "owner pen down", "returned 1",
                              "owner pen down", "returned 1", "command 101/0/0"}));
}

TEST_F(PopupMenus, TheMenuStaysOnTheScreenAndOffTheExcludedRectangle) {
    const SIZE screen{240, 320};
    struct Case {
        POINT at;
        UINT flags;
        RECT exclude;
        RECT expected;
        SIZE menu{100, 120};
    };
    constexpr RECT kNone{};
    // Room for the menu on each side of it: 110 pixels left and right, just 120 above and below.
    constexpr RECT kMiddle{110, 120, 130, 200};
    const Case cases[] = {
        // Off the bottom edge: to the other side of the point.
        {{150, 250}, TPM_LEFTALIGN | TPM_TOPALIGN, kNone, {50, 130, 150, 250}},
        {{120, 160}, TPM_CENTERALIGN, kNone, {70, 160, 170, 280}},
        {{120, 160}, TPM_VCENTERALIGN, kNone, {120, 100, 220, 220}},
        // Reaching both edges exactly: it stays.
        {{140, 200}, TPM_LEFTALIGN | TPM_TOPALIGN, kNone, {140, 200, 240, 320}},
        // No room on either side: moved inside the screen.
        {{-50, 400}, TPM_LEFTALIGN | TPM_TOPALIGN, kNone, {0, 200, 100, 320}},
        // Off the excluded rectangle, with room on every side: to its right or left, or with
        // TPM_VERTICAL below or above it, as the alignment prefers.
        {{120, 150}, TPM_LEFTALIGN, kMiddle, {130, 150, 230, 270}},
        {{120, 150}, TPM_RIGHTALIGN, kMiddle, {10, 150, 110, 270}},
        {{120, 150}, TPM_TOPALIGN | TPM_VERTICAL, kMiddle, {120, 200, 220, 320}},
        {{120, 150}, TPM_BOTTOMALIGN | TPM_VERTICAL, kMiddle, {120, 0, 220, 120}},
        // No room above or below: beside it after all.
        {{10, 150}, TPM_BOTTOMALIGN | TPM_VERTICAL, {0, 100, 100, 220}, {100, 30, 200, 150}},
        // Beside it without TPM_VERTICAL; where no side has room the menu stays.
        {{100, 150}, TPM_LEFTALIGN, {90, 0, 130, 320}, {130, 150, 230, 270}},
        {{100, 150}, TPM_LEFTALIGN, {90, 0, 150, 320}, {100, 150, 200, 270}},
        // Only touching it on either side: the menu stays.
        {{230, 150}, TPM_RIGHTALIGN, {100, 0, 130, 320}, {130, 150, 230, 270}},
        {{10, 150}, TPM_LEFTALIGN, {110, 0, 120, 320}, {10, 150, 110, 270}},
        // The farthest points and an excluded rectangle as large as can be.
        {{INT_MAX, INT_MAX}, TPM_LEFTALIGN | TPM_TOPALIGN, kNone, {140, 200, 240, 320}},
        {{INT_MIN, INT_MIN}, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, kNone, {0, 0, 100, 120}},
        {{10, 150}, TPM_VERTICAL, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {10, 150, 110, 270}},
        // Flipped to the point's other side only when it fits there, however exactly.
        {{140, 10}, TPM_LEFTALIGN | TPM_TOPALIGN, kNone, {0, 10, 140, 210}, {140, 200}},
        {{139, 10}, TPM_LEFTALIGN | TPM_TOPALIGN, kNone, {100, 10, 240, 210}, {140, 200}},
        {{100, 10}, TPM_RIGHTALIGN | TPM_TOPALIGN, kNone, {100, 10, 240, 210}, {140, 200}},
        {{101, 10}, TPM_RIGHTALIGN | TPM_TOPALIGN, kNone, {0, 10, 140, 210}, {140, 200}},
        // Larger than the screen: its top left corner shows.
        {{100, 100}, TPM_CENTERALIGN, kNone, {0, 0, 300, 400}, {300, 400}},
    };
    for (const Case& c : cases) {
        const RECT* exclude = c.exclude.right > c.exclude.left ? &c.exclude : nullptr;
        EXPECT_EQ(PlacePopupMenu(c.menu, c.at, c.flags, screen, exclude), c.expected)
            << c.at.x << "," << c.at.y;
    }
    // Given to a shown menu, the rectangle moves it likewise: right of the point, as it prefers.
    const TPMPARAMS params{.rcExclude = {0, 280, 10, kBarTop.y}};
    EXPECT_EQ(Item(0, &params).left - Item(0).left, 10);
}

TEST_F(PopupMenus, TheHighlightIsDrawnWhereItIsAndFollowsItsItem) {
    const HWND shown = CreatePopupMenuWindow(menu, kUpwards, kBarTop.x, kBarTop.y, owner, nullptr);
    EXPECT_EQ(SendMessageW(shown, MN_SELECTITEM, 3, 0), 0) << "a greyed item";
    EXPECT_EQ(SendMessageW(shown, MN_SELECTITEM, 2, 0), 1);
    Pump();
    const RECT second = Item(2);
    const RECT first = Item(0);
    EXPECT_EQ(SendMessageW(shown, MN_SELECTITEM, 0, 0), 1);
    Pump();
    const int k = host.DeviceScale();
    EXPECT_EQ(host.LastFrame()->GetPixel(first.left * k, first.top * k),
              GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(host.LastFrame()->GetPixel(second.left * k, second.top * k), RGB(255, 255, 255));
    DestroyWindow(shown);
}

TEST_F(PopupMenus, TheQuitMessageEndsTheMenuAndIsPostedAgain) {
    Open();
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Quit);
    EXPECT_EQ(events, (Events{"returned 1"}));
    EXPECT_EQ(OpenMenuWindow(), nullptr);
}

TEST_F(PopupMenus, OtherMessagesRunMeanwhileButASecondMenuIsRefused) {
    SetTimer(owner, 1, 100, nullptr);
    host.AllowTime(std::chrono::milliseconds(150));
    onTimer = [&] {
        KillTimer(owner, 1);
        events.push_back("nested " +
                         std::to_string(TrackPopupMenuEx(menu, 0, 0, 0, owner, nullptr)));
        host.Key(VK_ESCAPE);
    };
    Open();
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle);
    EXPECT_EQ(events, (Events{"nested 0", "returned 1"}));
}

TEST_F(PopupMenus, AnOwnerDestroyedWhileItsMenuIsOpenTakesTheMenuWithIt) {
    SetTimer(owner, 1, 100, nullptr);
    host.AllowTime(std::chrono::milliseconds(150));
    const POINT item = Centre(Item(2));
    onTimer = [&] {
        DestroyWindow(owner);
        // Would choose the item if the menu were still open.
        host.Tap(item.x, item.y);
    };
    Open(kUpwards | TPM_RETURNCMD);
    EXPECT_EQ(Pump(), WindowSystem::PumpResult::Idle);
    EXPECT_EQ(events, (Events{"returned 0"}));
    EXPECT_EQ(OpenMenuWindow(), nullptr);
}

TEST_F(PopupMenus, MenusThatCannotBeShownFail) {
    constexpr MenuItemTemplate kEmpty[] = {MenuPopup(u"&Пусто", {})};
    ResourceModule module;
    const MenuTemplate empty{kEmpty};
    module.AddResource(1, empty);
    const UniqueMenu emptyBar(LoadMenuW(&module, 1));
    const HWND gone =
        CreateWindowExW(0, u"MenuOwner", u"", WS_POPUP, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_FALSE(TrackPopupMenuEx(nullptr, 0, 0, 0, owner, nullptr));
    EXPECT_FALSE(TrackPopupMenuEx(GetSubMenu(emptyBar.get(), 0), 0, 0, 0, owner, nullptr));
    EXPECT_FALSE(TrackPopupMenuEx(menu, 0, 0, 0, nullptr, nullptr));
    EXPECT_FALSE(TrackPopupMenuEx(menu, 0, 0, 0, gone, nullptr));
    const TPMPARAMS wrongSize{.cbSize = sizeof(TPMPARAMS) + 1};
    EXPECT_FALSE(CreatePopupMenuWindow(menu, 0, 0, 0, owner, &wrongSize));
    RECT rect{};
    EXPECT_FALSE(GetMenuItemRect(nullptr, menu, 0, &rect)) << "not shown";
    EXPECT_EQ(OpenMenuWindow(), nullptr);
}

}  // namespace
}  // namespace qv
