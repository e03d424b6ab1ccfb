#include "dialogs/station_picker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/modal_dialog.h"
#include "model/station_name_order.h"
#include "platform/controls/tab_control_messages.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/keyboard_layout.h"
#include "platform/pocket/shell_layout.h"
#include "platform/user/api/input_functions.h"
#include "resources/resource_ids.h"
#include "scripted_page_test.h"
#include "text/utf.h"

namespace qv {
namespace {

class StationPickerTest : public testing::ScriptedPageTest {
  protected:
    explicit StationPickerTest(int scale = 1) : ScriptedPageTest(scale) { Load("minsk.qvn"); }

    void Open(int mode, std::vector<Step> script) {
        Run(std::move(script), [&] { ShowStationPicker(owner, model, mode); });
    }
    static HWND List(HWND page) { return GetDlgItem(page, IDC_LIST); }
    static HWND Tabs(HWND page) { return GetDlgItem(page, IDC_LETTER_TABS); }
    static std::vector<std::u16string> Names(HWND page) {
        std::vector<std::u16string> names;
        for (int i = 0; i < ItemCount(List(page)); ++i) {
            names.push_back(ItemText(List(page), i, 0));
        }
        return names;
    }
    // Where the list can bring the named row: to the top, or as far as the list's end allows.
    static int TopFor(HWND page, std::u16string_view name) {
        const std::vector<std::u16string> names = Names(page);
        const auto at = std::find(names.begin(), names.end(), name);
        EXPECT_NE(at, names.end()) << Utf16ToUtf8(name);
        const auto perPage = static_cast<int>(SendMessageW(List(page), LVM_GETCOUNTPERPAGE, 0, 0));
        return std::min(static_cast<int>(at - names.begin()),
                        static_cast<int>(names.size()) - perPage);
    }
    void TapTab(HWND page, int index) {
        RECT tab{};
        SendMessageW(Tabs(page), TCM_GETITEMRECT, static_cast<WPARAM>(index), PointerParam(&tab));
        const POINT point = Centre(Tabs(page), tab);
        host.Tap(point.x, point.y);
    }
    void TapRow(HWND page, int index) {
        SendMessageW(List(page), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), 0);
        const POINT point = Centre(List(page), ItemRect(List(page), index));
        host.Tap(point.x, point.y);
    }
    // Taps a letter of the on-screen keyboard's Russian layout.
    void TapKey(char16_t letter) {
        for (const KeyCap& key : LayoutOf(KeyboardLayoutId::Russian).keys) {
            if (key.action == KeyAction::Character && key.character == letter) {
                const POINT point = Centre(InputPanelKeyboard(), key.rect);
                host.Tap(point.x, point.y);
                return;
            }
        }
        ADD_FAILURE() << "no key";
    }
    Station* Named(std::u16string_view name) {
        for (Station* station : model.Stations()) {
            if (station->name == name) {
                return station;
            }
        }
        ADD_FAILURE() << Utf16ToUtf8(name);
        return nullptr;
    }
};

// Each row shows its line's name and a disc of the line's colour; two 150-pixel columns are wider
// than the list, which scrolls them under its bar.
TEST_F(StationPickerTest, ListsEveryOpenStationOnceByNameWithItsLineAndNoForbiddenOne) {
    Station* forbidden = Named(u"Восток");
    ToggleForbidden(*forbidden);
    int stations = 0;
    for (const Station* point : model.Stations()) {
        stations += point->IsStation() ? 1 : 0;
    }
    std::vector<std::u16string> names;
    std::set<COLORREF> seen;
    Open(kLetterTabs, {[&](HWND page) {
             names = Names(page);
             const HWND list = List(page);
             const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
             EXPECT_GE(perPage, 8);
             for (int i = 0; i < perPage; ++i) {
                 const std::u16string line = ItemText(list, i, 1);
                 const auto found = std::find_if(model.Lines().begin(), model.Lines().end(),
                                                 [&](const auto& l) { return l->name == line; });
                 ASSERT_NE(found, model.Lines().end());
                 RECT icon{};
                 icon.left = LVIR_ICON;
                 SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), PointerParam(&icon));
                 const POINT centre = Centre(list, icon);
                 const COLORREF disc = host.LastFrame()->GetPixel(centre.x, centre.y);
                 EXPECT_EQ(disc, (*found)->colour) << Utf16ToUtf8(line);
                 seen.insert(disc);
             }
             EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), 150);
             EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & WS_HSCROLL, 0);
             host.Key(VK_ESCAPE);
         }});
    EXPECT_GE(seen.size(), 2u);
    ASSERT_EQ(static_cast<int>(names.size()), stations);
    EXPECT_EQ(std::count(names.begin(), names.end(), u"Восток"), 0);
    for (std::size_t i = 1; i < names.size(); ++i) {
        EXPECT_LE(CompareNames(names[i - 1], names[i]), 0) << i;
    }

    // Allowed again, it is back at the next opening.
    ToggleForbidden(*forbidden);
    Open(kLetterTabs, {[&](HWND page) {
             names = Names(page);
             host.Key(VK_ESCAPE);
         }});
    EXPECT_EQ(std::count(names.begin(), names.end(), u"Восток"), 1);
}

