#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gdi/shapes.h"
#include "platform/user/api/accelerator_table.h"
#include "platform/user/api/cursor.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/core/frame_painter.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/menu.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace testing;

class WindowLifecycle : public WindowTest {};

TEST_F(WindowLifecycle, CreationSendsCreateAndSizeThenShowsAndActivates) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    EXPECT_EQ(Log(), (Lines{"main:WM_NCCREATE", "main:WM_NCCALCSIZE", "main:WM_CREATE",
                            "main:WM_SIZE", "main:WM_ACTIVATE", "main:WM_SETFOCUS"}));
    EXPECT_EQ(Entries()[3].lParam, MAKELPARAM(240, 320));
    EXPECT_EQ(LOWORD(Entries()[4].wParam), WA_ACTIVE);

    // The creation message sees the window not yet shown.
    ClearLog();
    bool visibleDuringCreate = true;
    const HWND child = Make("child", WS_CHILD | WS_VISIBLE, {10, 20, 60, 40}, main,
                            [&](HWND w, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                visibleDuringCreate =
                                    m == WM_CREATE ? IsWindowVisible(w) != 0 : visibleDuringCreate;
                                return std::nullopt;
                            });
    EXPECT_FALSE(visibleDuringCreate);
    // A child is not activated.
    EXPECT_EQ(Log(), (Lines{"child:WM_NCCREATE", "child:WM_NCCALCSIZE", "child:WM_CREATE",
                            "child:WM_SIZE"}));
    EXPECT_EQ(std::pair(IsChild(main, child), IsChild(child, main)), std::pair(1, 0));
}

TEST_F(WindowLifecycle, CreationRefusedOrWithoutClassOrParentLeavesNoWindow) {
    // The first message may refuse too: then the creation message never comes.
    EXPECT_EQ(Make("early", WS_VISIBLE, kScreen, nullptr, Answer(WM_NCCREATE, 0)), nullptr);
    EXPECT_EQ(Log(), (Lines{"early:WM_NCCREATE", "early:WM_DESTROY", "early:WM_NCDESTROY"}));
    ClearLog();
    EXPECT_EQ(Make("refused", WS_VISIBLE, kScreen, nullptr, Answer(WM_CREATE, -1)), nullptr);
    EXPECT_EQ(Log(), (Lines{"refused:WM_NCCREATE", "refused:WM_NCCALCSIZE", "refused:WM_CREATE",
                            "refused:WM_DESTROY", "refused:WM_NCDESTROY"}));
    EXPECT_TRUE(system.TopLevelWindows().empty());
    EXPECT_EQ(GetActiveWindow(), nullptr);

    EXPECT_EQ(Make("orphan", WS_CHILD, {0, 0, 10, 10}), nullptr);  // a child without a parent

    const WNDCLASSW bad{.lpfnWndProc = DefWindowProcW, .cbWndExtra = -1, .lpszClassName = u"N"};
    EXPECT_EQ(RegisterClassW(&bad), 0) << "negative extra bytes";
    // A class name is taken within its module only; another module's is found only when global.
    WNDCLASSW again{.lpfnWndProc = DefWindowProcW, .lpszClassName = u"Recorder"};
    EXPECT_EQ(RegisterClassW(&again), 0);
    const ResourceModule other;
    again.hInstance = &other;
    EXPECT_NE(RegisterClassW(&again), 0);
    for (const UINT style : {0u, CS_GLOBALCLASS}) {
        again.style = style;
        again.lpszClassName = style ? u"Shared" : u"Private";
        RegisterClassW(&again);
        const HWND made = CreateWindowExW(0, again.lpszClassName, u"", 0, 0, 0, 10, 10, nullptr, 0,
                                          nullptr, nullptr);
        EXPECT_EQ(made != nullptr, style != 0);
    }
    // Without a module only the class of no module goes, not a module's of the same name.
    again.hInstance = nullptr;
    again.lpszClassName = u"Private";
    RegisterClassW(&again);
    EXPECT_TRUE(UnregisterClassW(u"Private", nullptr));
    EXPECT_TRUE(UnregisterClassW(u"Private", &other));
}

