#pragma once

#include "platform/host/host.h"
#include "platform/user/records/user_types.h"

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
// Adds a key press, release or character to the input as the device's keyboard would give it,
// with the modifiers held at the time: an on-screen keyboard types through it, and its keys
// reach the focus window as WM_KEYDOWN, WM_CHAR and WM_KEYUP. Events of other kinds are refused.
BOOL SendKeyboardInput(const InputEvent& event);

}  // namespace qv
