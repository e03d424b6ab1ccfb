#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// Installs the device's shell in the current window system, once: the navigation bar at the top
// of the screen follows the active window's title, its Done button and its wish to hide the
// bar, the input panel's button at the bottom right its wish to hide that, and each menu bar
// shows while its window is the active one. The shell goes with the
// window system. Installing it again makes its bars anew if they were destroyed.
void InstallPocketShell();
// Brings the bars up to date with the active window at once.
void RefreshPocketShell();
// The navigation bar of the current window system's shell; null without one.
HWND ShellNavigationBar();
// The input panel's button of the current window system's shell; null without one.
HWND ShellKeyboardButton();
// Whether the active window hid the input panel's button (SHFS_HIDESIPBUTTON).
bool ShellSipButtonHidden();

}  // namespace qv
