#pragma once

#include "platform/user/user_types.h"

namespace qv {

// Gives the window the keyboard, activating its top-level window first; returns the window that
// had it. WM_KILLFOCUS goes to the old one, then WM_SETFOCUS to the new one.
HWND SetFocus(HWND window);
HWND GetFocus();
// The pen's messages go to the window wherever the pen is, until released.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
// The high bit is set while the key is down, as of the last key message.
SHORT GetKeyState(int virtualKey);

}  // namespace qv
