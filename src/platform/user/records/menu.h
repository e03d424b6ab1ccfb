#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user/records/user_types.h"

namespace qv {

// Item flags, as the pocket computer numbers them.
inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_ENABLED = 0x0000;
inline constexpr UINT MF_GRAYED = 0x0001;
inline constexpr UINT MF_DISABLED = 0x0002;
inline constexpr UINT MF_POPUP = 0x0010;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// One item of a menu as the program's resources describe it. The text marks its mnemonic with
// "&" before the letter ("&&" is an ampersand); an MF_POPUP item opens the menu of `popup`.
struct MenuItemTemplate {
    std::u16string_view text;
    UINT id = 0;
    UINT flags = MF_STRING;
    std::span<const MenuItemTemplate> popup;
};

constexpr MenuItemTemplate MenuCommand(std::u16string_view text, UINT id, UINT flags = MF_STRING) {
    return {text, id, flags, {}};
}
constexpr MenuItemTemplate MenuSeparator() {
    return {u"", 0, MF_SEPARATOR, {}};
}
constexpr MenuItemTemplate MenuPopup(std::u16string_view text,
                                     std::span<const MenuItemTemplate> items) {
    return {text, 0, MF_POPUP, items};
}

// A menu as the program's resources describe it: a bar of items, usually each opening a popup.
struct MenuTemplate {
    std::span<const MenuItemTemplate> items;
};

class Menu;

struct MenuItem {
    std::u16string text;
    UINT id = 0;
    UINT flags = MF_STRING;
    std::unique_ptr<Menu> popup;
};

// A menu made from a template: its items in order, each popup a menu of its own that lives as
// long as the menu holding it.
class Menu {
  public:
    Menu(std::span<const MenuItemTemplate> items, const Menu* parent);
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    std::span<const MenuItem> Items() const { return items_; }
    // The menu holding this one as a popup, or null for a menu of its own.
    const Menu* Parent() const { return parent_; }

  private:
    std::vector<MenuItem> items_;
    const Menu* parent_;
};

using HMENU = Menu*;

// Whether the item can be chosen: text that is neither greyed nor disabled, and no popup (a
// popup menu opens no further menu of its own).
bool IsSelectableMenuItem(const MenuItem& item);

// The menu of that id in the module, or null when there is none. Templates nested deeper than
// kMaxMenuDepth are refused.
inline constexpr int kMaxMenuDepth = 8;
HMENU LoadMenuW(HINSTANCE module, int id);
// The popup of the item at the position, or null when the item has none. It belongs to `menu`.
HMENU GetSubMenu(HMENU menu, int position);
// Destroys the menu and its popups. A popup still held by its menu goes with that menu and is
// refused here.
BOOL DestroyMenu(HMENU menu);
// The number of items, or -1 for no menu.
int GetMenuItemCount(HMENU menu);
// The command of the item at the position; 0xFFFFFFFF for an item opening a popup, a position
// out of range or no menu.
UINT GetMenuItemID(HMENU menu, int position);

struct MenuDeleter {
    void operator()(Menu* menu) const { DestroyMenu(menu); }
};
using UniqueMenu = std::unique_ptr<Menu, MenuDeleter>;

}  // namespace qv
