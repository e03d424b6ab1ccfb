#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "framework/frame_window.h"
#include "framework_test.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

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
    EXPECT_EQ(GetWindowText(window), u"Схема метро");

    // Its class is registered once, with the main window's attributes.
    WNDPROC super = DefWindowProcW;
    const ATOM atom = RegisterWindowClassRecord(*CurrentModule(), MainWindowClassRecord(), super);
    char16_t name[32];
    GetClassNameW(window, name, 32);
    EXPECT_EQ(std::u16string(name), u"QuorvaneWnd");
    EXPECT_EQ(super, DefWindowProcW);  // derives from nothing
    WNDCLASSW found;
    ASSERT_EQ(GetClassInfoW(CurrentModule()->instance, u"QuorvaneWnd", &found), atom);
    EXPECT_EQ(found.style, CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(found.lpfnWndProc, FirstWindowMessage);
    EXPECT_EQ(found.cbWndExtra, 0);
    EXPECT_EQ(found.hIcon, nullptr);
    EXPECT_EQ(found.hCursor, nullptr);
    EXPECT_EQ(found.hInstance, CurrentModule()->instance);
    ASSERT_NE(found.hbrBackground, nullptr);
    EXPECT_EQ(found.hbrBackground->colour, RGB(255, 255, 255));

    DestroyWindow(window);
    EXPECT_EQ(main.hwnd, nullptr);
    EXPECT_EQ(main.gone, (std::vector<HWND>{window}));
    EXPECT_EQ(main.hwndWhenGone, nullptr);
    // The last message still reaches the map, with no window left to name.
    ASSERT_EQ(main.seen.back().message, WM_NCDESTROY);
    EXPECT_EQ(main.seen.back().hwnd, nullptr);
}

TEST_F(WindowBinding, DefaultProcessingRunsTheMessageBeingHandledOrOneItsHandlerLeaves) {
    for (const bool leave : {false, true}) {
        ScriptedWindow main;
        int offered = 0;
        main.handlers[WM_SETTEXT] = [&](const Message&, bool& handled) -> LRESULT {
            ++offered;
            handled = !leave;
            return leave ? 0 : CallDefaultProcedure(main);
        };
        CreateFrameWindow(main, nullptr, kScreen, u"старый", kMainStyle, 0, 0, nullptr);
        EXPECT_TRUE(SetWindowTextW(main.hwnd, u"новый")) << leave;  // the default's answer
        EXPECT_EQ(offered, 1);
        EXPECT_EQ(GetWindowText(main.hwnd), u"новый");
        EXPECT_EQ(CallDefaultProcedure(main), 0);  // outside a message there is nothing to run
    }
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

TEST_F(WindowBinding, AWindowMadeWithoutAnObjectStaysUnboundForGood) {
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

TEST_F(WindowBinding, TheModuleNeedsAState) {
    EXPECT_EQ(InitModule(nullptr, nullptr), E_INVALIDARG);
}

TEST_F(WindowBinding, ARecordWithoutANameGetsOneFromItsAddress) {
    WindowClassRecord record;
    record.attributes.lpfnWndProc = FirstWindowMessage;
    WNDPROC super = DefWindowProcW;
    ASSERT_NE(RegisterWindowClassRecord(*CurrentModule(), record, super), 0);
    const std::string name(record.generatedName.begin(), record.generatedName.end());
    EXPECT_TRUE(std::regex_match(name, std::regex("ATL:[0-9A-F]{8,16}"))) << name;
    EXPECT_EQ(std::stoull(name.substr(4), nullptr, 16), reinterpret_cast<std::uintptr_t>(&record));
    EXPECT_EQ(std::u16string_view(record.attributes.lpszClassName), record.generatedName);
}

// The procedure of a class that another class derives from.
std::vector<UINT> g_baseMessages;
LRESULT BaseProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_baseMessages.push_back(message);
    if (message == WM_USER) {
        return 77;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(WindowBinding, ADerivedClassSendsWhatItLeavesToTheClassItDerivesFrom) {
    WNDCLASSW base;
    base.lpfnWndProc = BaseProcedure;
    base.lpszClassName = u"BaseControl";
    ASSERT_NE(RegisterClassW(&base), 0);
    WindowClassRecord record;
    record.attributes.lpfnWndProc = FirstWindowMessage;
    record.attributes.lpszClassName = u"DerivedControl";
    record.deriveFrom = u"BaseControl";
    ScriptedWindow derived(record);
    const HWND window =
        CreateFrameWindow(derived, nullptr, kScreen, u"", kMainStyle, 0, 0, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(derived.superProcedure, BaseProcedure);
    EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 77);
    g_baseMessages.clear();
    // After the destroy message the class's own procedure is back in place: the last message
    // goes there straight.
    DestroyWindow(window);
    EXPECT_TRUE(derived.Saw(WM_DESTROY));
    EXPECT_FALSE(derived.Saw(WM_NCDESTROY));
    ASSERT_GE(g_baseMessages.size(), 2u);
    EXPECT_EQ(g_baseMessages[g_baseMessages.size() - 2], WM_DESTROY);
    EXPECT_EQ(g_baseMessages.back(), WM_NCDESTROY);
    EXPECT_EQ(derived.gone, (std::vector<HWND>{window}));
}

TEST_F(WindowBinding, CreationRecordsAreTakenNewestFirstOnlyByTheirThreadAndGoWithTheirObject) {
    ScriptedWindow first;
    ScriptedWindow second;
    ScriptedWindow elsewhere;
    ASSERT_TRUE(AddCreationRecord(first));
    {
        ScriptedWindow shortLived;
        AddCreationRecord(shortLived);
        ASSERT_TRUE(AddCreationRecord(second));
        AddCreationRecord(shortLived);  // announcing twice keeps one record
    }
    std::thread other([&] { AddCreationRecord(elsewhere); });
    other.join();
    EXPECT_EQ(TakeCreationRecord(), &second);
    EXPECT_EQ(TakeCreationRecord(), &first);
    EXPECT_EQ(TakeCreationRecord(), nullptr);  // the other thread's record is not ours
    FrameworkObject* taken = nullptr;
    std::thread owner([&] { taken = TakeCreationRecord(); });
    owner.join();
    EXPECT_EQ(taken, &elsewhere);
}

}  // namespace
}  // namespace qv
