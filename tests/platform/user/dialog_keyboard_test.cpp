#include <gtest/gtest.h>

#include <cstdlib>
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
Lines g_events;

void Note(const std::string& event) {
    g_events.push_back(event);
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
            Note("select " + Id(field) + (wParam == 0 && lParam == -1 ? "" : " in part"));
            return 0;
        case BM_SETSTYLE: {
            const auto style = static_cast<DWORD>(GetWindowLongW(field, GWL_STYLE));
            SetWindowLongW(field, GWL_STYLE, (style & ~BS_TYPEMASK) | static_cast<DWORD>(wParam));
            Note((wParam == BS_DEFPUSHBUTTON ? "default " : "plain ") + Id(field) +
                 (lParam ? "" : " unpainted"));
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
};
constexpr DialogTemplate kDialog{WS_POPUP, 0, 0, 0, 120, 110, u"Клавиши", u"", 0, kItems};
constexpr DialogTemplate kPage{WS_CHILD | WS_VISIBLE, 0, 0, 0, 120, 110, u"", u"", 0, kItems};

// What the dialog procedure does; one dialog at a time.
std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>* g_procedure = nullptr;

INT_PTR Scripted(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // A page left when the test ends is destroyed after its script is gone.
    return g_procedure ? (*g_procedure)(dialog, message, wParam, lParam) : 0;
}

class DialogKeyboard : public ::testing::Test {
  protected:
    DialogKeyboard() {
        const WNDCLASSW field{
            .lpfnWndProc = Field, .cbWndExtra = sizeof(LONG_PTR), .lpszClassName = u"Field"};
        RegisterClassW(&field);
        main = testing::MakePlainWindow(WS_VISIBLE, {0, 30, 240, 320});
        g_events.clear();
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
    ~DialogKeyboard() override { g_procedure = nullptr; }

    // Runs the dialog over the keys (negative with Shift), then Escape.
    void RunWithKeys(const std::vector<int>& keys) {
        for (const int key : keys) {
            host.Key(std::abs(key), KeyModifiers{false, false, key < 0});
        }
        host.Key(VK_ESCAPE);
        EXPECT_EQ(DialogBoxIndirectParamW(nullptr, &kDialog, main, Scripted, 0), IDCANCEL);
    }
    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    std::function<INT_PTR(HWND)> init;
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> procedure;
};

TEST_F(DialogKeyboard, TabArrowsAndEnterMoveTheFocusAndPressButtons) {
    const std::tuple<const char*, std::vector<int>, Lines> cases[] = {
        // The hidden 30 and the disabled 40 are passed over; the walk wraps round at both ends;
        // the edit's text is selected whole each time, and Tab reaches no control.
        {"tab",
         {VK_TAB, VK_TAB, VK_TAB, VK_TAB, -VK_TAB, -VK_TAB},
         {"select 10", "focus 10", "focus 20", "focus 1", "plain 1", "default 2", "focus 2",
          "select 10", "plain 2", "default 1", "focus 10", "plain 1", "default 2", "focus 2",
          "plain 2", "default 1", "focus 1", "command 2"}},
        // Each radio button taken by an arrow is clicked; the disabled one is passed over, and
        // the push buttons' group wraps from the first back to the last reachable one.
        {"arrows",
         {VK_RIGHT, VK_TAB, VK_DOWN, VK_DOWN, VK_RIGHT, VK_UP, VK_TAB, VK_LEFT},
         {"select 10", "focus 10", "key 10", "focus 20", "focus 21", "command 21", "focus 23",
          "command 23", "focus 20", "command 20", "focus 23", "command 23", "focus 1", "plain 1",
          "default 2", "focus 2", "command 2"}},
        // Enter on the edit presses the template's default; on Cancel, Cancel, which takes the
        // default look from OK.
        {"enter",
         {VK_RETURN, VK_TAB, VK_TAB, VK_TAB, VK_RETURN},
         {"select 10", "focus 10", "command 1", "focus 20", "focus 1", "plain 1", "default 2",
          "focus 2", "command 2"}}};
    for (const auto& [what, keys, expected] : cases) {
        SCOPED_TRACE(what);
        g_events.clear();
        RunWithKeys(keys);
        EXPECT_EQ(g_events, expected);
    }
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
    // To Cancel and away from OK, back to OK from the edit; OK tapped keeps it.
    EXPECT_EQ(g_events, (Lines{"select 10", "focus 10", "focus 2", "plain 1", "default 2",
                               "focus 10", "plain 2", "default 1", "focus 1", "command 2"}));
}

// From no control the walk starts outside the list: the next tab stop is the first that can
// take the focus, the previous one the last.
TEST_F(DialogKeyboard, TheNextTabStopFromNoControlIsTheFirstAndThePreviousOneTheLast) {
    const HWND dialog = CreateDialogIndirectParamW(nullptr, &kDialog, main, Scripted, 0);
    const auto end = [&](BOOL last) {
        return GetDlgCtrlID(GetNextDlgTabItem(dialog, nullptr, last));
    };
    EXPECT_EQ(end(1), IDCANCEL) << "the disabled 40 passed over";
    EnableWindow(GetDlgItem(dialog, 40), 1);
    EnableWindow(GetDlgItem(dialog, 10), 0);
    EXPECT_EQ(std::pair(end(1), end(0)), std::pair(40, 20));
    const HWND owned =
        CreateWindowExW(0, u"Field", u"", WS_POPUP, 0, 0, 9, 9, dialog, 0, nullptr, nullptr);
    EXPECT_EQ(GetNextDlgTabItem(dialog, owned, 0), nullptr) << "owned, but not the dialog's";

    // OK, disabled after the dialog was left from it, hands the focus to the first tab stop, now
    // 20, when the dialog is active again; nor does Enter press it.
    ShowWindow(dialog, SW_SHOW);
    SetFocus(GetDlgItem(dialog, IDOK));
    SetActiveWindow(main);
    EnableWindow(GetDlgItem(dialog, IDOK), 0);
    SetActiveWindow(dialog);
    const MSG enter{GetFocus(), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
    EXPECT_EQ(g_events.back(), "focus 20");

    init = [](HWND) -> INT_PTR { return 0; };  // it placed the focus itself
    SetFocus(main);
    CreateDialogIndirectParamW(nullptr, &kPage, main, Scripted, 0);
    EXPECT_EQ(GetFocus(), main) << "a page made in the active window leaves the focus where it is";
}

}  // namespace
}  // namespace qv
