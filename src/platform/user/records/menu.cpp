#include "platform/user/records/menu.h"

namespace qv {

namespace {

constexpr UINT kNoItem = 0xFFFFFFFF;

bool WithinDepth(std::span<const MenuItemTemplate> items, int depth) {
    if (depth > kMaxMenuDepth) {
        return false;
    }
    for (const MenuItemTemplate& item : items) {
        if ((item.flags & MF_POPUP) != 0 && !WithinDepth(item.popup, depth + 1)) {
            return false;
        }
    }
    return true;
}

const MenuItem* ItemAt(HMENU menu, int position) {
    if (!menu || position < 0 || static_cast<std::size_t>(position) >= menu->Items().size()) {
        return nullptr;
    }
    return &menu->Items()[static_cast<std::size_t>(position)];
}

}  // namespace

Menu::Menu(std::span<const MenuItemTemplate> items, const Menu* parent) : parent_(parent) {
    items_.reserve(items.size());
    for (const MenuItemTemplate& source : items) {
        MenuItem item;
        item.text = source.text;
        item.id = source.id;
        item.flags = source.flags;
        if ((source.flags & MF_POPUP) != 0) {
            item.popup = std::make_unique<Menu>(source.popup, this);
        }
        items_.push_back(std::move(item));
    }
}

bool IsSelectableMenuItem(const MenuItem& item) {
    return (item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_POPUP)) == 0;
}

HMENU LoadMenuW(HINSTANCE module, int id) {
    const MenuTemplate* found = module ? module->FindResource<MenuTemplate>(id) : nullptr;
    if (!found || !WithinDepth(found->items, 1)) {
        return nullptr;
    }
    return new Menu(found->items, nullptr);
}

HMENU GetSubMenu(HMENU menu, int position) {
    const MenuItem* item = ItemAt(menu, position);
    return item ? item->popup.get() : nullptr;
}

BOOL DestroyMenu(HMENU menu) {
    if (!menu || menu->Parent()) {
        return 0;
    }
    delete menu;
    return 1;
}

int GetMenuItemCount(HMENU menu) {
    return menu ? static_cast<int>(menu->Items().size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    const MenuItem* item = ItemAt(menu, position);
    return item && !item->popup ? item->id : kNoItem;
}

}  // namespace qv
