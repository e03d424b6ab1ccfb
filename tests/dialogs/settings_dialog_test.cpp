#include "dialogs/settings_dialog.h"

#include <sys/resource.h>

#include <csignal>
#include <map>

#include "framework/modal_dialog.h"
#include "page_test.h"
#include "platform/controls/button.h"
#include "platform/controls/message_box.h"
#include "platform/host/virtual_keys.h"
#include "platform/pocket/scratch_folder.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

// The boxes as the page shows the default settings.
const std::map<int, bool> kDefaultChecks = {
    {IDC_ALGO_TRANSFERS, true}, {IDC_ALGO_TIME, false},     {IDC_PICK_KEYBOARD, false},
    {IDC_PICK_TABS, true},      {IDC_COUNT_WAIT, true},     {IDC_SHOW_NAMES, false},
    {IDC_ROUTE_LINE, true},     {IDC_ROUTE_STATIONS, true}, {IDC_ROUTE_BLINK, true},
    {IDC_SAVE_ROUTE, false},    {IDC_CYRILLIC_FONT, false}, {IDC_SAVE_ZOOM, false},
    {IDC_SAVE_POSITION, false}};

std::map<int, bool> Checked(HWND page) {
    std::map<int, bool> checked;
    for (const auto& [id, unused] : kDefaultChecks) {
        checked[id] = IsDlgButtonChecked(page, id) == BST_CHECKED;
    }
    return checked;
}

class SettingsPage : public testing::PageTest {
  protected:
    INT_PTR Open(std::vector<Step> steps) {
        SettingsDialog page(settingsPath);
        INT_PTR result = -1;
        Run(std::move(steps), [&] { result = RunModalDialog(page, IDD_SETTINGS, owner); });
        EXPECT_EQ(page.WorkingSettings(), Saved());
        return result;
    }
    std::u16string Text(HWND page, int id) { return GetWindowText(GetDlgItem(page, id)); }
    static void SetText(HWND page, int id, const char16_t* text) {
        SetWindowTextW(GetDlgItem(page, id), text);
    }
    Settings Saved() const {
        Settings saved;
        static_cast<void>(LoadSettings(saved, settingsPath));  // none: the defaults
        return saved;
    }

    testing::ScratchFolder scratch;
    const std::filesystem::path settingsPath = scratch.Path() / "quorvane.ini";
};

// Without a file cancel writes nothing; OK stores what was chosen and holds the numbers to their
// ranges.
TEST_F(SettingsPage, CancelWritesNothingAndOkStoresWhatWasChosen) {
    SetInputPanel(InputPanelState::Up);
    EXPECT_EQ(Open({[&](HWND page) {
                  EXPECT_EQ(CurrentInputPanel(), InputPanelState::Down);  // lowered for the page
                  EXPECT_NE(CharSet(GetDlgItem(page, IDC_LABEL_ALGORITHM)), RUSSIAN_CHARSET);
                  TapControl(page, IDC_SAVE_ROUTE);
                  SetText(page, IDC_MAX_TRANSFERS, u"7");
                  host.Key(VK_ESCAPE);
              }}),
              IDCANCEL);
    EXPECT_FALSE(std::filesystem::exists(settingsPath));

    EXPECT_EQ(Open({[&](HWND page) {
                        TapControl(page, IDC_ALGO_TIME);
                        TapControl(page, IDC_PICK_KEYBOARD);
                        SetText(page, IDC_MAX_TRANSFERS, u"");
                        TapControl(page, IDC_MAX_TRANSFERS);
                        host.Type(u"x-0");  // a number box takes digits alone
                        SetText(page, IDC_TOOLTIP_MS, u"0000599999");  // nine digits read
                    },
                    [&](HWND page) {
                        // A choice clears the other of its pair.
                        EXPECT_FALSE(Checked(page)[IDC_ALGO_TRANSFERS]);
                        EXPECT_FALSE(Checked(page)[IDC_PICK_TABS]);
                        host.Key(VK_RETURN);
                    }}),
              IDOK);
    const Settings expected{
        .mapPath = u"", .algorithm = 1, .pickerMode = 1, .tooltipMs = 59999, .maxTransfers = 0};
    EXPECT_EQ(Saved(), expected);
}

// Each box shows its own setting, and a tap on it changes that setting alone.
TEST_F(SettingsPage, EachBoxShowsAndSetsItsOwnSetting) {
    const std::pair<int, bool Settings::*> boxes[] = {
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
    for (const auto& [id, field] : boxes) {
        Settings flipped;
        flipped.*field = !(Settings{}.*field);
        ASSERT_EQ(SaveSettings(flipped, settingsPath), 1);
        std::map<int, bool> expected = kDefaultChecks;
        expected[id] = flipped.*field;
        EXPECT_EQ(Open({[&](HWND page) {
                      EXPECT_EQ(Checked(page), expected) << id;
                      TapControl(page, id);
                      host.Key(VK_RETURN);
                  }}),
                  IDOK);
        EXPECT_EQ(Saved(), Settings{}) << id;
    }
}

// A file's settings are shown; an empty number keeps its value; a failed save keeps the file and
// the page and says so.
TEST_F(SettingsPage, AFailedSaveKeepsTheFileAndThePageAndSaysSo) {
    const Settings unusual{.mapPath = u"/maps/Москва.qvn",
                           .departureIndex = 12,
                           .savedViewX = -30,
                           .algorithm = 1,
                           .pickerMode = 1,
                           .tooltipMs = 1500,
                           .maxTransfers = 5,
                           .cyrillicFont = true};
    ASSERT_EQ(SaveSettings(unusual, settingsPath), 1);
    const Settings before = Saved();
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    const INT_PTR result =
        Open({[&](HWND page) {
                  const auto checked = Checked(page);
                  EXPECT_TRUE(checked.at(IDC_ALGO_TIME) && checked.at(IDC_PICK_KEYBOARD));
                  EXPECT_FALSE(checked.at(IDC_ALGO_TRANSFERS));
                  EXPECT_EQ(Text(page, IDC_TOOLTIP_MS), u"1500");
                  EXPECT_EQ(CharSet(GetDlgItem(page, IDC_LABEL_ALGORITHM)), RUSSIAN_CHARSET);
                  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
                  TapControl(page, IDC_SAVE_ROUTE);
                  TapControl(page, IDC_PICK_TABS);
                  SetText(page, IDC_TOOLTIP_MS, u"99");
                  SetText(page, IDC_MAX_TRANSFERS, u"100");
                  host.Key(VK_RETURN);  // the save fails
              },
              [&](HWND box) {
                  EXPECT_EQ(GetWindowText(box) + u": " + DescribeMessageBox(box).value().text,
                            u"Ошибка: Настройки не сохранены: не удалось записать файл настроек.");
                  EXPECT_EQ(Saved(), before);
                  setrlimit(RLIMIT_FSIZE, &saved);
                  host.Key(VK_RETURN);
              },
              [&](HWND page) {
                  // The numbers as they are kept.
                  EXPECT_EQ(Text(page, IDC_TOOLTIP_MS) + u" " + Text(page, IDC_MAX_TRANSFERS),
                            u"100 99");
                  SetText(page, IDC_TOOLTIP_MS, u"");
                  SetText(page, IDC_MAX_TRANSFERS, u"");
                  host.Key(VK_RETURN);
              }});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(result, IDOK);
    Settings expected = unusual;
    expected.pickerMode = 0;
    expected.saveRoute = true;
    EXPECT_EQ(Saved(), expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.Path()), {}), 1);
}

}  // namespace
}  // namespace qv
