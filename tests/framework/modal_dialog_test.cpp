#include "framework/modal_dialog.h"

#include <gtest/gtest.h>

#include "framework/frame_window.h"
#include "framework_test.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"

namespace qv {
namespace {

using testing::FrameworkTest;
using testing::ScriptedDialog;
using testing::ScriptedWindow;

constexpr RECT kScreen{0, 0, 240, 320};

class ModalDialogs : public FrameworkTest {
  protected:
    ModalDialogs() {
        CreateFrameWindow(main, nullptr, kScreen, u"Схема метро", WS_VISIBLE | WS_SYSMENU, 0, 0,
                          nullptr);
    }

    ScriptedWindow main{MainWindowClassRecord()};
};

TEST_F(ModalDialogs, ADialogIsBoundFromItsFirstMessageAndAHandledInitialisationGetsTheShell) {
    for (const bool initialisationHandled : {true, false}) {
        SCOPED_TRACE(initialisationHandled);
        ScriptedDialog dialog;
        RECT placed{};
        LPARAM doneButton = -1;
        if (initialisationHandled) {
            dialog.handlers[WM_INITDIALOG] = [](const Message&, bool&) -> LRESULT { return 1; };
        }
        dialog.handlers[WM_CTLCOLORSTATIC] = [](auto&, bool&) -> LRESULT { return 77; };
        dialog.handlers[WM_COMMAND] = [&](const Message& m, bool&) -> LRESULT {
            GetWindowRect(dialog.hwnd, &placed);
            doneButton = GetPropW(dialog.hwnd, kDoneButtonProperty);
            EXPECT_EQ(SendMessageW(dialog.hwnd, WM_CTLCOLORSTATIC, 0, 0), 77);
            EndDialog(dialog.hwnd, 5);
            EXPECT_EQ(CommandId(m), IDOK);
            return 0;
        };
        host.Key(VK_RETURN);
        const int templateId = initialisationHandled ? kDialogId : kCaptionlessDialogId;
        EXPECT_EQ(RunModalDialog(dialog, templateId, main.hwnd), 5);
        ASSERT_FALSE(dialog.seen.empty());
        // The first message: the font, where the template names one.
        EXPECT_EQ(dialog.seen.front().message, initialisationHandled ? WM_SETFONT : WM_INITDIALOG);
        EXPECT_NE(dialog.seen.front().hwnd, nullptr);
        // The default shell set-up: below the navigation bar, whole screen, the "ok" button.
        EXPECT_EQ(placed == PageRect(PageSizing::FullScreen, InputPanelState::Down),
                  initialisationHandled);
        EXPECT_EQ(placed.left > 0, !initialisationHandled);
        EXPECT_EQ(doneButton, initialisationHandled ? 1 : 0);
        EXPECT_EQ(std::pair(dialog.hwnd, dialog.gone.size()), std::pair(HWND{}, std::size_t{1}));
        EXPECT_EQ(GetActiveWindow(), main.hwnd);
    }
}

TEST_F(ModalDialogs, DialogsNestEachBoundToItsOwnObjectAndAMissingTemplateLeavesNoRecord) {
    ScriptedDialog outer;
    ScriptedDialog inner;
    ScriptedDialog missing;
    INT_PTR missingResult = 0;
    INT_PTR innerResult = 0;
    outer.handlers[WM_INITDIALOG] = [&](const Message&, bool&) -> LRESULT {
        missingResult = RunModalDialog(missing, 4242, outer.hwnd);
        innerResult = RunModalDialog(inner, kCaptionlessDialogId, outer.hwnd);
        EndDialog(outer.hwnd, 1);
        return 1;
    };
    inner.handlers[WM_INITDIALOG] = [&](const Message&, bool&) -> LRESULT {
        EXPECT_EQ(GetParent(inner.hwnd), outer.hwnd);
        EndDialog(inner.hwnd, 2);
        return 1;
    };
    EXPECT_EQ(RunModalDialog(outer, kDialogId, main.hwnd), 1);
    EXPECT_EQ(std::pair(missingResult, innerResult), std::pair(INT_PTR{-1}, INT_PTR{2}));
    EXPECT_TRUE(missing.seen.empty());
    EXPECT_EQ(TakeCreationRecord(), nullptr);
    EXPECT_EQ(std::pair(inner.gone.size(), outer.gone.size()),
              std::pair(std::size_t{1}, std::size_t{1}));
    // A dialog nobody announced stays unbound: a later message of it leaves the next one's record.
    const HWND stray = CreateDialogParamW(CurrentModule()->instance, kCaptionlessDialogId,
                                          main.hwnd, FirstDialogMessage, 0);
    ASSERT_TRUE(AddCreationRecord(missing));
    SendMessageW(stray, WM_CTLCOLORSTATIC, 0, 0);
    EXPECT_EQ(TakeCreationRecord(), &missing);
}

}  // namespace
}  // namespace qv
