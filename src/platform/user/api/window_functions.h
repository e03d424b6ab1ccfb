#pragma once

#include <string>
#include <string_view>

#include "platform/user/records/user_types.h"

namespace qv {

// Classes.
ATOM RegisterClassW(const WNDCLASSW* attributes);
// Fails while windows of the class exist.
BOOL UnregisterClassW(ClassAtomOrName className, HINSTANCE module);
// The class's atom (0 when there is none), with its attributes copied out.
ATOM GetClassInfoW(HINSTANCE module, ClassAtomOrName className, WNDCLASSW* attributes);
int GetClassNameW(HWND window, char16_t* buffer, int size);
// Whether the window exists and its class has exactly this name.
bool IsWindowOfClass(HWND window, std::u16string_view className);

// Windows.
HWND CreateWindowExW(DWORD exStyle, ClassAtomOrName className, std::u16string_view title,
                     DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                     HINSTANCE module, void* parameter);
BOOL DestroyWindow(HWND window);
// Whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Moves and sizes the window unless SWP_NOMOVE or SWP_NOSIZE says not to; SWP_FRAMECHANGED asks
// it again where its client area lies, as after a change of its frame styles. The stacking order
// follows activation alone, so the call needs SWP_NOZORDER (`insertAfter` is not looked at); it
// never activates.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// Whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);

BOOL SetWindowTextW(HWND window, std::u16string_view text);
// Copies at most size - 1 characters and a terminating null; returns the characters copied.
int GetWindowTextW(HWND window, char16_t* buffer, int size);
int GetWindowTextLengthW(HWND window);
std::u16string GetWindowText(HWND window);

BOOL GetClientRect(HWND window, RECT* rect);
// In screen coordinates.
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL ScreenToClient(HWND window, POINT* point);

HWND GetDesktopWindow();
// Calls `procedure` for each top-level window, the top of the z-order first, as they were when
// the call began, until it returns FALSE.
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
BOOL EnumWindows(WNDENUMPROC procedure, LPARAM parameter);
// A child's parent, or the window a top-level window belongs to.
HWND GetParent(HWND window);
BOOL IsChild(HWND parent, HWND window);
// Siblings in z-order, the top first (a parent's children in the order they were made):
// GW_CHILD the window's top child, GW_HWNDNEXT the sibling below it, GW_HWNDPREV the one above,
// GW_OWNER the window a top-level window belongs to. Null when there is none.
HWND GetWindow(HWND window, UINT relation);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);

// GWL_WNDPROC, GWL_USERDATA, GWL_STYLE, GWL_EXSTYLE, GWL_ID, GWL_HINSTANCE, GWL_HWNDPARENT, or
// the offset of a value in the class's extra bytes (a dialog's DWL_MSGRESULT, DWL_DLGPROC and
// DWL_USER among them). Returns the previous value, 0 when the slot does not exist.
LONG_PTR SetWindowLongW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongW(HWND window, int index);

BOOL SetPropW(HWND window, std::u16string_view name, LONG_PTR value);
LONG_PTR GetPropW(HWND window, std::u16string_view name);
LONG_PTR RemovePropW(HWND window, std::u16string_view name);

// A top-level window of this program or of another one of the same user. A null or empty class
// and a null title match any.
HWND FindWindowW(const char16_t* className, const char16_t* title);
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();

}  // namespace qv
