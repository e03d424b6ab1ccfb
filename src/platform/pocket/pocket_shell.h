#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// Installs the device's shell in the current window system, once: the navigation bar at the top
// of the screen follows the active window's title, its Done button and its wish to hide the
// bar, the input panel's button at the bottom right its wish to hide that, and each menu bar
// given to it shows while its window is the active one. It sets the work area between its bars.
// The shell goes with the window system. Installing it again makes its bars anew if they were
// destroyed.
void InstallPocketShell();
// Gives the shell a menu bar to show while its owner is the active window.
void AddShellMenuBar(HWND bar);
// Brings the bars up to date with the active window at once.
void RefreshPocketShell();
// The navigation bar of the current window system's shell; null without one.
HWND ShellNavigationBar();
// The input panel's button of the current window system's shell; null without one.
HWND ShellKeyboardButton();
// Whether the active window hid the input panel's button (SHFS_HIDESIPBUTTON).
bool ShellSipButtonHidden();

}  // namespace qv
