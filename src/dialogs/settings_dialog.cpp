#include "dialogs/settings_dialog.h"

#include <array>
#include <utility>

#include "dialogs/heading_font.h"
#include "framework/modal_dialog.h"
#include "platform/controls/button.h"
#include "platform/controls/message_box.h"
#include "platform/pocket/shell_dialog.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_styles.h"
#include "resources/program_texts.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "text/decimal.h"

namespace qv {

namespace {

constexpr DWORD kShellSetUp = SHIDIF_DONEBUTTON | SHIDIF_SIPDOWN | SHIDIF_FULLSCREENNOMENUBAR;

// Only this many characters of a number box are read, as the page always did.
constexpr std::size_t kNumberDigits = 9;

constexpr std::array kHeadings = {IDC_LABEL_ALGORITHM, IDC_LABEL_TOOLTIP, IDC_LABEL_DISPLAY,
                                  IDC_LABEL_PICKER, IDC_LABEL_SAVE};

struct CheckField {
    int id;
    bool Settings::*field;
};
constexpr std::array<CheckField, 9> kChecks = {{
    {IDC_COUNT_WAIT, &Settings::countWaitTime},
    {IDC_SHOW_NAMES, &Settings::showStationNames},
    {IDC_ROUTE_LINE, &Settings::routeShowLine},
    {IDC_ROUTE_STATIONS, &Settings::routeShowStations},
    {IDC_ROUTE_BLINK, &Settings::routeBlink},
    {IDC_SAVE_ROUTE, &Settings::saveRoute},
    {IDC_CYRILLIC_FONT, &Settings::cyrillicFont},
    {IDC_SAVE_ZOOM, &Settings::saveZoom},
    {IDC_SAVE_POSITION, &Settings::savePosition},
}};

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void SetCheck(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, static_cast<UINT>(checked ? BST_CHECKED : BST_UNCHECKED));
}

void SetNumber(HWND dialog, int id, std::int32_t value) {
    SetWindowTextW(GetDlgItem(dialog, id), FormatDecimal(value));
}

// An empty box, or one without a number, keeps the value the page opened with.
std::int32_t ReadNumber(HWND dialog, int id, std::int32_t previous) {
    std::u16string text = GetWindowText(GetDlgItem(dialog, id));
    if (text.size() > kNumberDigits) {
        text.resize(kNumberDigits);
    }
    return ParseDecimal(text).value_or(previous);
}

}  // namespace

SettingsDialog::SettingsDialog(std::filesystem::path path) : settingsPath(std::move(path)) {}

bool SettingsDialog::HandleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result, int mapId) {
    static constexpr MessageMapEntry<SettingsDialog> kMap[] = {
        OnMessage(WM_INITDIALOG, &SettingsDialog::OnInitDialog),
        OnCommand(IDOK, &SettingsDialog::OnOk),
        OnCommand(IDCANCEL, &SettingsDialog::OnCancel),
    };
    return DispatchMessageMap<SettingsDialog>(*this, kMap, {hwnd, message, wParam, lParam}, result,
                                              mapId);
}

LRESULT SettingsDialog::OnInitDialog(const Message&, bool& handled) {
    SHINITDLGINFO setUp{SHIDIM_FLAGS, hwnd, kShellSetUp};
    SHInitDialog(&setUp);
    // Without a readable file the defaults stay.
    (void)LoadSettings(settings, settingsPath);
    ShowSettings();
    // Left unhandled so that the framework's own shell set-up is not applied on top.
    handled = false;
    return 0;
}

void SettingsDialog::ShowSettings() {
    headingFont =
        MakeBoldFontOf(GetDlgItem(hwnd, IDC_LABEL_ALGORITHM),
                       settings.cyrillicFont ? std::optional<BYTE>(RUSSIAN_CHARSET) : std::nullopt);
    for (const int heading : kHeadings) {
        SetControlFont(GetDlgItem(hwnd, heading), headingFont.get());
    }
    SetNumber(hwnd, IDC_TOOLTIP_MS, settings.tooltipMs);
    SetNumber(hwnd, IDC_MAX_TRANSFERS, settings.maxTransfers);
    if (settings.algorithm == 0 || settings.algorithm == 1) {
        SetCheck(hwnd, settings.algorithm == 0 ? IDC_ALGO_TRANSFERS : IDC_ALGO_TIME, true);
    }
    if (settings.pickerMode == 0 || settings.pickerMode == 1) {
        SetCheck(hwnd, settings.pickerMode == 0 ? IDC_PICK_TABS : IDC_PICK_KEYBOARD, true);
    }
    for (const CheckField& check : kChecks) {
        SetCheck(hwnd, check.id, settings.*check.field);
    }
}

Settings SettingsDialog::ReadControls() const {
    Settings read = settings;
    if (Checked(hwnd, IDC_ALGO_TRANSFERS)) {
        read.algorithm = 0;
    } else if (Checked(hwnd, IDC_ALGO_TIME)) {
        read.algorithm = 1;
    }
    for (const CheckField& check : kChecks) {
        read.*check.field = Checked(hwnd, check.id);
    }
    read.tooltipMs = ReadNumber(hwnd, IDC_TOOLTIP_MS, settings.tooltipMs);
    read.maxTransfers = ReadNumber(hwnd, IDC_MAX_TRANSFERS, settings.maxTransfers);
    if (Checked(hwnd, IDC_PICK_KEYBOARD)) {
        read.pickerMode = 1;
    } else if (Checked(hwnd, IDC_PICK_TABS)) {
        read.pickerMode = 0;
    }
    KeepInRange(read);
    return read;
}

LRESULT SettingsDialog::OnOk(const Message&, bool&) {
    const Settings chosen = ReadControls();
    // A number brought into its range is shown as it will be kept.
    SetNumber(hwnd, IDC_TOOLTIP_MS, chosen.tooltipMs);
    SetNumber(hwnd, IDC_MAX_TRANSFERS, chosen.maxTransfers);
    if (SaveSettings(chosen, settingsPath) != 1) {
        // The old file is still there; the page stays open so that nothing chosen is lost.
        MessageBoxW(hwnd, Text(TextId::SettingsNotSaved), Text(TextId::ErrorCaption),
                    MB_OK | MB_ICONSTOP);
        return 0;
    }
    settings = chosen;
    EndDialog(hwnd, IDOK);
    return 0;
}

LRESULT SettingsDialog::OnCancel(const Message&, bool&) {
    EndDialog(hwnd, IDCANCEL);
    return 0;
}

void ShowSettingsDialog(HWND owner) {
    SettingsDialog dialog(GetSettingsPath());
    RunModalDialog(dialog, IDD_SETTINGS, owner);
}

}  // namespace qv
