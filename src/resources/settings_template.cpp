#include "resources/settings_template.h"

#include "platform/controls/control_codes.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/window_styles.h"
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

constexpr DialogItemTemplate kItems[] = {
    {u"BUTTON", u"по количеству пересадок", Id(IDC_ALGO_TRANSFERS), kFirstRadio, 0, 2, 10, 102, 10},
    {u"BUTTON", u"по времени в пути", Id(IDC_ALGO_TIME), kRadio, 0, 2, 20, 78, 10},
    {u"STATIC", u"Алгоритм выбора", Id(IDC_LABEL_ALGORITHM), kText, 0, 0, 1, 119, 9},
    {u"BUTTON", u"учитывать время ожидания", Id(IDC_COUNT_WAIT), kCheck, 0, 2, 30, 109, 10},
    {u"STATIC", u"Время показа подсказки", Id(IDC_LABEL_TOOLTIP), kText, 0, 0, 57, 107, 11},
    {u"EDIT", u"", Id(IDC_TOOLTIP_MS), kNumber, 0, 107, 56, 40, 14},
    {u"STATIC", u"мс", kNoId, kText, 0, 148, 59, 10, 8},
    {u"STATIC", u"Отображение", Id(IDC_LABEL_DISPLAY), kText, 0, 0, 71, 65, 11},
    {u"BUTTON", u"названия станций", Id(IDC_SHOW_NAMES), kCheck, 0, 70, 71, 77, 10},
    {u"EDIT", u"", Id(IDC_MAX_TRANSFERS), kNumber, 0, 2, 41, 20, 14},
    {u"STATIC", u"максимальное количество пересадок", kNoId, kText, 0, 35, 39, 119, 17},
    {u"STATIC", u"Маршрут", kNoId, kText, 0, 26, 86, 31, 8},
    {u"BUTTON", u"линия", Id(IDC_ROUTE_LINE), kCheck, 0, 70, 81, 36, 10},
    {u"BUTTON", u"станции", Id(IDC_ROUTE_STATIONS), kCheck, 0, 70, 92, 43, 10},
    {u"BUTTON", u"мигающая", Id(IDC_ROUTE_BLINK), kCheck, 0, 107, 81, 52, 10},
    {u"BUTTON", u"клавиатура", Id(IDC_PICK_KEYBOARD), kFirstRadio, 0, 2, 119, 55, 10},
    {u"BUTTON", u"закладки", Id(IDC_PICK_TABS), kRadio, 0, 83, 119, 48, 10},
    {u"STATIC", u"Выбор станции", Id(IDC_LABEL_PICKER), kText, 0, 0, 110, 119, 9},
    {u"STATIC", u"Сохранение", Id(IDC_LABEL_SAVE), kText, 0, 0, 128, 119, 9},
    {u"BUTTON", u"маршрут", Id(IDC_SAVE_ROUTE), kCheck, 0, 2, 137, 45, 10},
    {u"BUTTON", u"шрифт", Id(IDC_CYRILLIC_FONT), kCheck, 0, 2, 98, 38, 10},
    {u"BUTTON", u"масштаб", Id(IDC_SAVE_ZOOM), kCheck, 0, 2, 146, 46, 10},
    {u"BUTTON", u"положение", Id(IDC_SAVE_POSITION), kCheck, 0, 2, 155, 53, 10},
};

constexpr DialogTemplate kSettings{WS_POPUP | WS_BORDER, 0, 0,     0, 160, 182, u"",
                                   u"MS Sans Serif",     8, kItems};

}  // namespace

void AddSettingsTemplate(ResourceModule& module) {
    module.AddResource(IDD_SETTINGS, kSettings);
}

}  // namespace qv
