#pragma once

// The tab control's class name, styles, messages, notifications and records, as the pocket
// computer numbers them.

#include "platform/controls/notify_messages.h"

namespace qv {

inline constexpr const char16_t* WC_TABCONTROL = u"SysTabControl32";

// Styles.
inline constexpr DWORD TCS_SINGLELINE = 0x0000;
inline constexpr DWORD TCS_RIGHTJUSTIFY = 0x0000;
inline constexpr DWORD TCS_MULTILINE = 0x0200;
inline constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
inline constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;
inline constexpr DWORD TCS_FOCUSNEVER = 0x8000;

// Messages.
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
inline constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
inline constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;
inline constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
inline constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;
inline constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
inline constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;

// Notifications.
inline constexpr UINT TCN_FIRST = 0U - 550U;
inline constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
inline constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2;

// Which parts of a tab a record carries.
inline constexpr UINT TCIF_TEXT = 0x0001;
inline constexpr UINT TCIF_PARAM = 0x0008;

struct TCITEMW {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    char16_t* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};

// TCM_HITTEST.
inline constexpr UINT TCHT_NOWHERE = 0x0001;
inline constexpr UINT TCHT_ONITEM = 0x0006;
struct TCHITTESTINFO {
    POINT pt{};
    UINT flags = 0;
};

}  // namespace qv
