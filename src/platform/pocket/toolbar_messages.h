#pragma once

// The records, messages and flags of the shell's menu bar and its toolbar, as the pocket
// computer numbers them.

#include <cstdint>

#include "platform/gdi/resource_module.h"
#include "platform/user/records/user_types.h"
#include "platform/user/records/window_messages.h"

namespace qv {

struct TBBUTTON {
    int iBitmap = 0;
    int idCommand = 0;
    BYTE fsState = 0;
    BYTE fsStyle = 0;
    std::uintptr_t dwData = 0;
    INT_PTR iString = 0;
};

struct TBADDBITMAP {
    HINSTANCE hInst = nullptr;
    UINT_PTR nID = 0;
};

// A button without an image.
inline constexpr int I_IMAGENONE = -2;

inline constexpr BYTE TBSTATE_CHECKED = 0x01;
inline constexpr BYTE TBSTATE_PRESSED = 0x02;
inline constexpr BYTE TBSTATE_ENABLED = 0x04;
inline constexpr BYTE TBSTATE_HIDDEN = 0x08;

inline constexpr BYTE TBSTYLE_BUTTON = 0x00;
inline constexpr BYTE TBSTYLE_SEP = 0x01;
inline constexpr BYTE TBSTYLE_DROPDOWN = 0x08;
inline constexpr BYTE TBSTYLE_AUTOSIZE = 0x10;

// wParam the button's command id; whether it shows pressed.
inline constexpr UINT TB_ISBUTTONPRESSED = WM_USER + 12;
// wParam the number of images, lParam a TBADDBITMAP; the index of the first image, or -1.
inline constexpr UINT TB_ADDBITMAP = WM_USER + 19;
// wParam the number of buttons, lParam the TBBUTTON records.
inline constexpr UINT TB_ADDBUTTONS = WM_USER + 20;
inline constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
// wParam the button's position, lParam the RECT that receives it in client coordinates.
inline constexpr UINT TB_GETITEMRECT = WM_USER + 29;
// lParam MAKELPARAM(width, height) of the images.
inline constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;
// wParam the number of texts, lParam an array of that many strings, indexed by button position.
inline constexpr UINT TB_SETTOOLTIPS = WM_USER + 81;

struct SHMENUBARINFO {
    DWORD cbSize = sizeof(SHMENUBARINFO);
    HWND hwndParent = nullptr;
    DWORD dwFlags = 0;
    UINT nToolBarId = 0;
    HINSTANCE hInstRes = nullptr;
    int nBmpId = 0;
    int cBmpImages = 0;
    HWND hwndMB = nullptr;  // receives the menu bar
    COLORREF clrBk = 0;
};

}  // namespace qv
