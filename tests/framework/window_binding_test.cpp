#include <gtest/gtest.h>

#include "framework/frame_window.h"
#include "framework_test.h"
#include "platform/user/message_functions.h"
#include "platform/user/paint_functions.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"

namespace qv {
namespace {

using testing::FrameworkTest;
using testing::ScriptedWindow;

constexpr RECT kScreen{0, 0, 240, 320};
constexpr DWORD kMainStyle = WS_VISIBLE | WS_SYSMENU;

class WindowBinding : public FrameworkTest {};

TEST_F(WindowBinding, TheObjectKnowsItsWindowBeforeItsFirstHandler) {
    ScriptedWindow main(MainWindowClassRecord());
    HWND atCreate = nullptr;
    main.handlers[WM_CREATE] = [&](const Message& m, bool&) -> LRESULT {
        atCreate = main.hwnd;
        EXPECT_EQ(m.window, main.hwnd);
        EXPECT_TRUE(IsWindow(main.hwnd));
        return 0;
    };
    const HWND window =
        CreateFrameWindow(main, nullptr, kScreen, u"Схема метро", kMainStyle, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(atCreate, window);
    EXPECT_EQ(main.hwnd, window);
    ASSERT_FALSE(main.seen.empty());
    EXPECT_EQ(main.seen.front().message, WM_NCCREATE);  // every message, from the first one
    EXPECT_TRUE(main.Saw(WM_SIZE));
    EXPECT_TRUE(main.Saw(WM_ACTIVATE));
    char16_t name[32];
    GetClassNameW(window, name, 32);
    EXPECT_EQ(std::u16string(name), u"QuorvaneWnd");
    EXPECT_EQ(GetWindowText(window), u"Схема метро");
    // The class's background is the window colour.
    system.Pump();
    EXPECT_EQ(host.LastFrame()->GetPixel(120, 160), RGB(255, 255, 255));
}

TEST_F(WindowBinding, CurrentMessageNestsAndIsRestored) {
    ScriptedWindow main;
    std::vector<UINT> outer;
    std::vector<UINT> inner;
    main.handlers[WM_USER] = [&](const Message&, bool&) -> LRESULT {
        outer.push_back(main.currentMessage->message);
        SendMessageW(main.hwnd, WM_USER + 1, 0, 0);
        outer.push_back(main.currentMessage->message);
        return 0;
    };
    main.handlers[WM_USER + 1] = [&](const Message&, bool&) -> LRESULT {
        inner.push_back(main.currentMessage->message);
        return 0;
    };
    CreateFrameWindow(main, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    SendMessageW(main.hwnd, WM_USER, 0, 0);
    EXPECT_EQ(outer, (std::vector<UINT>{WM_USER, WM_USER}));
    EXPECT_EQ(inner, (std::vector<UINT>{WM_USER + 1}));
    EXPECT_EQ(main.currentMessage, nullptr);
}

TEST_F(WindowBinding, DefaultProcessingRunsTheMessageBeingHandled) {
    ScriptedWindow main;
    main.handlers[WM_SETTEXT] = [&](const Message&, bool&) -> LRESULT {
        const LRESULT result = CallDefaultProcedure(main);
        EXPECT_EQ(GetWindowText(main.hwnd), u"новый");
        return result;
    };
    CreateFrameWindow(main, nullptr, kScreen, u"старый", kMainStyle, 0, 0, nullptr);
    EXPECT_TRUE(SetWindowTextW(main.hwnd, u"новый"));
    EXPECT_EQ(CallDefaultProcedure(main), 0);  // outside a message there is nothing to run
}

TEST_F(WindowBinding, AClearedHandledFlagSendsTheMessageToTheDefaultProcessing) {
    ScriptedWindow main;
    int offered = 0;
    main.handlers[WM_SETTEXT] = [&](const Message&, bool& handled) -> LRESULT {
        ++offered;
        handled = false;
        return 0;
    };
    CreateFrameWindow(main, nullptr, kScreen, u"старый", kMainStyle, 0, 0, nullptr);
    EXPECT_TRUE(SetWindowTextW(main.hwnd, u"новый"));  // the default's answer
    EXPECT_EQ(offered, 1);
    EXPECT_EQ(GetWindowText(main.hwnd), u"новый");
}

TEST_F(WindowBinding, DestructionClearsTheWindowAndTellsTheObjectOnce) {
    ScriptedWindow main;
    const HWND window = CreateFrameWindow(main, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    DestroyWindow(window);
    EXPECT_EQ(main.hwnd, nullptr);
    EXPECT_EQ(main.gone, (std::vector<HWND>{window}));
    EXPECT_EQ(main.hwndWhenGone, nullptr);
    // The last message still reaches the map, with no window left to name.
    ASSERT_EQ(main.seen.back().message, WM_NCDESTROY);
    EXPECT_EQ(main.seen.back().hwnd, nullptr);
}

TEST_F(WindowBinding, ACreationHandlerCanRefuse) {
    ScriptedWindow main;
    main.handlers[WM_CREATE] = [](const Message&, bool&) -> LRESULT { return -1; };
    EXPECT_EQ(CreateFrameWindow(main, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr), nullptr);
    EXPECT_EQ(main.hwnd, nullptr);
    EXPECT_EQ(main.gone.size(), 1u);
    EXPECT_TRUE(system.TopLevelWindows().empty());
}

TEST_F(WindowBinding, AWindowThatCouldNotBeMadeLeavesNoRecordBehind) {
    ScriptedWindow failed;
    // A child without a parent is never made, and never takes its record.
    EXPECT_EQ(CreateFrameWindow(failed, nullptr, kScreen, u"", 0, 0, 0, nullptr), nullptr);
    ScriptedWindow next;
    const HWND window = CreateFrameWindow(next, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    EXPECT_EQ(next.hwnd, window);
    EXPECT_EQ(failed.hwnd, nullptr);
    EXPECT_TRUE(failed.seen.empty());
    EXPECT_EQ(TakeCreationRecord(), nullptr);

    // A window of the class made without announcing an object stays unbound for good.
    WNDPROC unused = nullptr;
    ASSERT_NE(RegisterWindowClassRecord(*CurrentModule(), MainWindowClassRecord(), unused), 0);
    const HWND stray =
        CreateWindowExW(0, MainWindowClassRecord().atom, u"", 0, 0, 0, 10, 10, nullptr, 0,
                        MainWindowClassRecord().attributes.hInstance, nullptr);
    ASSERT_NE(stray, nullptr);
    EXPECT_EQ(GetWindowLongW(stray, GWL_WNDPROC), ProcedureToLong(DefWindowProcW));
    ScriptedWindow later(MainWindowClassRecord());
    SendMessageW(stray, WM_USER, 0, 0);
    EXPECT_EQ(CreateFrameWindow(later, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr),
              later.hwnd);
}

TEST_F(WindowBinding, AChildGetsTheDefaultStyleAndItsObjectAsId) {
    ScriptedWindow main;
    CreateFrameWindow(main, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    ScriptedWindow child;
    const HWND window =
        CreateFrameWindow(child, main.hwnd, {10, 10, 50, 50}, u"", 0, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(static_cast<UINT_PTR>(GetWindowLongW(window, GWL_ID)),
              reinterpret_cast<UINT_PTR>(&child));
    EXPECT_EQ(GetParent(window), main.hwnd);
}

TEST_F(WindowBinding, AWindowThatOutlivesItsObjectGetsTheDefaultProcessing) {
    HWND window = nullptr;
    {
        ScriptedWindow main;
        window = CreateFrameWindow(main, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    }
    EXPECT_TRUE(SetWindowTextW(window, u"дальше"));
    EXPECT_EQ(GetWindowText(window), u"дальше");
    EXPECT_TRUE(DestroyWindow(window));
}

}  // namespace
}  // namespace qv
