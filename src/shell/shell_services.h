#pragma once

// The shell services the main window uses, each in one place, so that the program does not
// depend on how the pocket shell offers them: the menu bar with its toolbar, the open-file page
// and the launch of a document.

#include <span>
#include <string>
#include <string_view>

#include "platform/gdi/resource_module.h"
#include "platform/user/user_types.h"
#include "resources/main_window_resources.h"

namespace qv {

// The shell's menu bar of `owner` from menu-bar description `menuBarId`; null on failure.
HWND CreateShellMenuBar(HWND owner, HINSTANCE module, int menuBarId);
// The tooltips by button position (TB_SETTOOLTIPS).
void SetMenuBarTooltips(HWND bar, std::span<const char16_t* const> texts);
// Adds `count` images of the strip to the bar (CommandBar_AddBitmap); the first one's index or -1.
int AddMenuBarImages(HWND bar, HINSTANCE module, int bitmapId, int count, int width, int height);
// Adds the toolbar's push buttons (TB_ADDBUTTONS).
void AddMenuBarButtons(HWND bar, std::span<const ToolbarButton> buttons);

// The open-file page for map files (GetOpenFileNameW) with the filter "Quorvane (*.qvn)" and the
// user's documents as the first folder. True with the chosen path in `buffer`; false when the
// user cancelled or the page failed, `buffer` then empty.
bool ChooseFileToOpen(HWND owner, std::span<char16_t> buffer);

// Opens the document with the desktop's default action (ShellExecuteEx); false when that failed.
bool OpenDocument(std::u16string_view path);

// The folder of the running executable, ending in '/'; empty when it cannot be told.
std::u16string ExecutableFolder();

}  // namespace qv
