#pragma once

#include <string_view>

#include "platform/pocket/shell_layout.h"
#include "platform/user/records/user_types.h"

namespace qv {

// The input panel's button at the right end of the menu bar's row: a tap raises or lowers the
// on-screen keyboard, and it looks pressed while the keyboard is up. It stays there when a page
// covers the menu bar, so that the keyboard can be had inside every page.
HWND CreateKeyboardButton();

inline constexpr int kKeyboardButtonWidth = 28;
inline constexpr std::u16string_view kKeyboardButtonClassName = u"QvShellKeyboardButton";

constexpr RECT KeyboardButtonRect() {
    RECT rect = MenuBarRect();
    rect.left = rect.right - kKeyboardButtonWidth;
    return rect;
}

// Where a menu bar lies: its row, but for the keyboard button.
constexpr RECT MenuBarRectBesideKeyboardButton() {
    RECT rect = MenuBarRect();
    rect.right = KeyboardButtonRect().left;
    return rect;
}

}  // namespace qv
