#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "framework/frame_window.h"
#include "framework_test.h"
#include "platform/user/message_functions.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_messages.h"
#include "platform/user/window_styles.h"

namespace qv {
namespace {

using testing::FrameworkTest;
using testing::ScriptedWindow;

constexpr RECT kScreen{0, 0, 240, 320};

class ClassRecords : public FrameworkTest {};

TEST_F(ClassRecords, TheModuleNeedsAState) {
    EXPECT_EQ(InitModule(nullptr, nullptr), E_INVALIDARG);
}

TEST_F(ClassRecords, TheMainWindowsClassIsRegisteredOnce) {
    WindowClassRecord& record = MainWindowClassRecord();
    WNDPROC super = DefWindowProcW;
    const ATOM atom = RegisterWindowClassRecord(*CurrentModule(), record, super);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterWindowClassRecord(*CurrentModule(), record, super), atom);
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
}

TEST_F(ClassRecords, ARecordWithoutANameGetsOneFromItsAddress) {
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

TEST_F(ClassRecords, ADerivedClassSendsWhatItLeavesToTheClassItDerivesFrom) {
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
        CreateFrameWindow(derived, nullptr, kScreen, u"", WS_VISIBLE, 0, 0, nullptr);
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

TEST_F(ClassRecords, CreationRecordsAreTakenNewestFirstOnlyByTheirThreadAndGoWithTheirObject) {
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
