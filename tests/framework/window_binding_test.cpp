#include <gtest/gtest.h>

#include "framework/frame_window.h"
#include "framework_test.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"

namespace qv {
namespace {

using testing::FrameworkTest;
using testing::ScriptedWindow;

constexpr RECT kScreen{0, 0, 240, 320};
constexpr DWORD kMainStyle = WS_VISIBLE | WS_SYSMENU;

class WindowBinding : public FrameworkTest {};

TEST_F(WindowBinding, TheMainWindowIsBoundFromItsFirstMessageUntilItsLast) {
    ScriptedWindow main(MainWindowClassRecord());
    HWND atCreate = nullptr;
    HWND unannounced = nullptr;
    main.handlers[WM_CREATE] = [&](const Message& m, bool&) -> LRESULT {
        atCreate = main.hwnd;
        // A window of a bound class made while this one is being made, with no object of its own.
        unannounced = CreateWindowExW(0, MainWindowClassRecord().atom, u"", WS_CHILD, 0, 0, 9, 9,
                                      m.window, 1, CurrentModule()->instance, nullptr);
        return 0;
    };
    const HWND window =
        CreateFrameWindow(main, nullptr, kScreen, u"Схема метро", kMainStyle, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    WNDCLASSW registered;
    ASSERT_NE(GetClassInfoW(CurrentModule()->instance, MainWindowClassRecord().atom, &registered),
              0);
    EXPECT_EQ(registered.style, CS_HREDRAW | CS_VREDRAW);  // repainted whole on any new size
    EXPECT_EQ(std::pair(atCreate, main.hwnd), std::pair(window, window));
    ASSERT_FALSE(main.seen.empty());
    EXPECT_EQ(main.seen.front().message, WM_NCCREATE);  // every message, from the first one
    ASSERT_NE(unannounced, nullptr);
    EXPECT_EQ(GetWindowLongW(unannounced, GWL_USERDATA), 0);

    DestroyWindow(window);
    EXPECT_EQ(main.gone, (std::vector<HWND>{window}));
    EXPECT_EQ(std::pair(main.hwnd, main.hwndWhenGone), std::pair(HWND{}, HWND{}));
    // The last message still reaches the map, with no window left to name.
    ASSERT_EQ(main.seen.back().message, WM_NCDESTROY);
    EXPECT_EQ(main.seen.back().hwnd, nullptr);
}

TEST_F(WindowBinding, AWindowThatCannotBeMadeLeavesItsObjectUnboundAndNoRecordBehind) {
    WindowClassRecord orphanClass;
    orphanClass.attributes.lpfnWndProc = FirstWindowMessage;
    orphanClass.attributes.lpszClassName = u"Orphan";
    orphanClass.deriveFrom = u"NoSuchBase";
    const struct {
        const char* what;
        WindowClassRecord& record;
        DWORD style;
        bool refuses;
    } cases[] = {{"deriving from a missing class", orphanClass, kMainStyle, false},
                 {"a child without a parent", DefaultWindowClassRecord(), 0, false},
                 {"a creation handler that refuses", DefaultWindowClassRecord(), kMainStyle, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedWindow failed(c.record);
        failed.handlers[WM_CREATE] = [&](const Message&, bool&) -> LRESULT {
            return c.refuses ? -1 : 0;
        };
        EXPECT_EQ(CreateFrameWindow(failed, nullptr, kScreen, u"", c.style, 0, 0, nullptr),
                  nullptr);
        EXPECT_EQ(failed.hwnd, nullptr);
        EXPECT_EQ(failed.seen.empty(), !c.refuses);
        EXPECT_EQ(failed.gone.size(), c.refuses ? 1u : 0u);
        EXPECT_EQ(TakeCreationRecord(), nullptr);
    }
    EXPECT_EQ(orphanClass.atom, 0);
    EXPECT_TRUE(system.TopLevelWindows().empty());
}

TEST_F(WindowBinding, AChildGetsItsPlaceStyleAndIdAndAWindowMayOutliveItsObject) {
    ScriptedWindow main;
    CreateFrameWindow(main, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    ScriptedWindow child;
    const HWND window =
        CreateFrameWindow(child, main.hwnd, {60, 10, 100, 30}, u"", 0, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_EQ(std::pair(placed.right - placed.left, placed.bottom - placed.top), std::pair(40, 20));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(static_cast<UINT_PTR>(GetWindowLongW(window, GWL_ID)),
              reinterpret_cast<UINT_PTR>(&child));
    EXPECT_EQ(GetParent(window), main.hwnd);

    // A window that outlives its object gets the default processing, unless subclassed since.
    HWND orphan = nullptr;
    HWND numbered = nullptr;
    {
        ScriptedWindow gone, named;
        orphan = CreateFrameWindow(gone, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
        numbered = CreateFrameWindow(named, main.hwnd, {}, u"", 0, 0, 77, nullptr);
        SetWindowLongW(numbered, GWL_WNDPROC, ProcedureToLong(FirstWindowMessage));
    }
    EXPECT_EQ(GetWindowLongW(numbered, GWL_ID), 77);  // a child given an id keeps it
    EXPECT_EQ(GetWindowLongW(numbered, GWL_WNDPROC), ProcedureToLong(FirstWindowMessage));
    EXPECT_TRUE(SetWindowTextW(orphan, u"дальше"));
    EXPECT_EQ(GetWindowText(orphan), u"дальше");
    EXPECT_TRUE(DestroyWindow(orphan));
}

}  // namespace
}  // namespace qv
