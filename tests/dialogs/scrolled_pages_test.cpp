#include <gtest/gtest.h>

#include <map>
#include <string>

#include "dialogs/settings_dialog.h"
#include "dialogs/station_picker.h"
#include "framework/modal_dialog.h"
#include "platform/controls/button.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/keyboard_button.h"
#include "platform/pocket/pocket_shell.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/scroll_functions.h"
#include "platform/user/records/window_messages.h"
#include "resources/resource_ids.h"
#include "scripted_page_test.h"

namespace qv {
namespace {

constexpr int kScrollBarWidth = 13;

// Pages that hold more than they show, at the device's size and doubled.
class ScrolledPages : public testing::ScriptedPageTest, public ::testing::WithParamInterface<int> {
  protected:
    // With the shell's bars, so that the keyboard button raises the panel as on the device.
    ScrolledPages() : ScriptedPageTest(GetParam()) { InstallPocketShell(); }

    static bool Shows(HWND window, DWORD bar) {
        return (GetWindowLongW(window, GWL_STYLE) & bar) != 0;
    }
    static RECT ScreenRect(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    static RECT Client(HWND window) {
        RECT rect{};
        GetClientRect(window, &rect);
        return rect;
    }
    // The black pixels of the last frame inside a screen rectangle.
    int Ink(const RECT& rect) const {
        const Bitmap* frame = host.LastFrame();
        if (!frame) {
            return 0;
        }
        const int k = GetParam();
        int ink = 0;
        for (int y = rect.top * k; y < rect.bottom * k; ++y) {
            for (int x = rect.left * k; x < rect.right * k; ++x) {
                ink += frame->GetPixel(x, y) == 0 ? 1 : 0;
            }
        }
        return ink;
    }
    void TapKeyboardButton() {
        const RECT button = KeyboardButtonRect();
        host.Tap((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    }
    std::string Suffix() const { return "-" + std::to_string(GetParam()) + "x"; }
};

// The room between the navigation bar and the raised panel.
constexpr RECT kRoomAbovePanel{0, kNavigationBarHeight, kScreenWidth, InputPanelRect().top};

TEST_P(ScrolledPages, PickerLinesScrollIntoViewWithTheHorizontalBar) {
    Load("moscow.qvn");
    RECT client{};
    RECT atEnd{};
    bool barShown = false;
    SCROLLINFO info;
    Run({[&](HWND page) {
             const HWND list = GetDlgItem(page, IDC_LIST);
             barShown = Shows(list, WS_HSCROLL);
             client = Client(list);
             info.fMask = SIF_ALL;
             GetScrollInfo(list, SB_HORZ, &info);
             Shot("picker-columns-left" + Suffix());
             // A page of the bar's track, right of its thumb: left of the right arrow, below
             // the rows.
             POINT track{client.right - kScrollBarWidth - 6, client.bottom + kScrollBarWidth / 2};
             ClientToScreen(list, &track);
             host.Tap(track.x, track.y);
         },
         [&](HWND page) {
             const HWND list = GetDlgItem(page, IDC_LIST);
             atEnd = ItemRect(list, TopIndex(list));
             Shot("picker-columns-right" + Suffix());
             host.Key(VK_ESCAPE);
         }},
        [&] { ShowStationPicker(owner, model, kLetterTabs); });
    ASSERT_EQ(stepsRun, 2U);
    ASSERT_TRUE(barShown) << "two 150-pixel columns are wider than the list";
    EXPECT_EQ(info.nMax, 300 - 1);
    EXPECT_EQ(static_cast<int>(info.nPage), client.right);
    EXPECT_EQ(info.nPos, 0);
    // The line names' column ends at the list's edge.
    EXPECT_EQ(atEnd.right, client.right);
    EXPECT_EQ(atEnd.left, client.right - 300);
}

// The settings page with the panel up: too tall for the room left, it scrolls, and every
// control the focus reaches, by the panel coming up, by Tab or by a tap, is shown whole.
TEST_P(ScrolledPages, TheSettingsPageScrollsItsFocusedControlIntoViewAboveThePanel) {
    const std::filesystem::path settings =
        std::filesystem::path(::testing::TempDir()) / "quorvane-scrolled-pages.ini";
    std::filesystem::remove(settings);
    std::map<int, RECT> whole;  // each control's place on the page with the panel down
    std::vector<std::string> failures;
    const auto inView = [&](HWND page, HWND control, const std::string& when) {
        const RECT rect = ScreenRect(control);
        const RECT pageRect = ScreenRect(page);
        if (rect.top < pageRect.top || rect.bottom > kRoomAbovePanel.bottom) {
            failures.push_back(when + ": control " + std::to_string(GetDlgCtrlID(control)) +
                               " at " + std::to_string(rect.top) + ".." +
                               std::to_string(rect.bottom));
        }
    };
    // Every control moved by the same distance from its whole place.
    const auto offset = [&](HWND page) {
        int common = -1;
        for (const auto& [id, rect] : whole) {
            const int moved = rect.top - ScreenRect(GetDlgItem(page, id)).top;
            if (common >= 0 && moved != common) {
                return -1;
            }
            common = moved;
        }
        return common;
    };
    const auto tabTo = [&](int wanted, bool back) {
        return [&, wanted, back](HWND page) {
            const HWND focus = GetFocus();
            inView(page, focus, "tab");
            if (GetDlgCtrlID(focus) != wanted) {
                KeyModifiers modifiers;
                modifiers.shift = back;
                host.Key(VK_TAB, modifiers);
            }
        };
    };
    bool barWithPanelDown = true;
    bool barWithPanelUp = false;
    SCROLLINFO bar;
    RECT pageUp{};
    int savePositionInk = 0;
    int offsetAtBottom = -1;
    int tapped = 0;
    int tappedOffset = -1;
    bool checkedBefore = false;
    bool tappedChecked = false;
    bool barAfterPanelDown = true;
    int offsetAfterPanelDown = -1;

    std::vector<Step> script;
    script.push_back([&](HWND page) {
        for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (const int id = GetDlgCtrlID(child); id > 0 && id != 0xFFFF) {
                whole[id] = ScreenRect(child);
            }
        }
        barWithPanelDown = Shows(page, WS_VSCROLL);
        // The lowest control takes the focus; then the panel comes up.
        TapControl(page, IDC_SAVE_POSITION);
        TapKeyboardButton();
    });
    script.push_back([&](HWND page) {
        pageUp = ScreenRect(page);
        barWithPanelUp = Shows(page, WS_VSCROLL);
        bar.fMask = SIF_ALL;
        GetScrollInfo(page, SB_VERT, &bar);
        inView(page, GetFocus(), "panel up");
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_SAVE_POSITION);
        savePositionInk = Ink(ScreenRect(GetDlgItem(page, IDC_SAVE_POSITION)));
        offsetAtBottom = offset(page);
        Shot("settings-panel-up" + Suffix());
    });
    // Back to the first control by Shift+Tab, then down to the last by Tab.
    for (int i = 0; i < 16; ++i) {
        script.push_back(tabTo(IDC_ALGO_TRANSFERS, true));
    }
    for (int i = 0; i < 16; ++i) {
        script.push_back(tabTo(IDC_SAVE_POSITION, false));
    }
    script.push_back([&](HWND page) {
        inView(page, GetFocus(), "tabbed down");
        Shot("settings-tabbed-down" + Suffix());
        // The page scrolled to its top with the pen on the bar.
        const RECT track = ScreenRect(page);
        for (int i = 0; i < 3; ++i) {
            host.Tap(track.right - kScrollBarWidth / 2 - 1, track.top + kScrollBarWidth + 2);
        }
    });
    script.push_back([&](HWND page) {
        EXPECT_EQ(offset(page), 0) << "the bar scrolled the page to its top";
        // A tap on the part of a check box that shows above the panel.
        for (const auto& [id, rect] : whole) {
            if (rect.top < kRoomAbovePanel.bottom - 2 && rect.bottom > kRoomAbovePanel.bottom &&
                (GetWindowLongW(GetDlgItem(page, id), GWL_STYLE) & BS_TYPEMASK) ==
                    BS_AUTOCHECKBOX) {
                tapped = id;
                checkedBefore = IsDlgButtonChecked(page, id) == BST_CHECKED;
                host.Tap(rect.left + 4, kRoomAbovePanel.bottom - 2);
                return;
            }
        }
    });
    script.push_back([&](HWND page) {
        ASSERT_NE(tapped, 0) << "a check box partly hidden, for the tap";
        inView(page, GetDlgItem(page, tapped), "tap");
        tappedOffset = offset(page);
        tappedChecked = IsDlgButtonChecked(page, tapped) == BST_CHECKED;
        TapKeyboardButton();
    });
    script.push_back([&](HWND page) {
        barAfterPanelDown = Shows(page, WS_VSCROLL);
        offsetAfterPanelDown = offset(page);
        Shot("settings-panel-down-again" + Suffix());
        host.Key(VK_ESCAPE);
    });
    const std::size_t steps = script.size();
    Run(std::move(script), [&] {
        SettingsDialog page(settings);
        RunModalDialog(page, IDD_SETTINGS, owner);
    });
    ASSERT_EQ(stepsRun, steps);
    EXPECT_EQ(failures, std::vector<std::string>{});
    EXPECT_FALSE(barWithPanelDown) << "the whole page fits without the panel";
    EXPECT_EQ(pageUp, kRoomAbovePanel);
    ASSERT_TRUE(barWithPanelUp);
    const int lowest = whole[IDC_SAVE_POSITION].bottom - whole[IDC_ALGO_TRANSFERS].top;
    EXPECT_GT(bar.nMax + 1, lowest) << "the bar's range holds every control";
    // The room inside the page's border.
    EXPECT_EQ(static_cast<int>(bar.nPage), kRoomAbovePanel.bottom - kRoomAbovePanel.top - 2);
    EXPECT_EQ(bar.nPos, offsetAtBottom);
    EXPECT_GT(offsetAtBottom, 0);
    EXPECT_GT(savePositionInk, 0) << "its box and its text are drawn";
    EXPECT_GT(tappedOffset, 0) << "the tapped control came into view";
    EXPECT_NE(tappedChecked, checkedBefore) << "and the tap reached it";
    EXPECT_FALSE(barAfterPanelDown);
    EXPECT_EQ(offsetAfterPanelDown, 0) << "the page is whole again";
}

INSTANTIATE_TEST_SUITE_P(Scales, ScrolledPages, ::testing::Values(1, 2));

}  // namespace
}  // namespace qv
