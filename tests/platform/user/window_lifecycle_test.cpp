#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/shapes.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/core/frame_painter.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "window_test.h"

namespace qv {
namespace {

using testing::Answer;
using testing::WindowTest;
using Lines = std::vector<std::string>;

constexpr RECT kScreen{0, 0, 240, 320};

class WindowLifecycle : public WindowTest {};

TEST_F(WindowLifecycle, CreationSendsCreateAndSizeThenShowsAndActivates) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Log(), (Lines{"main:WM_NCCREATE", "main:WM_NCCALCSIZE", "main:WM_CREATE",
                            "main:WM_SIZE", "main:WM_ACTIVATE", "main:WM_SETFOCUS"}));
    EXPECT_EQ(Entries()[3].lParam, MAKELPARAM(240, 320));
    EXPECT_EQ(LOWORD(Entries()[4].wParam), WA_ACTIVE);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(GetActiveWindow(), main);
    EXPECT_EQ(GetFocus(), main);

    // The creation message sees the window not yet shown, with its parameters.
    ClearLog();
    bool visibleDuringCreate = true;
    int widthSeen = 0;
    const HWND child = Make(
        "child", WS_CHILD | WS_VISIBLE, {10, 20, 60, 40}, main,
        [&](HWND w, UINT m, WPARAM, LPARAM l) -> std::optional<LRESULT> {
            if (m == WM_CREATE) {
                visibleDuringCreate = IsWindowVisible(w) != 0;
                widthSeen = PointerFromParam<CREATESTRUCTW>(l)->cx;
            }
            return std::nullopt;
        },
        0, 7);
    EXPECT_FALSE(visibleDuringCreate);
    EXPECT_EQ(widthSeen, 50);
    // A child is not activated.
    EXPECT_EQ(Log(), (Lines{"child:WM_NCCREATE", "child:WM_NCCALCSIZE", "child:WM_CREATE",
                            "child:WM_SIZE"}));
    EXPECT_EQ(GetParent(child), main);
    EXPECT_TRUE(IsChild(main, child));
    EXPECT_FALSE(IsChild(child, main));
    EXPECT_EQ(GetDlgItem(main, 7), child);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_EQ(rect, (RECT{10, 20, 60, 40}));
}

TEST_F(WindowLifecycle, CreationRefusedOrWithoutClassOrParentLeavesNoWindow) {
    // The first message may refuse too: then the creation message never comes.
    EXPECT_EQ(Make("early", WS_VISIBLE, kScreen, nullptr, Answer(WM_NCCREATE, 0)), nullptr);
    EXPECT_EQ(Log(), (Lines{"early:WM_NCCREATE", "early:WM_DESTROY", "early:WM_NCDESTROY"}));
    ClearLog();
    const HWND refused = Make("refused", WS_VISIBLE, kScreen, nullptr, Answer(WM_CREATE, -1));
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(Log(), (Lines{"refused:WM_NCCREATE", "refused:WM_NCCALCSIZE", "refused:WM_CREATE",
                            "refused:WM_DESTROY", "refused:WM_NCDESTROY"}));
    EXPECT_TRUE(system.TopLevelWindows().empty());
    EXPECT_EQ(GetActiveWindow(), nullptr);

    // Any other answer creates it.
    EXPECT_NE(Make("kept", 0, kScreen, nullptr, Answer(WM_CREATE, 5)), nullptr);

    // Without a class or a parent there is nothing to make.
    EXPECT_EQ(
        CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr),
        nullptr);
    EXPECT_EQ(Make("orphan", WS_CHILD, {0, 0, 10, 10}), nullptr);
    const HWND gone = Make("gone", 0, kScreen);
    DestroyWindow(gone);
    EXPECT_EQ(Make("child", WS_CHILD, {0, 0, 10, 10}, gone), nullptr);
    EXPECT_EQ(Make("owned", 0, {0, 0, 10, 10}, gone), nullptr);
}

