#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "plain_window.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

using Lines = std::vector<std::string>;

// Plain test windows that answer WM_GETDLGCODE by the kind their text names, as the standard
// controls would, and write what the dialog manager does to them.
Lines* g_events = nullptr;

void Note(const std::string& event) {
    if (g_events) {
        g_events->push_back(event);
    }
}

std::string Id(HWND window) {
    return std::to_string(GetDlgCtrlID(window));
}

LRESULT CodeOf(HWND field) {
    const std::u16string kind = GetWindowText(field);
    const auto type = static_cast<DWORD>(GetWindowLongW(field, GWL_STYLE)) & BS_TYPEMASK;
    if (kind == u"edit") {
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    }
    if (kind == u"radio") {
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    }
    if (kind == u"button") {
        return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    if (kind == u"all") {
        return DLGC_WANTALLKEYS;
    }
    if (kind == u"tab") {
        return DLGC_WANTTAB;
    }
    return DLGC_STATIC;
}

LRESULT Field(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETDLGCODE:
            return CodeOf(field);
        case WM_SETFOCUS:
            Note("focus " + Id(field));
            return 0;
        case WM_LBUTTONDOWN:
            if (CodeOf(field) != DLGC_STATIC) {
                SetFocus(field);
            }
            return 0;
        case WM_KEYDOWN:
            Note("key " + Id(field));
            return 0;
        case EM_SETSEL:
            Note("select " + Id(field));
            return 0;
        case BM_SETSTYLE: {
            const auto style = static_cast<DWORD>(GetWindowLongW(field, GWL_STYLE));
            SetWindowLongW(field, GWL_STYLE, (style & ~BS_TYPEMASK) | static_cast<DWORD>(wParam));
            Note((wParam == BS_DEFPUSHBUTTON ? "default " : "plain ") + Id(field));
            return 0;
        }
        case BM_GETCHECK:
            return GetWindowLongW(field, 0);
        case BM_CLICK: {
            const HWND dialog = GetParent(field);
            for (HWND other = GetWindow(dialog, GW_CHILD); other;
                 other = GetWindow(other, GW_HWNDNEXT)) {
                if (GetWindowText(other) == u"radio") {
                    SetWindowLongW(other, 0, other == field ? BST_CHECKED : BST_UNCHECKED);
                }
            }
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), BN_CLICKED),
                         PointerParam(field));
            return 0;
        }
        default:
            return DefWindowProcW(field, message, wParam, lParam);
    }
}

constexpr DWORD kShown = WS_VISIBLE;
constexpr DWORD kStop = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kGroupStop = WS_VISIBLE | WS_TABSTOP | WS_GROUP;
constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr WORD kAllKeys = 50;

constexpr DialogItemTemplate kItems[] = {
    {u"Field", u"edit", 10, kGroupStop, 0, 4, 4, 60, 12},
    {u"Field", u"static", 11, kShown | WS_GROUP, 0, 4, 20, 60, 12},
    {u"Field", u"radio", 20, kGroupStop | BS_AUTORADIOBUTTON, 0, 4, 30, 60, 12},
    {u"Field", u"radio", 21, kRadio, 0, 4, 40, 60, 12},
    {u"Field", u"radio", 22, kRadio | WS_DISABLED, 0, 4, 50, 60, 12},
    {u"Field", u"radio", 23, kRadio, 0, 4, 60, 60, 12},
    {u"Field", u"button", 30, WS_TABSTOP | WS_GROUP, 0, 4, 70, 60, 12},  // hidden
    {u"Field", u"button", IDOK, kGroupStop | BS_DEFPUSHBUTTON, 0, 4, 80, 30, 12},
    {u"Field", u"button", IDCANCEL, kStop, 0, 40, 80, 30, 12},
    {u"Field", u"button", 40, kStop | WS_DISABLED, 0, 70, 80, 30, 12},
    {u"Field", u"all", kAllKeys, kShown | WS_GROUP, 0, 4, 94, 60, 12},
};
constexpr DialogTemplate kDialog{WS_POPUP, 0, 0, 0, 120, 110, u"Клавиши", u"", 0, kItems};
constexpr DialogTemplate kPage{WS_CHILD | WS_VISIBLE, 0, 2, 3, 120, 110, u"", u"", 0, kItems};

// What the dialog procedure does; one dialog at a time.
std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>* g_procedure = nullptr;

INT_PTR Scripted(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // A page left when the test ends is destroyed after its script is gone.
    return g_procedure ? (*g_procedure)(dialog, message, wParam, lParam) : 0;
}