TEST_F(WindowLifecycle, DestroyGoesOwnedWindowsFirstThenDownThenUp) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND a = Make("a", WS_CHILD | WS_VISIBLE, {0, 0, 100, 100}, main);
    Make("a1", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, a);
    const HWND b = Make("b", WS_CHILD | WS_VISIBLE, {100, 0, 200, 100}, main);
    const HWND popup = Make("popup", WS_POPUP | WS_VISIBLE, {20, 20, 100, 100}, main);
    SetTimer(b, 1, 100, nullptr);
    PostMessageW(a, WM_USER, 0, 0);
    // While it is destroyed its children live on, but it is no longer found.
    bool childrenAliveDuringParentDestroy = false;
    On(main, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_DESTROY) {
            childrenAliveDuringParentDestroy =
                IsWindow(a) && IsWindow(b) && !FindWindowW(u"Recorder", nullptr);
        }
        return std::nullopt;
    });
    ClearLog();
    ASSERT_TRUE(DestroyWindow(main));
    EXPECT_EQ(Log({WM_DESTROY, WM_NCDESTROY}),
              (Lines{"popup:WM_DESTROY", "popup:WM_NCDESTROY", "main:WM_DESTROY", "a:WM_DESTROY",
                     "a1:WM_DESTROY", "b:WM_DESTROY", "a1:WM_NCDESTROY", "a:WM_NCDESTROY",
                     "b:WM_NCDESTROY", "main:WM_NCDESTROY"}));
    EXPECT_TRUE(childrenAliveDuringParentDestroy);
    for (const HWND w : {main, a, b, popup}) {
        EXPECT_FALSE(IsWindow(w));
    }
    // Gone windows refuse everything with the platform's failure value, as do no menu and no
    // accelerator table; their timers and queued messages go with them.
    RECT rect{};
    PAINTSTRUCT paint{};
    char16_t text[4];
    const MSG key{b, WM_KEYDOWN, 'Q', 0, 0, {}};
    const std::tuple<const char*, LONG_PTR, LONG_PTR> failures[] = {
        {"DestroyWindow", DestroyWindow(main), 0},
        {"ShowWindow", ShowWindow(b, SW_SHOW), 0},
        {"SetWindowTextW", SetWindowTextW(b, u"x"), 0},
        {"GetWindowTextW", GetWindowTextW(b, text, 4), 0},
        {"GetWindowTextW without a buffer", GetWindowTextW(b, nullptr, 4), 0},
        {"GetClientRect", GetClientRect(b, &rect), 0},
        {"GetWindowLongW", GetWindowLongW(b, GWL_STYLE), 0},
        {"GetDlgItem", GetDlgItem(a, 1) != nullptr, 0},
        {"SendMessageW", SendMessageW(b, WM_USER, 0, 0), 0},
        {"PostMessageW", PostMessageW(b, WM_USER, 0, 0), 0},
        {"SendMessageTimeoutW", SendMessageTimeoutW(b, WM_USER, 0, 0, 0, 10, nullptr), 0},
        {"SetTimer", static_cast<LONG_PTR>(SetTimer(b, 2, 10, nullptr)), 0},
        {"KillTimer", KillTimer(b, 1), 0},
        {"SetFocus", SetFocus(a) != nullptr, 0},
        {"SetActiveWindow", SetActiveWindow(popup) != nullptr, 0},
        {"InvalidateRect", InvalidateRect(b, nullptr, 1), 0},
        {"BeginPaint", BeginPaint(b, &paint) != nullptr, 0},
        {"ReleaseDC", ReleaseDC(b, nullptr), 0},
        {"GetScrollPos", GetScrollPos(b, SB_VERT), 0},
        {"SetScrollRange", SetScrollRange(b, SB_VERT, 0, 5, 0), 0},
        {"EndDialog", EndDialog(b, 1), 0},
        {"GetMenuItemCount", GetMenuItemCount(nullptr), -1},
        {"GetMenuItemID", GetMenuItemID(nullptr, 0), 0xFFFFFFFF},
        {"GetSubMenu", GetSubMenu(nullptr, 0) != nullptr, 0},
        {"DestroyMenu", DestroyMenu(nullptr), 0},
        {"DestroyAcceleratorTable", DestroyAcceleratorTable(nullptr), 0},
        {"TranslateAcceleratorW", TranslateAcceleratorW(b, nullptr, &key), 0}};
    for (const auto& [function, result, failure] : failures) {
        EXPECT_EQ(result, failure) << function;
    }
    host.AllowTime(std::chrono::milliseconds(1000));
    ClearLog();
    Pump();
    EXPECT_TRUE(Log().empty());
}