TEST_F(WindowLifecycle, DestroyGoesOwnedWindowsFirstThenDownThenUp) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND a = Make("a", WS_CHILD | WS_VISIBLE, {0, 0, 100, 100}, main);
    Make("a1", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, a);
    const HWND b = Make("b", WS_CHILD | WS_VISIBLE, {100, 0, 200, 100}, main);
    const HWND popup = Make("popup", WS_POPUP | WS_VISIBLE, {20, 20, 100, 100}, main);
    SetTimer(b, 1, 100, nullptr);
    bool childrenAliveDuringParentDestroy = false;
    On(main, [&](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_DESTROY) {
            childrenAliveDuringParentDestroy = IsWindow(a) && IsWindow(b);
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
    EXPECT_FALSE(DestroyWindow(main));
    // The destroyed window's timer is gone with it.
    host.AllowTime(std::chrono::milliseconds(1000));
    ClearLog();
    Pump();
    EXPECT_TRUE(Log({WM_TIMER}).empty());
}

TEST_F(WindowLifecycle, SiblingsKeepCreationOrderTopFirst) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND a = Make("a", WS_CHILD | WS_VISIBLE, {0, 0, 50, 50}, main);
    const HWND b = Make("b", WS_CHILD, {0, 0, 10, 10}, main);
    const HWND c = Make("c", WS_CHILD | WS_VISIBLE, {25, 25, 75, 75}, main);
    EXPECT_EQ(GetWindow(main, GW_CHILD), a);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(a, GW_OWNER), nullptr);
    // The first made lies on top where siblings overlap.
    host.Tap(30, 30);
    Pump();
    EXPECT_EQ(Log({WM_LBUTTONDOWN}), (Lines{"a:WM_LBUTTONDOWN"}));
    DestroyWindow(b);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), c);
    EXPECT_EQ(GetWindow(c, GW_HWNDPREV), a);
    EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);

    // Top-level windows: the newest on top; an owned window names its owner.
    const HWND popup = Make("popup", WS_POPUP | WS_VISIBLE, {20, 20, 100, 100}, main);
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), popup);
    EXPECT_EQ(GetWindow(popup, GW_HWNDNEXT), main);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), main);
    EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
    EXPECT_EQ(GetWindow(main, 99), nullptr);
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
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowLifecycle, DestroyedWindowsRefuseEverything) {
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, Answer(WM_USER, 42));
    EXPECT_EQ(SendMessageW(main, WM_USER, 0, 0), 42);
    ASSERT_TRUE(PostMessageW(main, WM_USER, 0, 0));  // still queued when the window goes
    DestroyWindow(main);
    ClearLog();
    EXPECT_EQ(SendMessageW(main, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(main, WM_USER, 0, 0));
    EXPECT_FALSE(SetWindowTextW(main, u"x"));
    RECT rect;
    EXPECT_FALSE(GetWindowRect(main, &rect));
    EXPECT_EQ(SetTimer(main, 1, 10, nullptr), 0u);
    EXPECT_FALSE(ShowWindow(main, SW_SHOW));
    EXPECT_EQ(SetFocus(main), nullptr);
    EXPECT_EQ(SetCapture(main), nullptr);
    EXPECT_EQ(SetWindowLongW(main, GWL_USERDATA, 1), 0);
    Pump();
    EXPECT_TRUE(Log().empty());
}

