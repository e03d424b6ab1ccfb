#pragma once

#include <string_view>

#include "platform/pocket/toolbar_messages.h"

namespace qv {

// Makes the shell's menu bar of a window from the menu-bar description `nToolBarId` of
// `hInstRes` (its buttons, their texts from the string table, the menu they open) and puts it at
// the bottom of the screen, shown while its window is active. The bar then takes TB_ADDBITMAP,
// TB_ADDBUTTONS and TB_SETTOOLTIPS like a toolbar, presses its buttons as every button presses
// (ButtonPress): WM_COMMAND to its window for one released inside, a drop-down's menu opened
// upwards from the bar; and it shows a button's tooltip after it has been held for kTooltipDelayMs.
// F10 sent to the bar (its window hands the key on) gives the bar the keys: Left and Right move
// round its buttons from the first, Return, Space or Down press one (a drop-down's menu opens on
// its first item), and Escape, F10, the pen or another active window leave.
// False for a record of the wrong size, no window, or a description that is not there.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// Adds `count` images of width x height from bitmap `bitmapId` of the module to the bar;
// the index of the first, or -1. A count beyond the images the bitmap holds takes only those
// it holds.
int CommandBar_AddBitmap(HWND bar, HINSTANCE module, int bitmapId, int count, int width,
                         int height);

inline constexpr std::u16string_view kMenuBarClassName = u"QvShellMenuBar";
inline constexpr UINT kTooltipDelayMs = 500;

}  // namespace qv
