#include "menu_screen.h"

#include "platform/controls/control_codes.h"
#include "platform/controls/popup_menu.h"
#include "platform/controls/static_text.h"
#include "platform/user/api/message_functions.h"
#include "resources/program_resources.h"
#include "resources/resource_ids.h"

namespace qv::gallery {

namespace {

// Where the menu bar's top edge lies.
constexpr int kMenuBarTop = 320 - 26;

constexpr MenuItemTemplate kRouteItems[] = {
    MenuCommand(u"&Отправление", 1),     MenuCommand(u"&Назначение", 2, MF_GRAYED), MenuSeparator(),
    MenuCommand(u"&Очистка станций", 3), MenuCommand(u"&Запрещённая", 4),
};

void ShowMenu(const Page& page, HMENU menu, UINT flags, POINT at, int highlighted) {
    if (const HWND popup = CreatePopupMenuWindow(menu, flags, at.x, at.y, page.window, nullptr)) {
        SendMessageW(popup, MN_SELECTITEM, static_cast<WPARAM>(highlighted), 0);
    }
}

}  // namespace

void BuildMenuScreen(const Page& page) {
    AddControl(page, kStaticClassName, u"Меню «Схема» над строкой меню", SS_LEFT, {8, 6, 150, 34},
               0, page.bold);
    AddControl(page, kStaticClassName, u"Строка меню", SS_CENTER, {0, kMenuBarTop + 6, 240, 318});
    const UniqueMenu program(LoadMenuW(ProgramModule(), IDR_MENUBAR));
    ShowMenu(page, GetSubMenu(program.get(), 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN, {0, kMenuBarTop},
             2);
    const UniqueMenu route(new Menu(kRouteItems, nullptr));
    ShowMenu(page, route.get(), TPM_RIGHTALIGN | TPM_TOPALIGN, {238, 40}, 3);
}

}  // namespace qv::gallery