// A tab brings the first name from its letter on to the top, the next name when none begins with
// it; after every name the list stays where it was.
TEST_F(StationPickerTest, ATabScrollsToTheFirstNameFromItsLetterOn) {
    model.tabLetters = u"АДКМЦ\u04FF";
    struct Tab {
        int index;
        std::u16string_view top;  // empty: where the previous tab left the list
    };
    const Tab tabs[] = {{3, u"Малиновка"},
                        {1, u"Институт Культуры"},
                        {4, u"Юбилейная площадь"},
                        {2, u"Каменная Горка"},
                        {5, u""}};
    std::vector<int> tops;
    std::vector<int> expected;
    std::vector<Step> script{[&](HWND page) {
        EXPECT_EQ(TopIndex(List(page)), 0);
        EXPECT_EQ(SendMessageW(Tabs(page), TCM_GETCURSEL, 0, 0), 0);
    }};
    for (const Tab& tab : tabs) {
        script.push_back([&, tab](HWND page) {
            expected.push_back(tab.top.empty() ? TopIndex(List(page)) : TopFor(page, tab.top));
            TapTab(page, tab.index);
        });
        script.push_back([&](HWND page) { tops.push_back(TopIndex(List(page))); });
    }
    script.push_back([&](HWND page) {
        EXPECT_EQ(SendMessageW(List(page), LVM_GETSELECTIONMARK, 0, 0), -1);
        Shot("picker-tabs");
        host.Key(VK_ESCAPE);
    });
    Open(kLetterTabs, std::move(script));
    EXPECT_EQ(tops, expected);
    EXPECT_EQ(tops.size(), std::size(tabs));
}

TEST_F(StationPickerTest, KeyboardModeRaisesTheKeyboardAndATappedRowIsChosenAboveIt) {
    int top = -1;
    int expectedTop = -2;
    bool editFocused = false;
    bool tabsGone = false;
    const Station* chosen = nullptr;
    std::u16string shownName;
    LONG buttonBottomWithPanelDown = 0;
    Open(kKeyboardEntry, {
                             [&](HWND page) {
                                 editFocused = GetFocus() == GetDlgItem(page, IDC_NAME_EDIT);
                                 tabsGone = Tabs(page) == nullptr;
                                 EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
                                 TapKey(u'п');
                                 TapKey(u'л');
                             },
                             [&](HWND page) {
                                 top = TopIndex(List(page));
                                 expectedTop = TopFor(page, u"Площадь Ленина");
                                 Shot("picker-keyboard");
                                 // The buttons stay above the keyboard.
                                 RECT list{};
                                 GetWindowRect(List(page), &list);
                                 RECT button{};
                                 GetWindowRect(GetDlgItem(page, ID_DESTINATION), &button);
                                 EXPECT_LE(list.bottom, button.top);
                                 EXPECT_LE(button.bottom, InputPanelRect().top);
                                 shownName = ItemText(List(page), top, 0);
                                 TapRow(page, top);
                             },
                             [&](HWND page) {
                                 // The list took the focus and the keyboard went down.
                                 EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
                                 RECT button{};
                                 GetWindowRect(GetDlgItem(page, ID_DESTINATION), &button);
                                 buttonBottomWithPanelDown = button.bottom;
                                 TapControl(page, ID_DESTINATION);
                             },
                             [&](HWND) {
                                 chosen = model.destination;
                                 host.Key(VK_RETURN);
                             },
                         });
    EXPECT_EQ(top, expectedTop);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->name, u"Площадь Ленина");
    EXPECT_EQ(shownName, u"Площадь Ленина");
    // With the keyboard down the buttons go back to their places, where the keyboard was.
    EXPECT_GT(buttonBottomWithPanelDown, InputPanelRect().top);
    EXPECT_TRUE(editFocused);
    EXPECT_TRUE(tabsGone);
    // Closing lowers the keyboard.
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
}

