#include <gtest/gtest.h>

#include "platform/host/virtual_keys.h"
#include "platform/user/api/accelerator_table.h"
#include "platform/user/api/input_functions.h"
#include "window_test.h"

namespace qv {
namespace {

using namespace testing;
using Pen = std::vector<std::pair<UINT, POINT>>;

class Input : public WindowTest {
  protected:
    Pen PenLog(HWND window) const {
        Pen pen;
        for (const auto& entry : Entries()) {
            if (entry.window == window && entry.message >= WM_MOUSEMOVE &&
                entry.message <= WM_LBUTTONUP) {  // the pen's three messages
                pen.push_back(
                    {entry.message, {GET_X_LPARAM(entry.lParam), GET_Y_LPARAM(entry.lParam)}});
            }
        }
        return pen;
    }
};

TEST_F(Input, ThePenReachesTheWindowUnderItInClientCoordinates) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND panel = Make("panel", WS_CHILD | WS_VISIBLE, {20, 30, 120, 130}, main);
    Make("hidden", WS_CHILD, {0, 0, 240, 320}, main);
    Make("off", WS_CHILD | WS_VISIBLE | WS_DISABLED, {0, 200, 240, 320}, main);
    Make("glass", WS_CHILD | WS_VISIBLE, {150, 0, 240, 100}, main,
         testing::Answer(WM_NCHITTEST, HTTRANSPARENT));
    host.Tap(160, 10);
    host.PenDown(25, 40);
    host.PenMove(30, 41);
    host.PenUp(200, 250);
    Pump();
    EXPECT_EQ(PenLog(panel), (Pen{{WM_LBUTTONDOWN, {5, 10}}, {WM_MOUSEMOVE, {10, 11}}}));
    // Without the capture the lifted pen goes where it is; a disabled, hidden or transparent
    // child leaves the pen to its parent.
    EXPECT_EQ(
        PenLog(main),
        (Pen{{WM_LBUTTONDOWN, {160, 10}}, {WM_LBUTTONUP, {160, 10}}, {WM_LBUTTONUP, {200, 250}}}));
}

TEST_F(Input, TheCaptureTakesThePenWhereverItGoes) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND button = Make("button", WS_CHILD | WS_VISIBLE, {100, 100, 150, 120}, main,
                             [](HWND self, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                 if (m == WM_LBUTTONDOWN) {
                                     SetCapture(self);
                                 } else if (m == WM_LBUTTONUP) {
                                     ReleaseCapture();
                                 }
                                 return std::nullopt;
                             });
    host.PenDown(110, 105);
    host.PenMove(90, 95);
    host.PenUp(5, 6);
    host.Tap(5, 6);
    Pump();
    EXPECT_EQ(
        PenLog(button),
        (Pen{{WM_LBUTTONDOWN, {10, 5}}, {WM_MOUSEMOVE, {-10, -5}}, {WM_LBUTTONUP, {-95, -94}}}));
    EXPECT_EQ(PenLog(main), (Pen{{WM_LBUTTONDOWN, {5, 6}}, {WM_LBUTTONUP, {5, 6}}}));
    EXPECT_EQ(Log({WM_CAPTURECHANGED}), (Lines{"button:WM_CAPTURECHANGED"}));
}

