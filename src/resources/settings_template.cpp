#include "resources/settings_template.h"

#include "platform/controls/control_codes.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_styles.h"
#include "resources/localized_dialog.h"
#include "resources/resource_ids.h"

namespace qv {

namespace {

constexpr WORD kNoId = 0xFFFF;

constexpr DWORD kRadio = WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr DWORD kFirstRadio = kRadio | WS_GROUP | WS_TABSTOP;
constexpr DWORD kCheck = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kNumber = WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL;
constexpr DWORD kText = WS_VISIBLE | SS_LEFT;

constexpr WORD Id(int id) {
    return static_cast<WORD>(id);
}

constexpr DialogTemplate kSettings{WS_POPUP | WS_BORDER, 0, 0, 0, 160, 182, u"",
                                   u"MS Sans Serif",     8, {}};

LocalizedDialog SettingsPage(Language language) {
    const auto t = [language](TextId id) { return TextIn(language, id); };
    return {
        kSettings,
        {
            {u"BUTTON", t(TextId::SettingsByTransfers), Id(IDC_ALGO_TRANSFERS), kFirstRadio, 0, 2,
             10, 102, 10},
            {u"BUTTON", t(TextId::SettingsByTime), Id(IDC_ALGO_TIME), kRadio, 0, 2, 20, 78, 10},
            {u"STATIC", t(TextId::SettingsAlgorithm), Id(IDC_LABEL_ALGORITHM), kText, 0, 0, 1, 119,
             9},
            {u"BUTTON", t(TextId::SettingsCountWait), Id(IDC_COUNT_WAIT), kCheck, 0, 2, 30, 109,
             10},
            {u"STATIC", t(TextId::SettingsTooltipTime), Id(IDC_LABEL_TOOLTIP), kText, 0, 0, 57, 107,
             11},
            {u"EDIT", u"", Id(IDC_TOOLTIP_MS), kNumber, 0, 107, 56, 40, 14},
            {u"STATIC", t(TextId::SettingsMilliseconds), kNoId, kText, 0, 148, 59, 10, 8},
            {u"STATIC", t(TextId::SettingsDisplay), Id(IDC_LABEL_DISPLAY), kText, 0, 0, 71, 65, 11},
            {u"BUTTON", t(TextId::SettingsStationNames), Id(IDC_SHOW_NAMES), kCheck, 0, 70, 71, 77,
             10},
            {u"EDIT", u"", Id(IDC_MAX_TRANSFERS), kNumber, 0, 2, 41, 20, 14},
            {u"STATIC", t(TextId::SettingsMaxTransfers), kNoId, kText, 0, 35, 39, 119, 17},
            {u"STATIC", t(TextId::SettingsRoute), kNoId, kText, 0, 26, 86, 31, 8},
            {u"BUTTON", t(TextId::SettingsRouteLine), Id(IDC_ROUTE_LINE), kCheck, 0, 70, 81, 36,
             10},
            {u"BUTTON", t(TextId::SettingsRouteStations), Id(IDC_ROUTE_STATIONS), kCheck, 0, 70, 92,
             43, 10},
            {u"BUTTON", t(TextId::SettingsRouteBlink), Id(IDC_ROUTE_BLINK), kCheck, 0, 107, 81, 52,
             10},
            {u"BUTTON", t(TextId::SettingsPickKeyboard), Id(IDC_PICK_KEYBOARD), kFirstRadio, 0, 2,
             119, 55, 10},
            {u"BUTTON", t(TextId::SettingsPickTabs), Id(IDC_PICK_TABS), kRadio, 0, 83, 119, 48, 10},
            {u"STATIC", t(TextId::SettingsPicker), Id(IDC_LABEL_PICKER), kText, 0, 0, 110, 119, 9},
            {u"STATIC", t(TextId::SettingsSave), Id(IDC_LABEL_SAVE), kText, 0, 0, 128, 119, 9},
            {u"BUTTON", t(TextId::SettingsSaveRoute), Id(IDC_SAVE_ROUTE), kCheck, 0, 2, 137, 45,
             10},
            {u"BUTTON", t(TextId::SettingsFont), Id(IDC_CYRILLIC_FONT), kCheck, 0, 2, 98, 38, 10},
            {u"BUTTON", t(TextId::SettingsSaveZoom), Id(IDC_SAVE_ZOOM), kCheck, 0, 2, 146, 46, 10},
            {u"BUTTON", t(TextId::SettingsSavePosition), Id(IDC_SAVE_POSITION), kCheck, 0, 2, 155,
             53, 10},
        }};
}

}  // namespace

void AddSettingsTemplate(ResourceModule& module) {
    static const LocalizedDialogs pages = MakeInEveryLanguage(SettingsPage);
    AddLocalizedDialogs(module, IDD_SETTINGS, pages);
}

}  // namespace qv