class DialogKeyboard : public ::testing::Test {
  protected:
    DialogKeyboard() {
        WNDCLASSW field;
        field.lpfnWndProc = Field;
        field.cbWndExtra = sizeof(LONG_PTR);
        field.lpszClassName = u"Field";
        RegisterClassW(&field);
        main = testing::MakePlainWindow(WS_VISIBLE, {0, 30, 240, 320});
        g_events = &events;
        g_procedure = &procedure;
        // By default the dialog gives the first tab stop the focus, notes its commands and
        // ends on Cancel.
        procedure = [this](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message == WM_INITDIALOG) {
                return init ? init(dialog) : 1;
            }
            if (message == WM_COMMAND) {
                Note("command " + std::to_string(LOWORD(wParam)));
                if (LOWORD(wParam) == IDCANCEL) {
                    EndDialog(dialog, IDCANCEL);
                }
                return 1;
            }
            return 0;
        };
    }
    ~DialogKeyboard() override {
        g_events = nullptr;
        g_procedure = nullptr;
    }

    // Runs the dialog over the keys, then Escape.
    void RunWithKeys(const std::vector<std::pair<int, bool>>& keys) {
        for (const auto& [key, shift] : keys) {
            host.Key(key, KeyModifiers{false, false, shift});
        }
        host.Key(VK_ESCAPE);
        EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kDialog, main, Scripted, 0), IDCANCEL);
    }
    Lines Only(const std::string& prefix) const {
        Lines kept;
        for (const std::string& event : events) {
            if (event.rfind(prefix, 0) == 0) {
                kept.push_back(event);
            }
        }
        return kept;
    }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    Lines events;
    std::function<INT_PTR(HWND)> init;
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> procedure;
};

constexpr bool kShift = true;

TEST_F(DialogKeyboard, TabWalksTheVisibleEnabledTabStopsInTemplateOrderBothWays) {
    RunWithKeys({{VK_TAB, false},
                 {VK_TAB, false},
                 {VK_TAB, false},
                 {VK_TAB, false},
                 {VK_TAB, kShift},
                 {VK_TAB, kShift}});
    // The hidden 30 and the disabled 40 are passed over; the walk wraps round at both ends.
    EXPECT_EQ(Only("focus"), (Lines{"focus 10", "focus 20", "focus 1", "focus 2", "focus 10",
                                    "focus 2", "focus 1"}));
    // The edit's text is selected whole each time it is tabbed to, and Tab reaches no control.
    EXPECT_EQ(Only("select"), (Lines{"select 10", "select 10"}));
    EXPECT_EQ(Only("key"), Lines{});
}

TEST_F(DialogKeyboard, ArrowsMoveInsideTheGroupAndCheckAutomaticRadioButtons) {
    RunWithKeys({{VK_RIGHT, false},  // the edit keeps its arrows
                 {VK_TAB, false},
                 {VK_DOWN, false},
                 {VK_DOWN, false},
                 {VK_RIGHT, false},
                 {VK_UP, false},
                 {VK_TAB, false},
                 {VK_LEFT, false}});
    EXPECT_EQ(Only("focus"), (Lines{"focus 10", "focus 20", "focus 21", "focus 23", "focus 20",
                                    "focus 23", "focus 1", "focus 2"}));
    // Each radio button taken by an arrow is clicked; the disabled one is passed over, and the
    // push buttons' group wraps from the first back to the last reachable one.
    EXPECT_EQ(Only("command"),
              (Lines{"command 21", "command 23", "command 20", "command 23", "command 2"}));
    EXPECT_EQ(Only("key"), Lines{"key 10"});
}

TEST_F(DialogKeyboard, EnterPressesTheFocusedPushButtonOrElseTheDefaultOne) {
    RunWithKeys({{VK_RETURN, false},  // edit focused: the template's default, OK
                 {VK_TAB, false},
                 {VK_TAB, false},
                 {VK_TAB, false},  // Cancel focused takes the default look
                 {VK_RETURN, false}});
    // Enter on Cancel ended the dialog before Escape.
    EXPECT_EQ(Only("command"), (Lines{"command 1", "command 2"}));
    // The look follows the focus: to Cancel and away from OK.
    EXPECT_EQ(Only("default"), Lines{"default 2"});
    EXPECT_EQ(Only("plain"), Lines{"plain 1"});
}

TEST_F(DialogKeyboard, ATapThatMovesTheFocusMovesTheDefaultLookAsTheKeysDo) {
    init = [&](HWND dialog) -> INT_PTR {
        // Cancel, the static (which takes no focus), the edit, then OK.
        for (const int id : {IDCANCEL, 11, 10, IDOK}) {
            RECT rect;
            GetWindowRect(GetDlgItem(dialog, id), &rect);
            host.Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        }
        host.Key(VK_ESCAPE);
        return 1;
    };
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kDialog, main, Scripted, 0), IDCANCEL);
    EXPECT_EQ(Only("focus"), (Lines{"focus 10", "focus 2", "focus 10", "focus 1"}));
    Lines looks;
    for (const std::string& event : events) {
        if (event.starts_with("default") || event.starts_with("plain")) {
            looks.push_back(event);
        }
    }
    // To Cancel and away from OK, back to OK from the edit; OK tapped keeps it.
    EXPECT_EQ(looks, (Lines{"plain 1", "default 2", "plain 2", "default 1"}));
}