TEST_F(Input, FocusMovesWithKillThenSetKeysFollowItAndAGoingParentTakesItFirst) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND a = Make("a", WS_CHILD | WS_VISIBLE, {0, 0, 10, 10}, main);
    const HWND b = Make("b", WS_CHILD | WS_VISIBLE, {10, 0, 20, 10}, main);
    EXPECT_EQ(SetFocus(a), main);
    ClearLog();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(SetFocus(b), b);  // no news the second time
    EXPECT_EQ(Log(), (Lines{"a:WM_KILLFOCUS", "b:WM_SETFOCUS"}));
    EXPECT_EQ(Entries()[0].wParam, HandleParam(b));
    ClearLog();
    host.Key('Q');
    Pump();
    EXPECT_EQ(Log({WM_KEYDOWN, WM_KEYUP}), (Lines{"b:WM_KEYDOWN", "b:WM_KEYUP"}));
    EXPECT_EQ(Entries()[0].lParam, 1) << "a first press, no repeat";
    EXPECT_EQ(GetKeyState('Q'), 0) << "let go";
    // A key sent by a program takes the modifiers held: with Shift down it is no Alt key.
    host.Queue({InputEvent::Kind::KeyDown, {}, VK_SHIFT, {.shift = true}});
    Pump();
    ClearLog();
    SendKeyboardInput({InputEvent::Kind::KeyDown, {}, 'Q'});
    Pump();
    EXPECT_EQ(Log({WM_KEYDOWN, WM_SYSKEYDOWN}), (Lines{"b:WM_KEYDOWN"}));
    EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
    // A going parent takes the focus from its child before the parent hears of it.
    const HWND panel = Make("panel", WS_CHILD | WS_VISIBLE, {0, 0, 100, 100}, main);
    SetFocus(Make("edit", WS_CHILD | WS_VISIBLE, {0, 0, 50, 20}, panel));
    ClearLog();
    DestroyWindow(panel);
    EXPECT_EQ(Log({WM_KILLFOCUS, WM_DESTROY}),
              (Lines{"edit:WM_KILLFOCUS", "panel:WM_DESTROY", "edit:WM_DESTROY"}));
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Input, DisablingAParentCancelsTheCaptureItsChildHoldsAndADisabledWindowGetsNoInput) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const HWND panel = Make("panel", WS_CHILD | WS_VISIBLE, {0, 0, 100, 100}, main);
    const HWND button = Make("button", WS_CHILD | WS_VISIBLE, {10, 10, 50, 30}, panel);
    SetCapture(button);
    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(0x5EED)), nullptr) << "a made-up window";
    ClearLog();
    EnableWindow(panel, 0);
    EXPECT_EQ(Log({WM_CANCELMODE, WM_CAPTURECHANGED, WM_ENABLE}),
              (Lines{"panel:WM_CANCELMODE", "button:WM_CAPTURECHANGED", "panel:WM_ENABLE"}));
    EXPECT_EQ(GetCapture(), nullptr);

    // A parent that handles the cancel itself still takes the capture from its child.
    EnableWindow(panel, 1);
    On(panel, testing::Answer(WM_CANCELMODE, 0));
    SetCapture(button);
    ClearLog();
    EXPECT_EQ(SetCapture(button), button) << "taken again: it loses nothing";
    EnableWindow(panel, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Log({WM_CAPTURECHANGED}), (Lines{"button:WM_CAPTURECHANGED"}));

    // A disabled window gets no input at all.
    EnableWindow(main, 0);
    ClearLog();
    host.Tap(150, 150);
    host.Key('Q');
    Pump();
    EXPECT_TRUE(Log({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_KEYUP}).empty());
    EXPECT_TRUE(EnableWindow(main, 1));  // it was disabled
    EXPECT_EQ(Log({WM_ENABLE}), (Lines{"main:WM_ENABLE"}));
    EXPECT_EQ(Entries().back().wParam, 1u);
}

