#include "gallery/gallery_texts.h"

namespace qv::gallery {

namespace {

using enum GalleryTextId;

constexpr TextEntry<GalleryTextId> kTexts[] = {
    {PageTitle, u"Quorvane: элементы"},
    {StaticHeading, u"Статический текст"},
    {StaticLeft, u"SS_LEFT: по количеству пересадок"},
    {StaticCenter, u"SS_CENTER: Маршрут"},
    {StaticRight, u"SS_RIGHT: мс"},
    {StaticWrapped, u"максимальное количество пересадок (перенос строк)"},
    {StaticDisabled, u"Недоступный текст"},
    {StaticBold, u"Жирный заголовок: Отображение"},
    {StaticSystemFont, u"Шрифт системы (без WM_SETFONT)"},
    {ButtonsHeading, u"Кнопки"},
    {ButtonNormal, u"Обычная"},
    {ButtonDefault, u"По умолчанию"},
    {ButtonPressed, u"Нажатая"},
    {ButtonDisabled, u"Недоступная"},
    {ButtonFocused, u"С фокусом"},
    {ButtonDefaultPressed, u"По умолч., нажата"},
    {OwnerDrawnHeading, u"Рисует владелец"},
    {OwnerDrawnNormal, u"обычная"},
    {OwnerDrawnPressed, u"нажата"},
    {OwnerDrawnDisabled, u"недоступна"},
    {ChecksHeading, u"Флажки"},
    {CheckClear, u"не отмечен"},
    {CheckChecked, u"отмечен"},
    {MarkPressed, u"нажат"},
    {CheckFocused, u"с фокусом, отмечен"},
    {MarkDisabled, u"недоступен"},
    {CheckDisabledChecked, u"недоступен, отмечен"},
    {RadiosHeading, u"Переключатели"},
    {RadioByTransfers, u"по количеству пересадок"},
    {RadioByTime, u"по времени в пути"},
    {RadioKeyboard, u"клавиатура (другая группа)"},
    {RadioTabs, u"закладки"},
    {EditsHeading, u"Поля ввода"},
    {EditEmpty, u"пустое"},
    {EditWithText, u"с текстом"},
    {EditSample, u"Схема метро"},
    {EditDisabled, u"недоступное"},
    {EditScrolled, u"прокручено"},
    {EditSelection, u"выделение"},
    {EditSelected, u"Выбор станции"},
    {EditNote, u"Фокус у поля «выделение»: буквы 6-13 выделены, курсор после них."},
    {ScrollCaption, u"Прокрутка"},
    {ImageDeparture, u"отправление"},
    {ImageDestination, u"назначение"},
    {ImageClear, u"очистка"},
    {ImageForbidden, u"запрет"},
    {ImageStationList, u"по алфавиту"},
    {ImageRoute, u"маршрут"},
    {ImageZoom, u"масштаб"},
    {ImageHelp, u"помощь"},
    {ImageSpare, u"запасная"},
    {NoToolbarStrip, u"Нет полосы IDB_TOOLBAR"},
    {ToolbarHeading, u"Панель инструментов"},
    {StripLabel, u"Полоса:"},
    {MaskedLabel, u"Без фона:"},
    {IconsHeading, u"Значки"},
    {IconApp, u"Программа (1), 32 x 32"},
    {IconDeparture, u"Отправление (5003), 16 x 16"},
    {IconDestination, u"Назначение (5004), 16 x 16"},
    {NoIcon, u"нет значка"},
    {RussianKeyboardHeading, u"Клавиатура: ЙЦУКЕН"},
    {RussianKeyboardNote, u"Shift даёт одну заглавную букву, затем выключается"},
    {HeldKeyHeading, u"Нажатая клавиша"},
    {HeldKeyNote, u"Под пальцем: клавиша видна крупно над ним"},
    {LatinKeyboardHeading, u"Клавиатура: QWERTY"},
    {LatinKeyboardNote, u"Caps включён: заглавные до нового нажатия"},
    {SymbolKeyboardHeading, u"Цифры и знаки"},
    {SymbolKeyboardNote, u"Переключатель раскладок: слева внизу"},
    {MenuHeading, u"Меню «Схема» над строкой меню"},
    {MenuBarLabel, u"Строка меню"},
    {MenuDeparture, u"&Отправление"},
    {MenuDestination, u"&Назначение"},
    {MenuClearStations, u"&Очистка станций"},
    {MenuForbidden, u"&Запрещённая"},
    {ShellBarsNote,
     u"Навигационная панель сверху, панель меню снизу; кнопка «Станция отправления» удержана, её "
     u"подсказка над панелью."},
};

}  // namespace

std::span<const TextEntry<GalleryTextId>> RussianGalleryTexts() {
    return kTexts;
}

}  // namespace qv::gallery