TEST_F(DialogKeyboard, TheDefaultIdCanBeSetAndADisabledDefaultIsNeverPressed) {
    LRESULT before = 0;
    LRESULT after = 0;
    init = [&](HWND dialog) -> INT_PTR {
        before = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
        after = SendMessageW(dialog, DM_GETDEFID, 0, 0);
        PostMessageW(dialog, DM_SETDEFID, 40, 0);
        return 1;
    };
    RunWithKeys({{VK_RETURN, false}});
    EXPECT_EQ(before, MAKELPARAM(IDOK, DC_HASDEFID));
    EXPECT_EQ(after, MAKELPARAM(IDCANCEL, DC_HASDEFID));
    // Enter found the disabled 40 as the default and did nothing; only Escape's Cancel came.
    EXPECT_EQ(Only("command"), Lines{"command 2"});
    EXPECT_EQ(Only("default"), (Lines{"default 2", "default 40"}));
}

TEST_F(DialogKeyboard, AControlThatWantsAllKeysKeepsEnterEscapeAndTab) {
    init = [&](HWND dialog) -> INT_PTR {
        SetFocus(GetDlgItem(dialog, kAllKeys));
        return 0;
    };
    host.Key(VK_RETURN);
    host.Key(VK_TAB);
    host.Key(VK_ESCAPE);
    // Nothing ends the dialog but the end of the input.
    EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kDialog, main, Scripted, 0), 0);
    EXPECT_EQ(Only("key"), (Lines{"key 50", "key 50", "key 50"}));
    EXPECT_EQ(Only("command"), Lines{});
}

TEST_F(DialogKeyboard, AModelessPageLivesInsideItsParentAndMovesItsFocusByMessageOrByKey) {
    const HWND page = CreateDialogIndirectParamW(nullptr, &kPage, main, Scripted, 0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetParent(page), main);
    EXPECT_TRUE(IsWindowVisible(page));
    EXPECT_EQ(GetActiveWindow(), main);
    RECT pageRect{};
    RECT mainRect{};
    GetWindowRect(page, &pageRect);
    GetWindowRect(main, &mainRect);
    RECT fieldRect{};
    GetWindowRect(GetDlgItem(page, 10), &fieldRect);
    // Two dialog units in from the holding window, half of the field's four inside the page.
    EXPECT_EQ(pageRect.left - mainRect.left, (fieldRect.left - pageRect.left) / 2);
    EXPECT_GT(pageRect.top, mainRect.top);

    // By handle, or forwards and back.
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 10));  // the window holding the page was active
    SendMessageW(page, WM_NEXTDLGCTL, HandleParam(GetDlgItem(page, IDCANCEL)), 1);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDCANCEL));
    SendMessageW(page, WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, IDOK));
    SendMessageW(page, WM_NEXTDLGCTL, 0, 0);
    SendMessageW(page, WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 10));
    EXPECT_EQ(GetNextDlgTabItem(page, nullptr, 1), GetDlgItem(page, IDCANCEL));
    EXPECT_EQ(GetNextDlgGroupItem(page, GetDlgItem(page, 23), 0), GetDlgItem(page, 20));
    EXPECT_EQ(GetNextDlgTabItem(page, main, 0), nullptr);  // not one of its controls

    // The program's loop hands it its keys.
    const MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(page, &tab));
    EXPECT_EQ(GetFocus(), GetDlgItem(page, 20));
    const MSG elsewhere{main, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_FALSE(IsDialogMessageW(page, &elsewhere));
    // A page needs a window to live in; a template that cannot be made leaves nothing behind.
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, &kPage, nullptr, Scripted, 0), nullptr);
    EXPECT_EQ(CreateDialogIndirectParamW(nullptr, nullptr, main, Scripted, 0), nullptr);
    EXPECT_EQ(CreateDialogParamW(nullptr, 7, main, Scripted, 0), nullptr);
    EXPECT_TRUE(DestroyWindow(page));
    EXPECT_EQ(GetWindow(main, GW_CHILD), nullptr);
}

TEST_F(DialogKeyboard, APopUpDialogGetsItsFocusBackWhenActivatedAgain) {
    constexpr DialogTemplate kModeless{
        WS_POPUP | WS_VISIBLE, 0, 0, 0, 120, 110, u"", u"", 0, kItems};
    const HWND dialog = CreateDialogIndirectParamW(nullptr, &kModeless, main, Scripted, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetActiveWindow(), dialog);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 10));
    SendMessageW(dialog, WM_NEXTDLGCTL, HandleParam(GetDlgItem(dialog, 21)), 1);
    SetActiveWindow(main);
    EXPECT_EQ(GetFocus(), main);
    SetActiveWindow(dialog);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 21));
    // A saved control that went away gives way to the first tab stop.
    SetActiveWindow(main);
    DestroyWindow(GetDlgItem(dialog, 21));
    SetActiveWindow(dialog);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 10));
    DestroyWindow(dialog);
}

}  // namespace
}  // namespace qv