TEST_F(Input, ActivationMovesBetweenTopLevelWindows) {
    const HWND first = Make("first", WS_POPUP | WS_VISIBLE, {0, 0, 100, 100});
    ClearLog();
    const HWND second = Make("second", WS_POPUP | WS_VISIBLE, {100, 100, 200, 200});
    EXPECT_EQ(Log({WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS}),
              (Lines{"first:WM_ACTIVATE", "first:WM_KILLFOCUS", "second:WM_ACTIVATE",
                     "second:WM_SETFOCUS"}));
    ClearLog();
    // A tap on an inactive window activates it before the pen arrives.
    host.Tap(10, 10);
    Pump();
    EXPECT_EQ(Log({WM_ACTIVATE, WM_SETFOCUS, WM_LBUTTONDOWN}),
              (Lines{"second:WM_ACTIVATE", "first:WM_ACTIVATE", "first:WM_SETFOCUS",
                     "first:WM_LBUTTONDOWN"}));
    const auto firstActivation = std::ranges::find_if(
        Entries(), [&](const Entry& e) { return e.window == first && e.message == WM_ACTIVATE; });
    EXPECT_EQ(LOWORD(firstActivation->wParam), WA_CLICKACTIVE);
    EXPECT_TRUE(SetForegroundWindow(second));
    EXPECT_EQ(GetActiveWindow(), second);
    EXPECT_EQ(host.Raises(), 1) << "the program's own window comes to the front too";
}

// Showing takes the activation and the focus only for a command that activates, and only for
// an enabled top-level window; ShowWindow tells whether the window was visible before.
TEST_F(Input, ShowWindowActivatesOnlyWhenItsCommandSaysSo) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const std::tuple<int, DWORD, bool> cases[] = {
        {SW_SHOWNOACTIVATE, WS_POPUP, false},      {SW_SHOWNA, WS_POPUP, false},
        {SW_SHOWNA, WS_POPUP | WS_VISIBLE, false}, {SW_SHOW, WS_POPUP, true},
        {SW_SHOWNORMAL, WS_POPUP, true},           {SW_SHOW, WS_POPUP | WS_VISIBLE, true},
        {SW_SHOW, WS_POPUP | WS_DISABLED, false},  {SW_SHOW, WS_CHILD, false}};
    for (const auto& [command, style, activated] : cases) {
        const HWND shown = Make("shown", style, {10, 10, 50, 50}, main);
        SetActiveWindow(main);
        SetFocus(main);
        EXPECT_EQ(ShowWindow(shown, command), (style & WS_VISIBLE) != 0) << command;
        EXPECT_EQ(GetActiveWindow(), activated ? shown : main) << command << " " << style;
        EXPECT_EQ(GetFocus(), activated ? shown : main) << command << " " << style;
        DestroyWindow(shown);
    }
}

TEST_F(Input, AcceleratorsTurnControlAndAltKeysIntoCommands) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    const ACCEL table[] = {
        {FVIRTKEY | FCONTROL, 'H', 1031},
        {FVIRTKEY | FCONTROL, 'Z', 1004},
        {FVIRTKEY | FALT, VK_F1 + 3, 1004},
        {FVIRTKEY | FCONTROL | FSHIFT, 'A', 1099},
        {FALT, 26, 1050},  // the character Ctrl+Z makes, but with Alt
    };
    // The table as the program's module carries it.
    ResourceModule module;
    const AcceleratorResource resource{table};
    module.AddResource(300, resource);
    EXPECT_EQ(LoadAcceleratorsW(&module, 301), nullptr);
    EXPECT_EQ(CreateAcceleratorTableW(table, 0), nullptr);
    const HACCEL accelerators = LoadAcceleratorsW(&module, 300);
    ASSERT_NE(accelerators, nullptr);
    host.Key('H', {.control = true});
    host.Key('H');
    host.Key('A', {.control = true});  // the entry wants Shift too
    host.Key(VK_F1 + 3, {.alt = true});
    host.Key('Z', {.control = true, .shift = true});
    ClearLog();
    MSG message;
    std::vector<std::pair<UINT, WPARAM>> dispatched;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_PAINT) {
            DispatchMessageW(&message);
            continue;
        }
        if (TranslateAcceleratorW(message.hwnd, accelerators, &message)) {
            continue;
        }
        dispatched.push_back({message.message, message.wParam});
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EXPECT_EQ(Params(WM_COMMAND), (std::vector<LPARAM>{MAKEWPARAM(1031, 1), MAKEWPARAM(1004, 1)}));
    // Keys that are not accelerators go on as keys (Ctrl with a letter makes its control
    // character); the accelerators' own key-ups go on too, and so do the modifiers let go.
    const std::vector<std::pair<UINT, WPARAM>> expected{
        {WM_KEYUP, 'H'},     {WM_KEYUP, VK_CONTROL}, {WM_KEYDOWN, 'H'},
        {WM_KEYUP, 'H'},     {WM_KEYDOWN, 'A'},      {WM_CHAR, 1},
        {WM_KEYUP, 'A'},     {WM_KEYUP, VK_CONTROL}, {WM_SYSKEYUP, VK_F1 + 3},
        {WM_KEYUP, VK_MENU}, {WM_KEYDOWN, 'Z'},      {WM_CHAR, 26},
        {WM_KEYUP, 'Z'},     {WM_KEYUP, VK_SHIFT},   {WM_KEYUP, VK_CONTROL}};
    EXPECT_EQ(dispatched, expected);
    host.Queue({InputEvent::Kind::KeyDown, {}, VK_MENU, {.alt = true}});  // held from now on
    Pump();
    const MSG withAlt{main, WM_SYSCHAR, 26, 0, 0, {}};  // a character typed with Alt
    EXPECT_TRUE(TranslateAcceleratorW(main, accelerators, &withAlt));
    EXPECT_FALSE(TranslateAcceleratorW(main, nullptr, &withAlt));
    EXPECT_TRUE(DestroyAcceleratorTable(accelerators));
}

