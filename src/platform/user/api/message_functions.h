#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// Calls the window's procedure now and returns its result; 0 for a window that is gone.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline constexpr UINT SMTO_NORMAL = 0x0000;
inline constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

// Sends the message and keeps the window's result in `result`: 0 when the window is gone or did
// not answer within the timeout, else 1. A window of another program takes only WM_COPYDATA,
// whose bytes travel through the rendezvous and may be at most 64 KiB.
LRESULT SendMessageTimeoutW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                            UINT timeoutMs, LRESULT* result);
// Queues the message; a null window makes it a message of the thread.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Waits for the next message; 0 for WM_QUIT, else 1. A filter narrows it to one window and its
// children, or to a range of ids.
BOOL GetMessageW(MSG* message, HWND window, UINT first, UINT last);
BOOL PeekMessageW(MSG* message, HWND window, UINT first, UINT last, UINT remove);
// Queues the character of a key that makes one (Return, Backspace, Tab, Escape, Ctrl with a
// letter); the host sends other characters as text.
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageW(const MSG* message);
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
