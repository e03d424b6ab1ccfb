#include "framework/modal_dialog.h"

#include <gtest/gtest.h>

#include "framework/frame_window.h"
#include "framework_test.h"
#include "plain_window.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

using testing::FrameworkTest;
using testing::ScriptedDialog;
using testing::ScriptedWindow;

constexpr RECT kScreen{0, 0, 240, 320};
constexpr UINT ID_STATION_LIST = 1031;

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
        dialog.handlers[WM_COMMAND] = [&](const Message& m, bool&) -> LRESULT {
            GetWindowRect(dialog.hwnd, &placed);
            doneButton = GetPropW(dialog.hwnd, kDoneButtonProperty);
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
        EXPECT_EQ(dialog.hwnd, nullptr);
        EXPECT_EQ(dialog.gone.size(), 1u);
        EXPECT_EQ(GetActiveWindow(), main.hwnd);
    }
}

TEST_F(ModalDialogs, HandledMessagesAnswerThroughTheResultOrDirectlyAndClearedOnesGoOn) {
    ScriptedDialog dialog;
    LRESULT plain = 0;
    LRESULT colour = 0;
    int closes = 0;
    dialog.handlers[WM_INITDIALOG] = [&](const Message&, bool&) -> LRESULT {
        plain = SendMessageW(dialog.hwnd, WM_USER, 0, 0);
        colour = SendMessageW(dialog.hwnd, WM_CTLCOLORDLG, 0, 0);
        PostMessageW(dialog.hwnd, WM_CLOSE, 0, 0);
        return 1;
    };
    dialog.handlers[WM_USER] = [](const Message&, bool&) -> LRESULT { return 55; };
    dialog.handlers[WM_CTLCOLORDLG] = [](const Message&, bool&) -> LRESULT { return 0x99; };
    dialog.handlers[WM_CLOSE] = [&](const Message&, bool& handled) -> LRESULT {
        ++closes;
        handled = false;  // the dialog manager turns it into Cancel
        return 0;
    };
    dialog.handlers[WM_COMMAND] = [&](const Message& m, bool&) -> LRESULT {
        EndDialog(dialog.hwnd, CommandId(m));
        return 0;
    };
    EXPECT_EQ(RunModalDialog(dialog, kDialogId, main.hwnd), IDCANCEL);
    EXPECT_EQ(plain, 55);
    EXPECT_EQ(colour, 0x99);
    EXPECT_EQ(closes, 1);
}

TEST_F(ModalDialogs, ADialogInsideAWindowHandlerKeepsTheWindowsCurrentMessage) {
    ScriptedDialog dialog;
    std::vector<UINT> current;  // the message each handler finds current, in order
    const MSG* command = nullptr;
    main.handlers[WM_COMMAND] = [&](const Message&, bool&) -> LRESULT {
        command = main.currentMessage;
        SetTimer(main.hwnd, 1, 100, nullptr);
        EXPECT_EQ(RunModalDialog(dialog, kDialogId, main.hwnd), 4);
        EXPECT_EQ(main.currentMessage, command);
        current.push_back(command->message);
        return 0;
    };
    dialog.handlers[WM_INITDIALOG] = [&](const Message&, bool&) -> LRESULT {
        current.push_back(dialog.currentMessage->message);
        EXPECT_EQ(main.currentMessage, command);
        return 1;
    };
    // The window's timer runs while the dialog is up: its message nests in the window's.
    main.handlers[WM_TIMER] = [&](const Message&, bool&) -> LRESULT {
        KillTimer(main.hwnd, 1);
        current.push_back(main.currentMessage->message);
        EndDialog(dialog.hwnd, 4);
        return 0;
    };
    PostMessageW(main.hwnd, WM_COMMAND, ID_STATION_LIST, 0);
    host.AllowTime(std::chrono::milliseconds(500));
    system.Pump();
    EXPECT_EQ(current, (std::vector<UINT>{WM_INITDIALOG, WM_TIMER, WM_COMMAND}));
    EXPECT_EQ(main.currentMessage, nullptr);
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
        EXPECT_NE(outer.hwnd, nullptr);
        EndDialog(outer.hwnd, 1);
        return 1;
    };
    inner.handlers[WM_INITDIALOG] = [&](const Message&, bool&) -> LRESULT {
        EXPECT_NE(inner.hwnd, outer.hwnd);
        EXPECT_EQ(GetParent(inner.hwnd), outer.hwnd);
        EndDialog(inner.hwnd, 2);
        return 1;
    };
    EXPECT_EQ(RunModalDialog(outer, kDialogId, main.hwnd), 1);
    EXPECT_EQ(missingResult, -1);
    EXPECT_EQ(innerResult, 2);
    EXPECT_TRUE(missing.seen.empty());
    EXPECT_EQ(TakeCreationRecord(), nullptr);
    EXPECT_EQ(inner.gone.size(), 1u);
    EXPECT_EQ(outer.gone.size(), 1u);
}

class ShellDialog : public FrameworkTest {
  protected:
    ShellDialog() { page = testing::MakePlainWindow(WS_POPUP, {30, 40, 130, 140}); }
    RECT SetUp(DWORD flags) {
        SHINITDLGINFO info{SHIDIM_FLAGS, page, flags};
        EXPECT_TRUE(SHInitDialog(&info));
        RECT rect;
        GetWindowRect(page, &rect);
        return rect;
    }
    HWND page = nullptr;
};

TEST_F(ShellDialog, SizesThePageBelowTheNavigationBar) {
    EXPECT_EQ(SetUp(SHIDIF_SIZEDLG), WorkArea());
    EXPECT_EQ(GetPropW(page, kDoneButtonProperty), 0);
    const RECT fullScreen{0, kNavigationBarHeight, kScreenWidth, kScreenHeight};
    EXPECT_EQ(SetUp(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN), fullScreen);
    EXPECT_EQ(GetPropW(page, kDoneButtonProperty), 1);
    EXPECT_EQ(SetUp(SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR), fullScreen);
}

TEST_F(ShellDialog, APageLeavesItsCaptionToTheNavigationBar) {
    SetWindowLongW(page, GWL_STYLE, WS_POPUP | WS_CAPTION);
    SetWindowTextW(page, u"Станции");
    SetUp(SHIDIF_SIPDOWN);
    EXPECT_EQ(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION, WS_CAPTION) << "not a page";
    const RECT rect = SetUp(SHIDIF_SIZEDLGFULLSCREEN);
    EXPECT_EQ(GetWindowLongW(page, GWL_STYLE) & WS_CAPTION, WS_BORDER);
    RECT client;
    GetClientRect(page, &client);
    EXPECT_EQ(client.bottom, rect.bottom - rect.top - 2) << "inside the border only";
    char16_t title[16];
    EXPECT_EQ(GetWindowTextW(page, title, 16), 7);
}

TEST_F(ShellDialog, RefusesWhatIsNotADialogSetUp) {
    SHINITDLGINFO noFlags{0, page, SHIDIF_SIZEDLG};
    EXPECT_FALSE(SHInitDialog(&noFlags));
    DestroyWindow(page);
    SHINITDLGINFO gone{SHIDIM_FLAGS, page, SHIDIF_SIZEDLG};
    EXPECT_FALSE(SHInitDialog(&gone));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

}  // namespace
}  // namespace qv
