#include "dialogs/station_picker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/modal_dialog.h"
#include "model/station_name_order.h"
#include "page_test.h"
#include "platform/controls/tab_control_messages.h"
#include "platform/gdi/system_metrics.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/input_panel.h"
#include "platform/pocket/keyboard_layout.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/paint_functions.h"
#include "resources/resource_ids.h"
#include "text/utf.h"

namespace qv {
namespace {

class StationPickerTest : public testing::PageTest {
  protected:
    // At twice the scale, where text and icons once went astray.
    StationPickerTest() : PageTest(2) { Load("minsk.qvn"); }

    void Open(int mode, std::vector<Step> script) {
        Run(std::move(script), [&] { ShowStationPicker(owner, model, mode); });
    }
    static HWND List(HWND page) { return GetDlgItem(page, IDC_LIST); }
    static std::vector<std::u16string> Names(HWND page) {
        std::vector<std::u16string> names;
        for (int i = 0; i < Ask(List(page), LVM_GETITEMCOUNT); ++i) {
            names.push_back(testing::ItemText(List(page), i, 0));
        }
        return names;
    }
    // Where the list can bring the named row: to the top, or as far as the list's end allows.
    static int TopFor(HWND page, std::u16string_view name) {
        const std::vector<std::u16string> names = Names(page);
        const auto at = std::find(names.begin(), names.end(), name);
        EXPECT_NE(at, names.end()) << Utf16ToUtf8(name);
        const auto perPage = Ask(List(page), LVM_GETCOUNTPERPAGE);
        return std::min(static_cast<int>(at - names.begin()),
                        static_cast<int>(names.size()) - perPage);
    }
    void TapRow(HWND page, int index) {
        SendMessageW(List(page), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), 0);
        TapAt(ItemRect(List(page), index));
    }
    // Taps a letter of the on-screen keyboard's Russian layout.
    void TapKey(char16_t letter) {
        for (const KeyCap& key : LayoutOf(KeyboardLayoutId::Russian).keys) {
            if (key.action == KeyAction::Character && key.character == letter) {
                return TapIn(InputPanelKeyboard(), key.rect);
            }
        }
        ADD_FAILURE() << "no key";
    }
    Station* Named(std::u16string_view name) {
        return *std::ranges::find(model.Stations(), name, &Station::name);
    }
};

// Each row shows its line's name and a disc of the line's colour; two 150-pixel columns are wider
// than the list, which scrolls them under its bar.
TEST_F(StationPickerTest, ListsEveryOpenStationOnceByNameWithItsLineAndNoForbiddenOne) {
    Station* forbidden = Named(u"Восток");
    ToggleForbidden(*forbidden);
    model.departure = model.Lines()[1]->stations[0].get();
    // A line name as long as the longest real ones runs under the departure button's icon.
    model.Lines()[1]->name = u"Таганско-Краснопресненская";
    model.settings.cyrillicFont = true;
    const auto stations = std::ranges::count_if(model.Stations(), &Station::IsStation);
    std::vector<std::u16string> names;
    std::set<COLORREF> seen;
    Open(kLetterTabs, {[&](HWND page) {
             names = Names(page);
             const auto at = [&](int x, int y) { return host.LastFrame()->GetPixel(2 * x, 2 * y); };
             const RECT button = ScreenRect(GetDlgItem(page, ID_DEPARTURE));
             // Left of the icon, inside the frame; the icon's disc low down, where the name's
             // second line passes.
             EXPECT_EQ(at(button.left + 3, button.top + 7), GetSysColor(COLOR_BTNFACE));
             EXPECT_GT(GetGValue(at(button.left + 14, button.top + 18)), 150);
             EXPECT_LT(GetRValue(at(button.left + 14, button.top + 18)), 100);
             const int perPage = Ask(List(page), LVM_GETCOUNTPERPAGE);
             EXPECT_GE(perPage, 8);
             for (int i = 0; i < perPage; ++i) {
                 const std::u16string line = testing::ItemText(List(page), i, 1);
                 const auto found = std::find_if(model.Lines().begin(), model.Lines().end(),
                                                 [&](const auto& l) { return l->name == line; });
                 ASSERT_NE(found, model.Lines().end());
                 const RECT icon = ItemRect(List(page), i, LVIR_ICON);
                 const COLORREF disc =
                     at((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
                 EXPECT_EQ(disc, (*found)->colour) << Utf16ToUtf8(line);
                 seen.insert(disc);
             }
             EXPECT_EQ(CharSet(GetDlgItem(page, ID_DEPARTURE)), RUSSIAN_CHARSET);
             TapRow(page, 0);
             SetFocus(GetDlgItem(page, ID_DEPARTURE));  // focused, not pressed: no end is set
             UpdateWindow(GetDlgItem(page, ID_DEPARTURE));
             TapControl(page, ID_DESTINATION);
             host.Key(VK_ESCAPE);
         }});
    // The first name can be chosen.
    EXPECT_EQ(std::pair(model.departure, model.destination),
              std::pair(model.Lines()[1]->stations[0].get(), Named(u"Автозаводская")));
    EXPECT_GE(seen.size(), 2u);
    ASSERT_EQ(static_cast<int>(names.size()), stations);
    EXPECT_EQ(std::count(names.begin(), names.end(), u"Восток"), 0);
    EXPECT_TRUE(std::ranges::is_sorted(
        names, [](const auto& a, const auto& b) { return CompareNames(a, b) < 0; }));

    // Allowed again, it is back at the next opening.
    ToggleForbidden(*forbidden);
    model.departure = forbidden;
    Open(kLetterTabs, {[&](HWND page) {
                           names = Names(page);
                           // A command from a child of the list is the list's own: it does not
                           // close.
                           const HWND child = CreateWindowExW(0, u"STATIC", u"", WS_CHILD, 0, 0, 10,
                                                              10, List(page), 0, nullptr, nullptr);
                           SendMessageW(page, WM_COMMAND, IDOK, PointerParam(child));
                           SendMessageW(page, WM_COMMAND, IDCANCEL, PointerParam(child));
                           TapControl(page, ID_DEPARTURE);  // nothing selected: no departure
                       },
                       [&](HWND) { host.Key(VK_ESCAPE); }});
    EXPECT_EQ(stepsRun, 2u);
    EXPECT_EQ(model.departure, nullptr);
    EXPECT_EQ(std::count(names.begin(), names.end(), u"Восток"), 1);
}

// The button shows the name as formatted into a hundred units, one kept for the terminator: a name
// of a hundred looks like its first 99, and one of 99 is shown whole; below it, its line's name.
TEST_F(StationPickerTest, TheDepartureButtonShowsNinetyNineUnitsOfAName) {
    model.departure = Named(u"Малиновка");
    RECT button{};
    const auto shown = [&](std::u16string name) {
        model.departure->name = std::move(name);
        std::vector<COLORREF> pixels;
        Open(kLetterTabs, {[&](HWND page) {
                 button = ScreenRect(GetDlgItem(page, ID_DEPARTURE));
                 for (int y = 2 * button.top; y < 2 * button.bottom; ++y) {
                     for (int x = 2 * button.left; x < 2 * button.right; ++x) {
                         pixels.push_back(host.LastFrame()->GetPixel(x, y));
                     }
                 }
                 host.Key(VK_ESCAPE);
             }});
        return pixels;
    };
    const std::vector<COLORREF> whole = shown(std::u16string(99, u'Ж'));
    EXPECT_FALSE(shown(std::u16string(98, u'Ж')) == whole);
    EXPECT_TRUE(shown(std::u16string(100, u'Ж')) == whole);
    model.departure->line->name = u"Ж";  // the second line shows the line's name
    EXPECT_FALSE(shown(std::u16string(99, u'Ж')) == whole);
    // The first line is centred from two pixels under the top to the middle, the second from the
    // middle to four above the foot: the same text lies (height + 2) / 2 - 3 lower on the second.
    const auto inkTop = [&](const char16_t* name) {  // below the frame, in the middle third
        const std::vector<COLORREF> pixels = shown(name);
        const auto width = static_cast<std::size_t>(2 * (button.right - button.left));
        std::size_t i = 4 * width;
        while (pixels.at(i) == GetSysColor(COLOR_BTNFACE) || i % width * 3 / width != 1) {
            ++i;
        }
        return static_cast<int>(i / width);
    };
    EXPECT_EQ(inkTop(u"") - inkTop(u"(Ж линия)"), 2 * ((button.bottom - button.top + 2) / 2 - 3));
}

// Twenty tabs fit one row. A tab brings the first name from its letter on to the top, the next
// name when none begins with it; after every name the list stays where it was.
TEST_F(StationPickerTest, ATabScrollsToTheFirstNameFromItsLetterOn) {
    model.tabLetters = u"АБВГДЕЖЗИКЛМНОПРСТЦ\u04FF";
    const std::pair<int, std::u16string_view> tabs[] = {
        {11, u"Малиновка"},     {4, u"Институт Культуры"}, {18, u"Юбилейная площадь"},
        {9, u"Каменная Горка"}, {0, u"Автозаводская"},     {19, u""}};  // stays where it was
    int expected = 0;
    std::vector<Step> script{[](HWND page) {
        const HWND bar = GetDlgItem(page, IDC_LETTER_TABS);
        EXPECT_EQ(std::pair(Ask(bar, TCM_GETCURSEL), Ask(bar, TCM_GETROWCOUNT)), std::pair(0, 1));
        EXPECT_EQ(GetDlgItem(page, IDC_NAME_EDIT), nullptr);  // the tabs replace the edit
    }};
    for (const auto& [index, top] : tabs) {
        script.push_back([&, index, top](HWND page) {
            EXPECT_EQ(Ask(List(page), LVM_GETTOPINDEX), expected) << index;
            expected = top.empty() ? expected : TopFor(page, top);
            const HWND tabControl = GetDlgItem(page, IDC_LETTER_TABS);
            RECT tab{};
            SendMessageW(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index),
                         PointerParam(&tab));
            TapIn(tabControl, tab);
        });
    }
    script.push_back([&](HWND page) {
        EXPECT_EQ(Ask(List(page), LVM_GETTOPINDEX), expected);
        EXPECT_EQ(Ask(List(page), LVM_GETSELECTIONMARK), -1);
        host.Key(VK_ESCAPE);
    });
    Open(kLetterTabs, std::move(script));
    EXPECT_EQ(stepsRun, std::size(tabs) + 2);
}

// The keyboard comes up with the edit focused and no tabs. The typed text brings the name it means
// to the top, or the next name in the list's order when it means none, and never selects; a
// tapped row is chosen with the keyboard down, the buttons back where it was, and kept on cancel.
TEST_F(StationPickerTest, KeyboardModeBringsUpTheTypedNameAndATappedRowIsChosen) {
    Named(u"Пролетарская")->name = u"Площадь Ярина";
    const std::pair<std::u16string, std::u16string> typings[] = {
        {u"пл", u"Площадь Ленина"},  // on the on-screen keyboard
        // Nine units are read: the tenth would mean Площадь Ярина, eight Площадь Ленина.
        {u"Площадь Яр", u"Площадь Якуба Коласа"},
        {u"Жжжжжж", u"Институт Культуры"},
        {u"Vjkjlt;yfz", u"Молодежная"},
    };
    std::vector<Step> script{[&](HWND page) {
        EXPECT_EQ(GetFocus(), GetDlgItem(page, IDC_NAME_EDIT));
        EXPECT_EQ(GetDlgItem(page, IDC_LETTER_TABS), nullptr);
        EXPECT_EQ(CurrentInputPanel(), InputPanelState::Up);
        TapKey(u'п');
        TapKey(u'л');
    }};
    for (std::size_t i = 0; i < std::size(typings); ++i) {
        script.push_back([&, i](HWND page) {
            const int top = Ask(List(page), LVM_GETTOPINDEX);
            EXPECT_EQ(top, TopFor(page, typings[i].second)) << i;
            EXPECT_EQ(Ask(List(page), LVM_GETSELECTIONMARK), -1) << i;
            if (i + 1 < std::size(typings)) {
                // Typed over the whole previous text, as a user who selected it all.
                SendMessageW(GetDlgItem(page, IDC_NAME_EDIT), EM_SETSEL, 0, -1);
                host.Type(typings[i + 1].first);
            } else {
                TapRow(page, top);
            }
        });
    }
    const Station* whilePressed = nullptr;
    script.push_back([&](HWND page) {
        // The list took the focus and the keyboard went down.
        EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
        const RECT button = ScreenRect(GetDlgItem(page, ID_DESTINATION));
        EXPECT_GT(button.bottom, InputPanelRect().top);
        host.PenDown((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    });
    script.push_back([&](HWND page) {
        // Held down: the press is drawn, and the drawing makes the choice.
        whilePressed = model.destination;
        const RECT button = ScreenRect(GetDlgItem(page, ID_DESTINATION));
        host.PenUp((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        TapControl(page, ID_DEPARTURE);
    });
    script.push_back([](HWND) { SetInputPanel(InputPanelState::Up); });  // by its button
    script.push_back([&](HWND) { host.Key(VK_ESCAPE); });                // cancel keeps the choices
    StationPicker picker(model, kKeyboardEntry);
    INT_PTR result = 0;
    Run(std::move(script), [&] { result = RunModalDialog(picker, IDD_STATION_PICKER, owner); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(std::tuple(whilePressed, model.departure, model.destination),
              std::tuple(Named(u"Молодежная"), whilePressed, whilePressed));
    // Closing lowers the keyboard.
    EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);
}

}  // namespace
}  // namespace qv