TEST_F(Input, ClosingTheDesktopWindowClosesTheActiveWindowElseTheTopVisibleOneElseQuits) {
    const HWND main = Make("main", WS_VISIBLE, kScreen);
    SetFocus(Make("tip", WS_POPUP | WS_VISIBLE, {0, 0, 50, 20}, nullptr, {}, WS_EX_NOACTIVATE));
    EXPECT_EQ(GetFocus(), main) << "a window taking no activation takes no focus";
    Make("hidden", WS_POPUP, {0, 0, 50, 20});               // the top of the z-order
    for (const std::string closed : {"main", "tip", ""}) {  // then nothing visible is left
        ClearLog();
        host.Close();
        EXPECT_EQ(Pump(),
                  closed.empty() ? WindowSystem::PumpResult::Quit : WindowSystem::PumpResult::Idle);
        EXPECT_EQ(Log({WM_CLOSE}),
                  closed.empty() ? Lines{} : Lines{closed + ":" + testing::MessageName(WM_CLOSE)});
    }
}

TEST_F(Input, AScaleChangeRedrawsEveryWindowAtTheNewScale) {
    const COLORREF blue = RGB(0, 0, 255), red = RGB(255, 0, 0), green = RGB(0, 255, 0);
    testing::Painter back(blue), front(red), popup(green);
    const HWND main = Make("main", WS_VISIBLE, kScreen, nullptr, back.Handler());
    Make("child", WS_CHILD | WS_VISIBLE, {10, 20, 30, 40}, main, front.Handler());
    Make("popup", WS_POPUP | WS_VISIBLE | WS_BORDER, {100, 100, 140, 120}, nullptr,
         popup.Handler());
    Pump();
    host.ChangeScale(3);
    Pump();
    ASSERT_EQ(host.LastFrame()->DeviceHeight(), 960);  // then pixels either side of the edges
    const std::tuple<int, int, COLORREF> pixels[] = {
        {29, 59, blue},           {30, 60, red},     {89, 119, red},  {90, 120, blue},
        {302, 302, RGB(0, 0, 0)}, {303, 303, green}, {420, 360, blue}};
    for (const auto& [x, y, colour] : pixels) {
        EXPECT_EQ(host.LastFrame()->GetPixel(x, y), colour) << x << "," << y;
    }
}

}  // namespace
}  // namespace qv
