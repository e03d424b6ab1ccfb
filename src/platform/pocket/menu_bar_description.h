#pragma once

#include <span>

#include "platform/user/records/user_types.h"

namespace qv {

// One button of a menu-bar description: its image (I_IMAGENONE for a text button), its command,
// state and style as a TBBUTTON has them, the string that is its text, and the submenu of the
// description's menu that it opens (-1: none, the button sends its command).
struct MenuBarButton {
    int image = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    UINT textId = 0;
    int submenu = -1;
};

// What SHCreateMenuBar builds a menu bar from: a resource of the program's module, kept by id
// beside its menus.
struct MenuBarDescription {
    int menuId = 0;  // the menu whose submenus the buttons open
    std::span<const MenuBarButton> buttons;
};

}  // namespace qv