TEST_F(WindowLifecycle, SiblingsKeepCreationOrderTopFirst) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND a = Make("a", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, main);
    const HWND b = Make("b", WS_CHILD, {0, 0, 10, 10}, main);
    const HWND c = Make("c", WS_CHILD | WS_VISIBLE, {25, 25, 75, 75}, main);
    EXPECT_EQ(std::pair(GetWindow(main, GW_CHILD), GetWindow(a, GW_HWNDNEXT)), std::pair(a, b));
    // The first made lies on top where siblings overlap.
    host.Tap(30, 30);
    Pump();
    EXPECT_EQ(Log({WM_LBUTTONDOWN}), (Lines{"a:WM_LBUTTONDOWN"}));
    DestroyWindow(b);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    const HWND popup = Make("popup", WS_POPUP | WS_VISIBLE, {20, 20, 100, 100}, main);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), main) << "an owned window names its owner";
    EXPECT_EQ(SetActiveWindow(a), nullptr) << "a child is never active";
    EXPECT_EQ(GetActiveWindow(), popup);
    SetWindowLongW(popup, GWL_STYLE, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), nullptr) << "a child has no owner";
}

TEST_F(WindowLifecycle, DestroyInsideItsOwnHandlersIsSafe) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND child = Make("child", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, main);
    // The child destroys its parent while handling a tap, and again while being destroyed.
    On(child, [&](HWND self, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_LBUTTONUP) {
            DestroyWindow(main);
            EXPECT_FALSE(IsWindow(self));
            return 0;
        }
        if (m == WM_DESTROY) {
            EXPECT_FALSE(DestroyWindow(self));
            EXPECT_FALSE(DestroyWindow(main));
        }
        return std::nullopt;
    });
    host.Tap(10, 10);
    Pump();
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(WindowLifecycle, TextSlotsAndGeometry) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND box = Make("box", WS_POPUP | WS_CAPTION | WS_VISIBLE, {20, 40, 220, 140}, main);
    ASSERT_TRUE(SetWindowTextW(box, u"Маршрут"));
    char16_t small[4];
    EXPECT_EQ(GetWindowTextW(box, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"Мар");

    // The caption bar shows the text, in the colour of the window's activation.
    const auto captionPixels = [&](COLORREF colour) {
        int count = 0;
        for (int i = 0; i < 198 * FramePainter::kCaptionHeight; ++i) {
            count += ScreenPixel(21 + i % 198, 41 + i / 198) == colour ? 1 : 0;
        }
        return count;
    };
    Pump();
    EXPECT_GT(captionPixels(RGB(255, 255, 255)), 0);
    SetWindowTextW(box, u"");
    Pump();
    // The old title is gone: the whole bar is the active colour.
    EXPECT_EQ(captionPixels(RGB(0, 0, 128)), 198 * FramePainter::kCaptionHeight);
    SetActiveWindow(main);
    Pump();
    EXPECT_EQ(captionPixels(RGB(128, 128, 128)), 198 * FramePainter::kCaptionHeight);

    // A caption bar and a border lie outside the client area.
    RECT placed;
    GetClientRect(box, &placed);
    EXPECT_EQ(placed, (RECT{0, 0, 198, 100 - 2 - FramePainter::kCaptionHeight}));
    POINT corner{0, 0};
    ClientToScreen(box, &corner);
    EXPECT_EQ(corner, (POINT{21, 41 + FramePainter::kCaptionHeight}));
    EXPECT_FALSE(DestroyWindow(GetDesktopWindow()));

    // Told of each move of its corner, either way, and where to; a new size alone is no move.
    const std::tuple<int, int, int, int, bool> moves[] = {
        {0, 9, 240, 320, true}, {0, 4, 240, 320, true}, {7, 4, 240, 320, true},
        {7, 4, 200, 50, false}, {7, 4, 200, 50, false}, {0, 0, 240, 320, true}};
    for (const auto& [x, y, width, height, moved] : moves) {
        ClearLog();
        MoveWindow(main, x, y, width, height, 1);
        EXPECT_EQ(Params(WM_MOVE, Param::L), std::vector<LPARAM>(moved ? 1 : 0, MAKELPARAM(x, y)));
    }

    // The class's extra bytes, within their bounds.
    EXPECT_EQ(SetWindowLongW(main, 8, 99), 0);
    EXPECT_EQ(GetWindowLongW(main, 8), 99);
    EXPECT_EQ(SetWindowLongW(main, 9, 1), 0);  // would run past the 16 extra bytes
    EXPECT_EQ(GetWindowLongW(main, 16), 0);

    // A window wider than the largest image keeps its size and can be drawn in.
    ASSERT_TRUE(MoveWindow(box, -100, 0, 40000, 100, 1));
    GetWindowRect(box, &placed);
    EXPECT_EQ(placed, (RECT{-100, 0, 39900, 100}));
    const HDC dc = GetDC(box);
    RECT all{0, 0, 40000, 100};
    EXPECT_NE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_TRUE(ReleaseDC(box, dc));

    // The farthest places are held rather than wrapping round, and a negative size is none; a
    // window inside a far one still finds its place on the screen.
    const HWND inner = Make("inner", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, box);
    ASSERT_TRUE(MoveWindow(box, INT_MAX, INT_MIN, INT_MAX, -5, 1));
    ASSERT_TRUE(MoveWindow(inner, INT_MAX, INT_MAX, 10, 10, 1));
    GetWindowRect(box, &placed);
    EXPECT_EQ(std::tuple(placed.left > 0, placed.right > placed.left, placed.top < 0,
                         placed.bottom - placed.top),
              std::tuple(true, true, true, 0));
    GetWindowRect(inner, &placed);
    EXPECT_EQ(std::pair(placed.left > 0, placed.right - placed.left), std::pair(true, 10));
    ASSERT_TRUE(SetWindowPos(box, nullptr, INT_MAX - 5, 0, 10, 10, SWP_NOZORDER));
    GetWindowRect(box, &placed);
    EXPECT_EQ(std::pair(placed.left > 0, placed.right - placed.left), std::pair(true, 10));
}

