#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "plain_window.h"
#include "platform/controls/button.h"
#include "platform/controls/common_controls.h"
#include "platform/controls/control_codes.h"
#include "platform/host/headless_host.h"
#include "platform/host/virtual_keys.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/timer_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/core/window_system.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {
namespace {

// A dialog of the real standard controls, driven through the headless host as a user would:
// one step of input per timer tick, the state checked at the next.
constexpr WORD kHeading = 100;
constexpr WORD kName = 101;
constexpr WORD kFastest = 110;
constexpr WORD kFewestChanges = 111;
constexpr WORD kShortest = 112;
constexpr WORD kRemember = 120;

constexpr DWORD kStop = WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kGroupStop = kStop | WS_GROUP;

constexpr DialogItemTemplate kItems[] = {
    {u"STATIC", u"Маршрут", kHeading, WS_VISIBLE | SS_LEFT, 0, 4, 2, 100, 9},
    {u"EDIT", u"", kName, kGroupStop | WS_BORDER | ES_AUTOHSCROLL, 0, 4, 12, 100, 12},
    {u"BUTTON", u"Быстрее", kFastest, kGroupStop | BS_AUTORADIOBUTTON, 0, 4, 28, 100, 10},
    {u"BUTTON", u"Меньше пересадок", kFewestChanges, WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 4, 39, 100,
     10},
    {u"BUTTON", u"Короче", kShortest, WS_VISIBLE | BS_AUTORADIOBUTTON, 0, 4, 50, 100, 10},
    {u"BUTTON", u"Запомнить", kRemember, kGroupStop | BS_AUTOCHECKBOX, 0, 4, 63, 100, 10},
    {u"BUTTON", u"ok", IDOK, kGroupStop | BS_DEFPUSHBUTTON, 0, 4, 78, 40, 14},
    {u"BUTTON", u"Отмена", IDCANCEL, kStop | BS_PUSHBUTTON, 0, 60, 78, 40, 14},
};
constexpr DialogTemplate kDialog{WS_POPUP | WS_CAPTION, 0,   0, 0,     110, 100,
                                 u"Параметры",          u"", 0, kItems};

constexpr INT_PTR kStuck = 99;
constexpr UINT_PTR kStepTimer = 7;

struct Command {
    int id = 0;
    WORD code = 0;
    bool operator==(const Command&) const = default;
};

class DialogControls;
DialogControls* g_test = nullptr;

class DialogControls : public ::testing::Test {
  protected:
    using Step = std::function<void(HWND dialog)>;

    DialogControls() {
        g_test = this;
        EXPECT_TRUE(RegisterStandardControls());
        main = testing::MakePlainWindow(WS_VISIBLE, {0, 30, 240, 320});
    }
    ~DialogControls() override {
        DestroyWindow(main);
        g_test = nullptr;
    }

    // Runs the dialog over the steps; a dialog still there after the last one ends as stuck.
    INT_PTR Run(std::vector<Step> script) {
        steps = std::move(script);
        next = 0;
        host.AllowTime(std::chrono::seconds(10));
        return DialogBoxIndirectParamW(nullptr, &kDialog, main, Procedure, 0);
    }

    static INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        DialogControls& test = *g_test;
        switch (message) {
            case WM_INITDIALOG:
                SetTimer(dialog, kStepTimer, 50, nullptr);
                return 1;
            case WM_TIMER:
                if (wParam != kStepTimer) {
                    return 0;
                }
                if (test.next < test.steps.size()) {
                    test.steps[test.next++](dialog);
                } else {
                    EndDialog(dialog, kStuck);
                }
                return 1;
            case WM_COMMAND: {
                const int id = LOWORD(wParam);
                test.commands.push_back({id, static_cast<WORD>(HIWORD(wParam))});
                if (id == IDOK || id == IDCANCEL) {
                    test.textAtEnd = GetWindowText(GetDlgItem(dialog, kName));
                    EndDialog(dialog, id);
                }
                return 1;
            }
            default:
                return 0;
        }
    }

    std::vector<Command> CommandsOf(WORD code) const {
        std::vector<Command> found;
        for (const Command& command : commands) {
            if (command.code == code) {
                found.push_back(command);
            }
        }
        return found;
    }
    COLORREF ScreenPixel(int x, int y) const { return host.LastFrame()->GetPixel(x, y); }
    // The colour of the middle of the control's left edge on the screen.
    COLORREF LeftEdge(HWND dialog, int id) const {
        RECT rect;
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        return ScreenPixel(rect.left, (rect.top + rect.bottom) / 2);
    }
    static bool IsDefault(HWND dialog, int id) {
        const HWND button = GetDlgItem(dialog, id);
        return (static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE)) & BS_TYPEMASK) ==
                   BS_DEFPUSHBUTTON &&
               (SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0;
    }
    static std::vector<UINT> Checks(HWND dialog) {
        return {IsDlgButtonChecked(dialog, kFastest), IsDlgButtonChecked(dialog, kFewestChanges),
                IsDlgButtonChecked(dialog, kShortest), IsDlgButtonChecked(dialog, kRemember)};
    }
    void Tap(HWND dialog, int id) {
        RECT rect;
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        host.Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    void ShiftTab() { host.Key(VK_TAB, KeyModifiers{false, false, true}); }

    HeadlessHost host;
    WindowSystem system{host};
    HWND main = nullptr;
    std::vector<Step> steps;
    std::size_t next = 0;
    std::vector<Command> commands;
    std::u16string textAtEnd;
};

constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST_F(DialogControls, KeyboardAndPenWalkTheControlsAndEnterPressesTheDefaultButton) {
    const auto focusIs = [](HWND dialog, int id) {
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, id)) << "expected the focus on " << id;
    };
    const INT_PTR result = Run({
        [&](HWND d) {
            // The first tab stop, passing over the heading, has the focus; ok is the default.
            focusIs(d, kName);
            EXPECT_TRUE(IsDefault(d, IDOK));
            EXPECT_FALSE(IsDefault(d, IDCANCEL));
            host.Key(VK_TAB);
        },
        [&](HWND d) {
            focusIs(d, kFastest);
            // Tab reaches a radio button without checking it.
            EXPECT_EQ(Checks(d), (std::vector<UINT>{0, 0, 0, 0}));
            host.Key(VK_TAB);
            host.Key(VK_TAB);
        },
        [&](HWND d) {
            focusIs(d, IDOK);
            host.Key(VK_TAB);
        },
        [&](HWND d) {
            // The default frame follows the focus to Cancel and leaves ok.
            focusIs(d, IDCANCEL);
            EXPECT_TRUE(IsDefault(d, IDCANCEL));
            EXPECT_FALSE(IsDefault(d, IDOK));
            EXPECT_EQ(LeftEdge(d, IDCANCEL), kBlack);
            EXPECT_NE(LeftEdge(d, IDOK), kBlack);
            host.Key(VK_TAB);
        },
        [&](HWND d) {
            // Round to the edit: the frame goes back to the default button.
            focusIs(d, kName);
            EXPECT_TRUE(IsDefault(d, IDOK));
            EXPECT_FALSE(IsDefault(d, IDCANCEL));
            EXPECT_EQ(LeftEdge(d, IDOK), kBlack);
            EXPECT_NE(LeftEdge(d, IDCANCEL), kBlack);
            ShiftTab();
        },
        [&](HWND d) {
            focusIs(d, IDCANCEL);
            ShiftTab();
            ShiftTab();
            ShiftTab();
        },
        [&](HWND d) {
            focusIs(d, kFastest);
            host.Key(VK_DOWN);
        },
        [&](HWND d) {
            focusIs(d, kFewestChanges);
            EXPECT_EQ(Checks(d), (std::vector<UINT>{0, 1, 0, 0}));
            // On past the last and round to the first of the group.
            host.Key(VK_DOWN);
            host.Key(VK_DOWN);
        },
        [&](HWND d) {
            focusIs(d, kFastest);
            EXPECT_EQ(Checks(d), (std::vector<UINT>{1, 0, 0, 0}));
            host.Key(VK_UP);
        },
        [&](HWND d) {
            focusIs(d, kShortest);
            EXPECT_EQ(Checks(d), (std::vector<UINT>{0, 0, 1, 0}));
            // Tab leaves the group for the check box, Space toggles it.
            host.Key(VK_TAB);
            host.Key(VK_SPACE);
        },
        [&](HWND d) {
            focusIs(d, kRemember);
            EXPECT_EQ(Checks(d), (std::vector<UINT>{0, 0, 1, 1}));
            host.Key(VK_SPACE);
        },
        [&](HWND d) {
            EXPECT_EQ(Checks(d), (std::vector<UINT>{0, 0, 1, 0}));
            Tap(d, kName);
            host.Type(u"Кольцевая");
        },
        [&](HWND d) {
            focusIs(d, kName);
            EXPECT_EQ(GetWindowText(GetDlgItem(d, kName)), u"Кольцевая");
            EXPECT_EQ(CommandsOf(EN_CHANGE).size(), 9u);
            host.Key(VK_RETURN);
        },
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(next, steps.size());
    EXPECT_EQ(textAtEnd, u"Кольцевая");
    EXPECT_EQ(CommandsOf(BN_CLICKED), (std::vector<Command>{{kFewestChanges, BN_CLICKED},
                                                            {kShortest, BN_CLICKED},
                                                            {kFastest, BN_CLICKED},
                                                            {kShortest, BN_CLICKED},
                                                            {kRemember, BN_CLICKED},
                                                            {kRemember, BN_CLICKED},
                                                            {IDOK, BN_CLICKED}}));
    // One EN_CHANGE per character, from the edit.
    EXPECT_EQ(CommandsOf(EN_CHANGE),
              std::vector<Command>(9, Command{kName, static_cast<WORD>(EN_CHANGE)}));
}

TEST_F(DialogControls, EscapeAndATapOnCancelEndWithCancel) {
    EXPECT_EQ(Run({[&](HWND) { host.Key(VK_ESCAPE); }}), IDCANCEL);
    EXPECT_EQ(CommandsOf(BN_CLICKED), (std::vector<Command>{{IDCANCEL, BN_CLICKED}}));
    commands.clear();
    // A press on Cancel that ends outside it clicks nothing; a tap on it ends the dialog.
    EXPECT_EQ(Run({[&](HWND d) {
                       RECT rect;
                       GetWindowRect(GetDlgItem(d, IDCANCEL), &rect);
                       host.PenDown(rect.left + 3, rect.top + 3);
                       host.PenUp(rect.right + 20, rect.top + 3);
                   },
                   [&](HWND d) {
                       EXPECT_TRUE(CommandsOf(BN_CLICKED).empty());
                       Tap(d, IDCANCEL);
                   }}),
              IDCANCEL);
    EXPECT_EQ(CommandsOf(BN_CLICKED), (std::vector<Command>{{IDCANCEL, BN_CLICKED}}));
}

}  // namespace
}  // namespace qv
