#include "menu_screen.h"

#include "gallery_texts.h"
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

void ShowMenu(const Page& page, HMENU menu, UINT flags, POINT at, int highlighted) {
    if (const HWND popup = CreatePopupMenuWindow(menu, flags, at.x, at.y, page.window, nullptr)) {
        SendMessageW(popup, MN_SELECTITEM, static_cast<WPARAM>(highlighted), 0);
    }
}

}  // namespace

void BuildMenuScreen(const Page& page) {
    AddControl(page, kStaticClassName, GalleryText(GalleryTextId::MenuHeading), SS_LEFT,
               {8, 6, 150, 34}, 0, page.bold);
    AddControl(page, kStaticClassName, GalleryText(GalleryTextId::MenuBarLabel), SS_CENTER,
               {0, kMenuBarTop + 6, 240, 318});
    const UniqueMenu program(LoadMenuW(ProgramModule(), IDR_MENUBAR));
    ShowMenu(page, GetSubMenu(program.get(), 0), TPM_LEFTALIGN | TPM_BOTTOMALIGN, {0, kMenuBarTop},
             2);
    const MenuItemTemplate routeItems[] = {
        MenuCommand(GalleryText(GalleryTextId::MenuDeparture), 1),
        MenuCommand(GalleryText(GalleryTextId::MenuDestination), 2, MF_GRAYED),
        MenuSeparator(),
        MenuCommand(GalleryText(GalleryTextId::MenuClearStations), 3),
        MenuCommand(GalleryText(GalleryTextId::MenuForbidden), 4),
    };
    const UniqueMenu route(new Menu(routeItems, nullptr));
    ShowMenu(page, route.get(), TPM_RIGHTALIGN | TPM_TOPALIGN, {238, 40}, 3);
}

}  // namespace qv::gallery
