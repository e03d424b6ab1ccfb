#include "gallery_screens.h"

#include "image_screens.h"
#include "keyboard_screens.h"
#include "list_screens.h"
#include "menu_screen.h"
#include "open_file_screen.h"
#include "platform/controls/button.h"
#include "platform/controls/control_codes.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/edit_control.h"
#include "platform/controls/static_text.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/api/input_functions.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/paint_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"
#include "shell_screens.h"

namespace qv::gallery {

namespace {

constexpr int kLeft = 8;
constexpr int kWidth = 224;
constexpr int kButtonHeight = 22;
constexpr int kMarkHeight = 16;
constexpr int kEditHeight = 20;

RECT Row(int top, int height, int left = kLeft, int width = kWidth) {
    return {left, top, left + width, top + height};
}

void Heading(const Page& page, int top, std::u16string_view text) {
    AddControl(page, kStaticClassName, text, SS_LEFT, Row(top, 14), 0, page.bold);
}

void BuildStatics(const Page& page) {
    Heading(page, 6, u"Статический текст");
    AddControl(page, kStaticClassName, u"SS_LEFT: по количеству пересадок", SS_LEFT, Row(26, 14));
    AddControl(page, kStaticClassName, u"SS_CENTER: Маршрут", SS_CENTER, Row(44, 14));
    AddControl(page, kStaticClassName, u"SS_RIGHT: мс", SS_RIGHT, Row(62, 14));
    AddControl(page, kStaticClassName, u"максимальное количество пересадок (перенос строк)",
               SS_LEFT, Row(82, 30, kLeft, 200));
    AddControl(page, kStaticClassName, u"Недоступный текст", SS_LEFT | WS_DISABLED, Row(116, 14));
    Heading(page, 140, u"Жирный заголовок: Отображение");
    AddControl(page, kStaticClassName, u"Шрифт системы (без WM_SETFONT)", SS_LEFT, Row(160, 16), 0,
               static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
}

void BuildPushButtons(const Page& page) {
    Heading(page, 6, u"Кнопки");
    AddControl(page, kButtonClassName, u"Обычная", BS_PUSHBUTTON, Row(28, kButtonHeight, 8, 108));
    AddControl(page, kButtonClassName, u"По умолчанию", BS_DEFPUSHBUTTON,
               Row(28, kButtonHeight, 124, 108));
    const HWND pressed = AddControl(page, kButtonClassName, u"Нажатая", BS_PUSHBUTTON,
                                    Row(58, kButtonHeight, 8, 108));
    SendMessageW(pressed, BM_SETSTATE, 1, 0);
    AddControl(page, kButtonClassName, u"Недоступная", BS_PUSHBUTTON | WS_DISABLED,
               Row(58, kButtonHeight, 124, 108));
    const HWND focused = AddControl(page, kButtonClassName, u"С фокусом", BS_PUSHBUTTON,
                                    Row(88, kButtonHeight, 8, 108));
    const HWND both = AddControl(page, kButtonClassName, u"По умолч., нажата", BS_DEFPUSHBUTTON,
                                 Row(88, kButtonHeight, 124, 108));
    SendMessageW(both, BM_SETSTATE, 1, 0);
    SetFocus(focused);
    Heading(page, 122, u"Рисует владелец");
    AddControl(page, kButtonClassName, u"обычная", BS_OWNERDRAW, Row(144, 26, 8, 70), 1);
    const HWND selected =
        AddControl(page, kButtonClassName, u"нажата", BS_OWNERDRAW, Row(144, 26, 85, 70), 2);
    SendMessageW(selected, BM_SETSTATE, 1, 0);
    AddControl(page, kButtonClassName, u"недоступна", BS_OWNERDRAW | WS_DISABLED,
               Row(144, 26, 162, 70), 3);
}

void BuildChecks(const Page& page) {
    Heading(page, 6, u"Флажки");
    const auto check = [&](int top, std::u16string_view text, DWORD extra) {
        return AddControl(page, kButtonClassName, text, BS_AUTOCHECKBOX | extra,
                          Row(top, kMarkHeight));
    };
    check(26, u"не отмечен", 0);
    SendMessageW(check(44, u"отмечен", 0), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(check(62, u"нажат", 0), BM_SETSTATE, 1, 0);
    const HWND focused = check(80, u"с фокусом, отмечен", 0);
    SendMessageW(focused, BM_SETCHECK, BST_CHECKED, 0);
    check(98, u"недоступен", WS_DISABLED);
    SendMessageW(check(116, u"недоступен, отмечен", WS_DISABLED), BM_SETCHECK, BST_CHECKED, 0);
    Heading(page, 142, u"Переключатели");
    const auto radio = [&](int top, std::u16string_view text, DWORD extra, int id) {
        return AddControl(page, kButtonClassName, text, BS_AUTORADIOBUTTON | extra,
                          Row(top, kMarkHeight), id);
    };
    radio(162, u"по количеству пересадок", WS_GROUP, 10);
    radio(180, u"по времени в пути", 0, 11);
    SendMessageW(radio(198, u"нажат", 0, 12), BM_SETSTATE, 1, 0);
    CheckRadioButton(page.window, 10, 12, 11);
    radio(220, u"клавиатура (другая группа)", WS_GROUP, 20);
    radio(238, u"закладки", 0, 21);
    radio(256, u"недоступен", WS_DISABLED, 22);
    CheckRadioButton(page.window, 20, 22, 20);
    SetFocus(focused);
}

void BuildEdits(const Page& page) {
    Heading(page, 6, u"Поля ввода");
    const auto label = [&](int top, std::u16string_view text) {
        AddControl(page, kStaticClassName, text, SS_LEFT, Row(top + 3, 14, kLeft, 96));
    };
    const auto edit = [&](int top, std::u16string_view text, DWORD extra) {
        return AddControl(page, kEditClassName, text, WS_BORDER | extra,
                          Row(top, kEditHeight, 106, 126));
    };
    label(28, u"пустое");
    edit(28, u"", ES_AUTOHSCROLL);
    label(54, u"с текстом");
    edit(54, u"Схема метро", ES_AUTOHSCROLL);
    label(80, u"ES_NUMBER");
    edit(80, u"2000", ES_NUMBER | ES_AUTOHSCROLL);
    label(106, u"недоступное");
    edit(106, u"3", ES_NUMBER | WS_DISABLED);
    label(132, u"прокручено");
    const HWND scrolled = edit(132, u"Площадь Александра Невского", ES_AUTOHSCROLL);
    SendMessageW(scrolled, EM_SETSEL, 27, 27);
    label(158, u"выделение");
    const HWND selected = edit(158, u"Выбор станции", ES_AUTOHSCROLL);
    AddControl(page, kStaticClassName,
               u"Фокус у поля «выделение»: буквы 6-13 выделены, курсор после них.", SS_LEFT,
               Row(188, 30));
    SetFocus(selected);
    SendMessageW(selected, EM_SETSEL, 6, 13);
}

void BuildLists(const Page& page) {
    BuildListViewScreen(page.window);
}

void BuildListScroll(const Page& page) {
    BuildListScrollScreen(page.window);
}

void BuildScrollBars(const Page& page) {
    BuildScrollBarScreen(page.window);
}

void BuildTabs(const Page& page) {
    BuildTabScreen(page.window);
}

constexpr Screen kScreens[] = {
    {"static", BuildStatics},
    {"buttons", BuildPushButtons},
    {"checks", BuildChecks},
    {"edits", BuildEdits},
    {"list-view", BuildLists},
    {"list-scroll", BuildListScroll},
    {"scroll-bars", BuildScrollBars},
    {"tabs", BuildTabs},
    {"popup-menu", BuildMenuScreen},
    {"keyboard-ru", BuildRussianKeyboard},
    {"keyboard-held", BuildHeldKey},
    {"keyboard-latin", BuildLatinKeyboard},
    {"keyboard-symbols", BuildSymbolKeyboard},
    {"toolbar-images", BuildToolbarImageScreen},
    {"icons", BuildIconScreen},
    {"open-file", BuildOpenFileScreen},
    {"shell-bars", BuildShellBarsScreen},
    {"shell-menu", BuildShellMenuScreen},
    {"shell-page", BuildShellPageScreen},
};

}  // namespace

std::span<const Screen> Screens() {
    return kScreens;
}

}  // namespace qv::gallery
