#include "dialogs/settings_dialog.h"

#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <map>

#include "dialogs/heading_font.h"
#include "framework/modal_dialog.h"
#include "page_test.h"
#include "platform/controls/button.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/shell_layout.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

using Page = testing::ProbedPage<SettingsDialog>;

constexpr int kChecks[] = {
    IDC_ALGO_TRANSFERS, IDC_ALGO_TIME,  IDC_PICK_KEYBOARD,  IDC_PICK_TABS,   IDC_COUNT_WAIT,
    IDC_SHOW_NAMES,     IDC_ROUTE_LINE, IDC_ROUTE_STATIONS, IDC_ROUTE_BLINK, IDC_SAVE_ROUTE,
    IDC_CYRILLIC_FONT,  IDC_SAVE_ZOOM,  IDC_SAVE_POSITION};
constexpr int kHeadings[] = {IDC_LABEL_ALGORITHM, IDC_LABEL_TOOLTIP, IDC_LABEL_DISPLAY,
                             IDC_LABEL_PICKER, IDC_LABEL_SAVE};

// The boxes as the page shows the default settings.
const std::map<int, bool> kDefaultChecks = {
    {IDC_ALGO_TRANSFERS, true}, {IDC_ALGO_TIME, false},     {IDC_PICK_KEYBOARD, false},
    {IDC_PICK_TABS, true},      {IDC_COUNT_WAIT, true},     {IDC_SHOW_NAMES, false},
    {IDC_ROUTE_LINE, true},     {IDC_ROUTE_STATIONS, true}, {IDC_ROUTE_BLINK, true},
    {IDC_SAVE_ROUTE, false},    {IDC_CYRILLIC_FONT, false}, {IDC_SAVE_ZOOM, false},
    {IDC_SAVE_POSITION, false}};

// What the page shows.
struct Shown {
    std::map<int, bool> checked;
    std::u16string tooltipMs;
    std::u16string maxTransfers;
    RECT placed{};
    LOGFONTW heading;
    bool headingsShareTheFont = true;
};

Shown Look(HWND page) {
    Shown shown;
    for (const int id : kChecks) {
        shown.checked[id] = IsDlgButtonChecked(page, id) == BST_CHECKED;
    }
    shown.tooltipMs = GetWindowText(GetDlgItem(page, IDC_TOOLTIP_MS));
    shown.maxTransfers = GetWindowText(GetDlgItem(page, IDC_MAX_TRANSFERS));
    GetWindowRect(page, &shown.placed);
    const auto font = [&](int id) { return SendMessageW(GetDlgItem(page, id), WM_GETFONT, 0, 0); };
    GetObjectW(reinterpret_cast<HGDIOBJ>(font(IDC_LABEL_ALGORITHM)), sizeof(shown.heading),
               &shown.heading);
    for (const int id : kHeadings) {
        shown.headingsShareTheFont &= font(id) == font(IDC_LABEL_ALGORITHM) && font(id) != 0;
    }
    return shown;
}

class SettingsPage : public testing::PageTest {
  protected:
    INT_PTR Run(Page& page) { return RunModalDialog(page, IDD_SETTINGS, owner); }