TEST_F(WindowLifecycle, TextSlotsAndGeometry) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND box = Make("box", WS_POPUP | WS_CAPTION | WS_VISIBLE, {20, 40, 220, 140}, main);
    ASSERT_TRUE(SetWindowTextW(box, u"Маршрут"));
    EXPECT_EQ(GetWindowText(box), u"Маршрут");
    EXPECT_EQ(GetWindowTextLengthW(box), 7);
    char16_t small[4];
    EXPECT_EQ(GetWindowTextW(box, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"Мар");

    // A caption bar and a border lie outside the client area.
    RECT client;
    GetClientRect(box, &client);
    EXPECT_EQ(client, (RECT{0, 0, 198, 100 - 2 - FramePainter::kCaptionHeight}));
    POINT corner{0, 0};
    ClientToScreen(box, &corner);
    EXPECT_EQ(corner, (POINT{21, 41 + FramePainter::kCaptionHeight}));
    ScreenToClient(box, &corner);
    EXPECT_EQ(corner, (POINT{0, 0}));
    EXPECT_EQ(GetParent(box), main);  // the owner of a popup
    EXPECT_EQ(GetParent(main), nullptr);
    RECT screen;
    ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &screen));
    EXPECT_EQ(screen, kScreen);
    EXPECT_FALSE(DestroyWindow(GetDesktopWindow()));

    // Slots: user data, the class's extra bytes within their bounds, the id.
    EXPECT_EQ(SetWindowLongW(main, GWL_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongW(main, GWL_USERDATA), 1234);
    EXPECT_EQ(SetWindowLongW(main, 8, 99), 0);
    EXPECT_EQ(GetWindowLongW(main, 8), 99);
    EXPECT_EQ(SetWindowLongW(main, 9, 1), 0);  // would run past the 16 extra bytes
    EXPECT_EQ(GetWindowLongW(main, 16), 0);
    EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_VISIBLE, static_cast<LONG_PTR>(WS_VISIBLE));

    // A window wider than the largest image keeps its size and can be drawn in.
    ASSERT_TRUE(MoveWindow(box, -100, 0, 40000, 100, 1));
    RECT wide;
    GetWindowRect(box, &wide);
    EXPECT_EQ(wide, (RECT{-100, 0, 39900, 100}));
    const HDC dc = GetDC(box);
    RECT all{0, 0, 40000, 100};
    EXPECT_NE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    ReleaseDC(box, dc);

    // The farthest places are held rather than wrapping round, and a negative size is none; a
    // window inside a far one still finds its place on the screen.
    const HWND inner = Make("inner", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, box);
    ASSERT_TRUE(MoveWindow(box, INT_MAX, INT_MIN, INT_MAX, -5, 1));
    ASSERT_TRUE(MoveWindow(inner, INT_MAX, INT_MAX, 10, 10, 1));
    RECT far;
    GetWindowRect(box, &far);
    EXPECT_GT(far.left, 0);
    EXPECT_GT(far.right, far.left);
    EXPECT_LT(far.top, 0);
    EXPECT_EQ(far.bottom, far.top);
    GetWindowRect(inner, &far);
    EXPECT_GT(far.left, 0);
    EXPECT_EQ(far.right - far.left, 10);
    ASSERT_TRUE(SetWindowPos(box, nullptr, INT_MAX - 5, 0, 10, 10, SWP_NOZORDER));
    GetWindowRect(box, &far);
    EXPECT_GT(far.left, 0);
    EXPECT_EQ(far.right - far.left, 10);
}

TEST_F(WindowLifecycle, TheDefaultProcessingKeepsFontAndIcons) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    EXPECT_EQ(SendMessageW(main, WM_GETFONT, 0, 0), 0);  // no font of its own
    LOGFONTW attributes;
    attributes.lfHeight = -10;
    UniqueFont font(CreateFontIndirectW(&attributes));
    SendMessageW(main, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), 0);
    EXPECT_EQ(SendMessageW(main, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font.get()));
    Icon big;
    Icon small;
    EXPECT_EQ(SendMessageW(main, WM_SETICON, ICON_BIG, PointerParam(&big)), 0);
    EXPECT_EQ(SendMessageW(main, WM_SETICON, ICON_SMALL, PointerParam(&small)), 0);
    EXPECT_EQ(SendMessageW(main, WM_SETICON, ICON_BIG, 0), PointerParam(&big));
    EXPECT_EQ(SendMessageW(main, WM_GETICON, ICON_SMALL, 0), PointerParam(&small));
    // The host's title follows the active window's text.
    SetWindowTextW(main, u"Схема метро");
    EXPECT_EQ(host.Title(), u"Схема метро");
    SendMessageW(main, WM_SETFONT, 0, 0);
}

LRESULT Uppercase(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC g_previous = nullptr;

LRESULT Uppercase(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        return 100 + CallWindowProcW(g_previous, window, message, wParam, lParam);
    }
    return CallWindowProcW(g_previous, window, message, wParam, lParam);
}

TEST_F(WindowLifecycle, ProcedureReplacementChainsToThePrevious) {
    const HWND main = Make("main", 0, kScreen, nullptr, Answer(WM_USER, 5));
    g_previous =
        LongToProcedure<WNDPROC>(SetWindowLongW(main, GWL_WNDPROC, ProcedureToLong(Uppercase)));
    ASSERT_NE(g_previous, nullptr);
    EXPECT_EQ(GetWindowLongW(main, GWL_WNDPROC), ProcedureToLong(Uppercase));
    EXPECT_EQ(SendMessageW(main, WM_USER, 0, 0), 105);
    EXPECT_EQ(SetWindowLongW(main, GWL_WNDPROC, 0), 0);  // a window always has a procedure
    EXPECT_EQ(SendMessageW(main, WM_USER, 0, 0), 105);
}

