#pragma once

#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

inline constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
inline constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
inline constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
inline constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
inline constexpr DWORD SHFS_SHOWSTARTICON = 0x0010;
inline constexpr DWORD SHFS_HIDESTARTICON = 0x0020;

// What a page asked of the shell, kept on the page itself so that it goes with it.
inline constexpr std::u16string_view kHideTaskBarProperty = u"qv.shell.hideTaskBar";
inline constexpr std::u16string_view kHideSipButtonProperty = u"qv.shell.hideSipButton";

// Hides or shows the navigation bar (the task bar) and the input panel's button while the window
// is the active one. False for a window that is not there, or for a request to both hide and
// show the same thing. The start icon is part of no bar here, so its flags are accepted and do
// nothing.
BOOL SHFullScreen(HWND window, DWORD state);

bool TaskBarHidden(HWND window);
bool SipButtonHidden(HWND window);

}  // namespace qv