// The typed text brings the name it means to the top, or the next name in the list's order when
// it means none; the selection never changes.
TEST_F(StationPickerTest, TheTypedTextBringsTheNameItMeansOrTheNextName) {
    Named(u"Пролетарская")->name = u"Площадь Линий";
    struct Typing {
        std::u16string text;
        std::u16string expected;
    };
    const Typing typings[] = {
        {u"пл", u"Площадь Ленина"},
        // Nine units are read: the tenth would mean Площадь Линий.
        {u"Площадь Ли", u"Площадь Ленина"},
        {u"ytvbuf", u"Немига"},
        {u"Жжжжжж", u"Институт Культуры"},
        {u"Vjkjlt;yfz", u"Молодежная"},
    };
    std::vector<int> tops;
    std::vector<int> expected;
    std::vector<int> marks;
    std::vector<Step> script;
    const auto look = [&](HWND page) {
        tops.push_back(TopIndex(List(page)));
        marks.push_back(static_cast<int>(SendMessageW(List(page), LVM_GETSELECTIONMARK, 0, 0)));
    };
    for (const Typing& typing : typings) {
        script.push_back([&, typing](HWND page) {
            if (!expected.empty()) {
                look(page);
            }
            expected.push_back(TopFor(page, typing.expected));
            // Typed over the whole previous text, as a user who selected it all.
            SendMessageW(GetDlgItem(page, IDC_NAME_EDIT), EM_SETSEL, 0, -1);
            host.Type(typing.text);
        });
    }
    script.push_back([&](HWND page) {
        look(page);
        host.Key(VK_ESCAPE);
    });
    Open(kKeyboardEntry, std::move(script));
    ASSERT_EQ(tops.size(), std::size(typings));
    for (std::size_t i = 0; i < tops.size(); ++i) {
        EXPECT_EQ(tops[i], expected[i]) << Utf16ToUtf8(typings[i].text);
        EXPECT_EQ(marks[i], -1) << Utf16ToUtf8(typings[i].text);
    }
}

TEST_F(StationPickerTest, TheButtonsTakeTheSelectedStationOrNoneAndCancelKeepsThem) {
    model.departure = Named(u"Уручье");
    model.destination = Named(u"Уручье");
    Station* chosen = nullptr;
    Station* destinationWhilePressed = nullptr;
    StationPicker picker(model, kLetterTabs);
    INT_PTR result = 0;
    Run({
            [&](HWND page) {
                // A command from a child of the list is the list's own; it does not close.
                const HWND child = CreateWindowExW(0, u"STATIC", u"", WS_CHILD, 0, 0, 10, 10,
                                                   List(page), 0, nullptr, nullptr);
                SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDOK, 0), PointerParam(child));
                SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), PointerParam(child));
                // Nothing selected: the departure is cleared.
                TapControl(page, ID_DEPARTURE);
            },
            [&](HWND page) {
                EXPECT_EQ(model.departure, nullptr);
                TapRow(page, 5);
            },
            [&](HWND page) {
                const int mark =
                    static_cast<int>(SendMessageW(List(page), LVM_GETSELECTIONMARK, 0, 0));
                ASSERT_EQ(mark, 5);
                LVITEMW item;
                item.mask = LVIF_PARAM;
                item.iItem = 5;
                SendMessageW(List(page), LVM_GETITEMW, 0, PointerParam(&item));
                chosen = PointerFromParam<Station>(item.lParam);
                // Held down: the press is drawn, and the drawing makes the choice.
                RECT rect{};
                GetWindowRect(GetDlgItem(page, ID_DESTINATION), &rect);
                host.PenDown((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
            },
            [&](HWND page) {
                destinationWhilePressed = model.destination;
                RECT rect{};
                GetWindowRect(GetDlgItem(page, ID_DESTINATION), &rect);
                host.PenUp((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
                TapControl(page, ID_DEPARTURE);
            },
            [&](HWND) { host.Key(VK_ESCAPE); },
        },
        [&] { result = RunModalDialog(picker, IDD_STATION_PICKER, owner); });
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(destinationWhilePressed, chosen)
        << Utf16ToUtf8(destinationWhilePressed ? destinationWhilePressed->name : u"-") << " / "
        << Utf16ToUtf8(chosen->name);
    EXPECT_EQ(stepsRun, 5u);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(model.departure, chosen);
    EXPECT_EQ(model.destination, chosen);
}

class StationPickerAtTwice : public StationPickerTest {
  protected:
    StationPickerAtTwice() : StationPickerTest(2) {}
};

TEST_F(StationPickerAtTwice, BothModesDrawTheirButtonsAtTwiceTheScaleWithTheIconOnTop) {
    model.departure = model.Lines()[1]->stations[0].get();
    // A line name as long as the longest real ones runs under the icon.
    model.Lines()[1]->name = u"Таганско-Краснопресненская";
    for (const int mode : {kLetterTabs, kKeyboardEntry}) {
        COLORREF face = 0;
        COLORREF iconBottom = 0;
        Open(mode, {[&](HWND page) {
                 RECT button{};
                 GetWindowRect(GetDlgItem(page, ID_DEPARTURE), &button);
                 const auto at = [&](int x, int y) {
                     return host.LastFrame()->GetPixel(2 * (button.left + x), 2 * (button.top + y));
                 };
                 // Left of the icon, inside the frame; the icon's disc low down, where the
                 // second line passes.
                 face = at(3, 7);
                 iconBottom = at(14, 18);
                 Shot(mode == kLetterTabs ? "picker-tabs-2x" : "picker-keyboard-2x");
                 host.Key(VK_ESCAPE);
             }});
        EXPECT_EQ(face, GetSysColor(COLOR_BTNFACE)) << mode;
        EXPECT_GT(GetGValue(iconBottom), 150) << mode;
        EXPECT_LT(GetRValue(iconBottom), 100) << mode;
    }
}

}  // namespace
}  // namespace qv