TEST_F(WindowLifecycle, ClassesAreRegisteredOncePerModuleAndStayWhileUsed) {
    WNDCLASSW attributes;
    attributes.lpfnWndProc = DefWindowProcW;
    attributes.lpszClassName = u"Plain";
    const ATOM atom = RegisterClassW(&attributes);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassW(&attributes), 0);
    WNDCLASSW found;
    EXPECT_EQ(GetClassInfoW(nullptr, u"Plain", &found), atom);
    EXPECT_EQ(std::u16string_view(found.lpszClassName), u"Plain");
    EXPECT_EQ(GetClassInfoW(nullptr, u"Other", nullptr), 0);
    const HWND window =
        CreateWindowExW(0, atom, u"by atom", 0, 0, 0, 10, 10, nullptr, 0, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    char16_t name[16];
    EXPECT_EQ(GetClassNameW(window, name, 16), 5);
    EXPECT_FALSE(UnregisterClassW(u"Plain", nullptr));
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassW(u"Plain", nullptr));
    EXPECT_EQ(GetClassInfoW(nullptr, atom, nullptr), 0);
}

// Windows left when their window system ends, each with a state made at its first message and
// let go at its last, as a control's is.
std::vector<std::string>* g_ending = nullptr;
WindowSystem* g_endingSystem = nullptr;
int g_states = 0;

LRESULT Stateful(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* name = reinterpret_cast<std::string*>(GetWindowLongW(window, GWL_USERDATA));
    const auto note = [&](const std::string& what) {
        if (g_ending) {
            g_ending->push_back(*name + ":" + what);
        }
    };
    switch (message) {
        case WM_NCCREATE: {
            const auto* creation = PointerFromParam<const CREATESTRUCTW>(lParam);
            const std::u16string title(creation->lpszName);
            SetWindowLongW(window, GWL_USERDATA,
                           reinterpret_cast<LONG_PTR>(new std::string(title.begin(), title.end())));
            ++g_states;
            break;
        }
        case WM_ACTIVATE:
            note(LOWORD(wParam) == WA_INACTIVE ? "inactive" : "active");
            break;
        case WM_DESTROY:
            note("destroy");
            if (*name == "main" && CreateWindowExW(0, u"Stateful", u"late", WS_VISIBLE, 0, 0, 10,
                                                   10, nullptr, 0, nullptr, nullptr)) {
                note("made a window while ending");
            }
            break;
        case WM_NCDESTROY:
            note(WindowSystem::Current() == g_endingSystem ? "gone" : "gone from another system");
            delete name;
            --g_states;
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(WindowSystemEnd, DestroysTheWindowsLeftAsDestroyWindowDoesThenGivesBackTheOneBefore) {
    HeadlessHost host;
    WindowSystem outer(host);
    auto ending = std::make_unique<WindowSystem>(host);
    g_endingSystem = ending.get();
    WNDCLASSW attributes;
    attributes.lpfnWndProc = Stateful;
    attributes.lpszClassName = u"Stateful";
    ASSERT_NE(RegisterClassW(&attributes), 0);
    const auto make = [](const char16_t* name, DWORD style, HWND parent) {
        return CreateWindowExW(0, u"Stateful", name, style, 0, 0, 100, 100, parent, 0, nullptr,
                               nullptr);
    };
    const HWND main = make(u"main", WS_VISIBLE, nullptr);
    const HWND a = make(u"a", WS_CHILD | WS_VISIBLE, main);
    make(u"a1", WS_CHILD | WS_VISIBLE, a);
    make(u"b", WS_CHILD, main);
    make(u"popup", WS_POPUP | WS_VISIBLE, main);  // owned by main, and active
    make(u"hidden", WS_POPUP, nullptr);
    ASSERT_EQ(g_states, 6);

    std::vector<std::string> log;
    g_ending = &log;
    ending.reset();
    g_ending = nullptr;
    // The active window loses the activation once, and nothing is activated in its place.
    EXPECT_EQ(log, (std::vector<std::string>{"popup:inactive", "hidden:destroy", "hidden:gone",
                                             "popup:destroy", "popup:gone", "main:destroy",
                                             "a:destroy", "a1:destroy", "b:destroy", "a1:gone",
                                             "a:gone", "b:gone", "main:gone"}));
    EXPECT_EQ(g_states, 0);
    EXPECT_EQ(WindowSystem::Current(), &outer);
}

}  // namespace
}  // namespace qv
