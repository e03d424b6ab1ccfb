#include "resources/program_texts.h"

namespace qv {

namespace {

using enum TextId;

constexpr TextEntry<TextId> kTexts[] = {
    {Title, u"Схема метро"},
    {MenuScheme, u"&Схема"},
    // The first letter is the Latin capital C, the other four are Cyrillic.
    {MenuBarScheme, u"Cхема"},
    {MenuLoad, u"&Загрузить"},
    {MenuStationList, u"&Станции по алфавиту"},
    {MenuSettings, u"Настройки"},
    {MenuHelp, u"Помощь"},
    // The O is the Latin capital O, the rest is Cyrillic.
    {MenuAbout, u"&O программе"},
    {MenuExit, u"Вы&ход"},
    {TipDeparture, u"Станция отправления"},
    {TipDestination, u"Станция назначения"},
    {TipClearStations, u"Очистка станций"},
    {TipForbiddenStation, u"Запрещенная станция"},
    {TipStationList, u"Станции по алфавиту"},
    {TipRouteInfo, u"Информация о маршруте"},
    {TipScale, u"Масштабирование"},
    {TipHelp, u"Помощь"},
    {ErrorCaption, u"Ошибка"},
    {InformationCaption, u"Информация"},
    {MapNotLoaded, u"Старый формат схемы"},
    {HelpNotOpened, u"Ошибка"},
    {RouteNotFound, u"Маршрут не найден"},
    {SettingsNotSaved, u"Настройки не сохранены: не удалось записать файл настроек."},
    {PickerCaption, u"Станции"},
    {PickerDeparture, u"Станция отправления"},
    {PickerDestination, u"Станция назначения"},
    {PickerLine, u"(%1 линия)"},
    {RouteDetailsCaption, u"Маршрут подробно"},
    {RouteSummary, u"Станций %1 пересадок %2"},
    {RouteTime, u"Время в пути %1 мин"},
    {RouteTransfer, u"Пересадка на линию"},
    {SettingsAlgorithm, u"Алгоритм выбора"},
    {SettingsByTransfers, u"по количеству пересадок"},
    {SettingsByTime, u"по времени в пути"},
    {SettingsCountWait, u"учитывать время ожидания"},
    {SettingsMaxTransfers, u"максимальное количество пересадок"},
    {SettingsTooltipTime, u"Время показа подсказки"},
    {SettingsMilliseconds, u"мс"},
    {SettingsDisplay, u"Отображение"},
    {SettingsStationNames, u"названия станций"},
    {SettingsRoute, u"Маршрут"},
    {SettingsRouteLine, u"линия"},
    {SettingsRouteStations, u"станции"},
    {SettingsRouteBlink, u"мигающая"},
    {SettingsFont, u"шрифт"},
    {SettingsPicker, u"Выбор станции"},
    {SettingsPickKeyboard, u"клавиатура"},
    {SettingsPickTabs, u"закладки"},
    {SettingsSave, u"Сохранение"},
    {SettingsSaveRoute, u"маршрут"},
    {SettingsSaveZoom, u"масштаб"},
    {SettingsSavePosition, u"положение"},
    {AboutPurpose, u"Схема метро и поиск маршрута"},
    {HelpPage, u"quorvane.html"},
    {AboutVersion, u"Вер. %1"},
};

}  // namespace

std::span<const TextEntry<TextId>> RussianTexts() {
    return kTexts;
}

}  // namespace qv