TEST_F(WindowLifecycle, TheHostShowsTheActiveWindowsTextAndTheWaitCursor) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    SetWindowTextW(main, u"Схема метро");
    EXPECT_EQ(host.Title(), u"Схема метро");
    // When the active window goes, a disabled one is passed over.
    Make("off", WS_VISIBLE | WS_DISABLED, kScreen);
    DestroyWindow(Make("other", WS_VISIBLE, kScreen));
    EXPECT_EQ(std::tuple(GetActiveWindow(), host.Title()), std::tuple(main, u"Схема метро"));
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_TRUE(host.Busy()) << "the wait cursor shows";
}

// Activation lifts a window with the whole chain it owns, below the topmost windows; a window
// given to another owner follows the new one.
TEST_F(WindowLifecycle, ActivationLiftsTheWholeOwnedChainAndKeepsTopmostWindowsAbove) {
    const auto popup = [&](const char* name, HWND owner = nullptr, DWORD exStyle = 0) {
        return Make(name, WS_POPUP | WS_VISIBLE, kScreen, owner, {}, exStyle);
    };
    const HWND topmost = popup("topmost", nullptr, WS_EX_TOPMOST);
    const HWND owner = popup("owner");
    const HWND owned = popup("owned", owner);
    const HWND ownedByOwned = popup("owned by owned", owned);
    const HWND stranger = popup("stranger");
    using Handles = std::vector<HWND>;
    EXPECT_EQ(system.TopLevelWindows(), (Handles{topmost, stranger, ownedByOwned, owned, owner}));
    SetActiveWindow(owner);
    EXPECT_EQ(system.TopLevelWindows(), (Handles{topmost, ownedByOwned, owned, owner, stranger}));
    EXPECT_EQ(SetWindowLongW(owned, GWL_HWNDPARENT, PointerParam(stranger)), PointerParam(owner));
    SetActiveWindow(stranger);
    EXPECT_EQ(system.TopLevelWindows(), (Handles{topmost, ownedByOwned, owned, stranger, owner}));

    // Found by class, title or both, the top of the z-order first; an empty title is a title.
    SetWindowTextW(topmost, u"Карта");
    SetWindowTextW(stranger, u"Схема");
    const std::tuple<const char16_t*, const char16_t*, HWND> finds[] = {
        {nullptr, nullptr, topmost},   {u"Recorder", nullptr, topmost},
        {u"Other", nullptr, nullptr},  {nullptr, u"Схема", stranger},
        {u"", u"Схема", stranger},     {u"Recorder", u"Схема", stranger},
        {u"Other", u"Схема", nullptr}, {u"Recorder", u"", ownedByOwned}};
    for (const auto& [className, title, found] : finds) {
        EXPECT_EQ(FindWindowW(className, title), found);
    }
}

}  // namespace
}  // namespace qv