    // Queues a tap on the middle of the page's control.
    void Tap(HWND page, int id) {
        RECT rect;
        GetWindowRect(GetDlgItem(page, id), &rect);
        host.Tap((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    // Queues typing that replaces the text of the page's number box.
    void Retype(HWND page, int id, std::u16string_view text) {
        Tap(page, id);
        host.Key(VK_END);
        for (std::size_t i = GetWindowText(GetDlgItem(page, id)).size(); i > 0; --i) {
            host.Key(VK_BACK);
        }
        host.Type(text);
    }
    std::string FileBytes() const {
        std::ifstream in(settingsPath, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    Settings Saved() const {
        Settings saved;
        saved.mapPath = u"unread";
        EXPECT_EQ(LoadSettings(saved, settingsPath), 1);
        return saved;
    }
    static Settings Unusual() {
        Settings settings;
        settings.mapPath = u"/maps/Москва.qvn";
        settings.departureIndex = 12;
        settings.destinationIndex = 40;
        settings.savedZoom = 2;
        settings.savedViewX = -30;
        settings.savedViewY = 17;
        settings.algorithm = 7;
        settings.pickerMode = 1;
        settings.countWaitTime = false;
        settings.tooltipMs = 1500;
        settings.maxTransfers = 5;
        settings.showStationNames = true;
        settings.cyrillicFont = true;
        settings.saveZoom = true;
        return settings;
    }
};

// Without a file the page shows the defaults and cancel writes nothing; OK stores what was chosen
// and holds the numbers to their ranges.
TEST_F(SettingsPage, CancelWritesNothingAndOkStoresWhatWasChosen) {
    Page first(settingsPath);
    Shown shown;
    first.onOpen = [&](HWND hwnd) {
        shown = Look(hwnd);
        // Toggled and typed, then cancelled.
        Tap(hwnd, IDC_SAVE_ROUTE);
        Tap(hwnd, IDC_ALGO_TIME);
        Retype(hwnd, IDC_MAX_TRANSFERS, u"7");
        host.Key(VK_ESCAPE);
    };
    EXPECT_EQ(Run(first), IDCANCEL);
    EXPECT_FALSE(std::filesystem::exists(settingsPath));
    EXPECT_EQ(first.WorkingSettings(), Settings{});

    EXPECT_EQ(shown.checked, kDefaultChecks);
    EXPECT_EQ(shown.tooltipMs, u"2000");
    EXPECT_EQ(shown.maxTransfers, u"3");
    // The whole screen below the navigation bar, over the menu bar.
    EXPECT_EQ(shown.placed, (RECT{0, kNavigationBarHeight, kScreenWidth, kScreenHeight}));
    EXPECT_EQ(shown.heading.lfWeight, FW_BOLD);
    EXPECT_NE(shown.heading.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_TRUE(shown.headingsShareTheFont);

    Page page(settingsPath);
    page.onOpen = [&](HWND hwnd) {
        Tap(hwnd, IDC_ALGO_TIME);
        Tap(hwnd, IDC_PICK_KEYBOARD);
        Tap(hwnd, IDC_COUNT_WAIT);
        Tap(hwnd, IDC_SAVE_POSITION);
        Retype(hwnd, IDC_MAX_TRANSFERS, u"0");
        Retype(hwnd, IDC_TOOLTIP_MS, u"1234567890");
        host.Key(VK_RETURN);
    };
    Shown atOk;
    page.onOk = [&](HWND hwnd) { atOk = Look(hwnd); };
    EXPECT_EQ(Run(page), IDOK);
    // A choice clears the other of its pair.
    EXPECT_FALSE(atOk.checked[IDC_ALGO_TRANSFERS]);
    EXPECT_FALSE(atOk.checked[IDC_PICK_TABS]);
    Settings expected;  // fields the page does not show keep their defaults
    expected.algorithm = 1;
    expected.pickerMode = 1;
    expected.countWaitTime = false;
    expected.savePosition = true;
    expected.maxTransfers = 0;
    expected.tooltipMs = 60000;  // nine digits read, then brought to the longest
    EXPECT_EQ(Saved(), expected);
    EXPECT_EQ(page.WorkingSettings(), expected);
}

// Each box shows its own setting, and a tap on it changes that setting alone.
TEST_F(SettingsPage, EachBoxShowsAndSetsItsOwnSetting) {
    struct Box {
        int id;
        bool Settings::*field;
    };
    const Box boxes[] = {
        {IDC_COUNT_WAIT, &Settings::countWaitTime},
        {IDC_SHOW_NAMES, &Settings::showStationNames},
        {IDC_ROUTE_LINE, &Settings::routeShowLine},
        {IDC_ROUTE_STATIONS, &Settings::routeShowStations},
        {IDC_ROUTE_BLINK, &Settings::routeBlink},
        {IDC_SAVE_ROUTE, &Settings::saveRoute},
        {IDC_CYRILLIC_FONT, &Settings::cyrillicFont},
        {IDC_SAVE_ZOOM, &Settings::saveZoom},
        {IDC_SAVE_POSITION, &Settings::savePosition},
    };
    const Settings defaults;
    for (const Box& box : boxes) {
        Settings flipped;
        flipped.*box.field = !(defaults.*box.field);
        ASSERT_EQ(SaveSettings(flipped, settingsPath), 1);
        Page page(settingsPath);
        Shown shown;
        page.onOpen = [&](HWND hwnd) {
            shown = Look(hwnd);
            Tap(hwnd, box.id);
            host.Key(VK_RETURN);
        };
        EXPECT_EQ(Run(page), IDOK) << box.id;
        std::map<int, bool> expected = kDefaultChecks;
        expected[box.id] = flipped.*box.field;
        EXPECT_EQ(shown.checked, expected) << box.id;
        EXPECT_EQ(Saved(), defaults) << box.id;
    }
}

// A file's settings are shown, an algorithm the program does not know as fewest transfers; an
// empty number keeps its value; a failed save keeps the file and the page and says so.
TEST_F(SettingsPage, AFailedSaveKeepsTheFileAndThePageAndSaysSo) {
    ASSERT_EQ(SaveSettings(Unusual(), settingsPath), 1);
    const std::string before = FileBytes();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;

    Page page(settingsPath);
    Shown shown;
    std::string afterFailure;
    std::u16string tooltipShown;
    page.onOpen = [&](HWND hwnd) {
        shown = Look(hwnd);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
        Tap(hwnd, IDC_SAVE_ROUTE);
        Retype(hwnd, IDC_TOOLTIP_MS, u"99");
        SetWindowTextW(GetDlgItem(hwnd, IDC_MAX_TRANSFERS), u"");
        host.Key(VK_RETURN);  // OK: the save fails
        host.Key(VK_RETURN);  // closes the box
        host.Key(VK_RETURN);  // OK again, with room to write
    };
    page.onOk = [&](HWND hwnd) {
        if (page.oks == 2) {
            // The first OK showed the number as it is kept.
            tooltipShown = GetWindowText(GetDlgItem(hwnd, IDC_TOOLTIP_MS));
            afterFailure = FileBytes();
            setrlimit(RLIMIT_FSIZE, &saved);
        }
    };
    const INT_PTR result = Run(page);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(shown.checked[IDC_ALGO_TRANSFERS]);
    EXPECT_FALSE(shown.checked[IDC_ALGO_TIME]);
    EXPECT_TRUE(shown.checked[IDC_PICK_KEYBOARD]);
    EXPECT_TRUE(shown.checked[IDC_CYRILLIC_FONT]);
    EXPECT_EQ(shown.tooltipMs, u"1500");
    EXPECT_EQ(shown.heading.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(page.oks, 2);
    EXPECT_EQ(afterFailure, before);
    // One box took the page's place, before the page closed.
    ASSERT_EQ(page.interruptions.size(), 2u);
    EXPECT_EQ(page.interruptions[0].rfind(u"Ошибка|", 0), 0u);
    EXPECT_EQ(page.interruptions[1], u"Схема метро");
    EXPECT_EQ(tooltipShown, u"100");
    Settings expected = Unusual();
    expected.algorithm = 0;
    expected.saveRoute = true;
    expected.tooltipMs = 100;
    EXPECT_EQ(Saved(), expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

}  // namespace
}  // namespace qv
