#pragma once

#include <string_view>

#include "platform/user/records/menu.h"
#include "platform/user/records/user_types.h"

namespace qv {

// TrackPopupMenuEx flags: where the menu lies against the point, and what the choice does.
inline constexpr UINT TPM_LEFTALIGN = 0x0000;
inline constexpr UINT TPM_CENTERALIGN = 0x0004;
inline constexpr UINT TPM_RIGHTALIGN = 0x0008;
inline constexpr UINT TPM_TOPALIGN = 0x0000;
inline constexpr UINT TPM_VCENTERALIGN = 0x0010;
inline constexpr UINT TPM_BOTTOMALIGN = 0x0020;
inline constexpr UINT TPM_HORIZONTAL = 0x0000;
inline constexpr UINT TPM_VERTICAL = 0x0040;
inline constexpr UINT TPM_NONOTIFY = 0x0080;
inline constexpr UINT TPM_RETURNCMD = 0x0100;

// A rectangle of the screen the menu should not cover (the button that opened it, say).
struct TPMPARAMS {
    UINT cbSize = sizeof(TPMPARAMS);
    RECT rcExclude{};
};

// The class of popup menu windows, and the messages they answer.
inline constexpr std::u16string_view kPopupMenuClassName = u"#32768";
// The menu the window shows.
inline constexpr UINT MN_GETHMENU = 0x01E1;
// Highlights the item at the position of the first parameter (-1: none); 0 when that item
// cannot be chosen.
inline constexpr UINT MN_SELECTITEM = 0x01E5;

// Where a menu of `size` goes for the point and the flags, on a screen of `screen`'s size: on
// the side of the point the alignment names, on the other side when it does not fit there, then
// moved inside the screen; off `exclude` when one of its sides has room, the vertical ones
// first with TPM_VERTICAL, else the horizontal ones.
RECT PlacePopupMenu(SIZE size, POINT point, UINT flags, SIZE screen, const RECT* exclude);

// Shows the menu's items at the point (screen coordinates) as the flags place them, owned by
// `owner`, without tracking it; destroyed with DestroyWindow or with its owner. The window keeps
// its own copy of the items, so the menu may go before it does. Null when there
// is no menu, it has no items, the owner is not a window or the parameters are of another size.
HWND CreatePopupMenuWindow(HMENU menu, UINT flags, int x, int y, HWND owner,
                           const TPMPARAMS* params);

// The screen rectangle of the item at the position in the window showing the popup menu; the
// window is found when `window` is not one.
BOOL GetMenuItemRect(HWND window, HMENU menu, UINT position, RECT* rect);

// Shows the menu and runs its own loop until an item is chosen or the menu is dismissed. The
// pen is the menu's: a tap on an item chooses it, a tap outside dismisses the menu and goes no
// further; keys go to the menu wherever the focus is: Up and Down move the highlight round the
// items that can be chosen, Return chooses the highlighted one, a mnemonic letter its item (or
// the next of several), Escape dismisses. Other messages are handled as usual meanwhile; the
// quit message dismisses the menu and is posted again. The choice is posted to the owner as
// WM_COMMAND, so it arrives after the menu is gone; with TPM_RETURNCMD it is returned instead
// (0 for none) and with TPM_NONOTIFY it is not sent. Without TPM_RETURNCMD returns nonzero when
// the menu was shown. Fails with 0 as CreatePopupMenuWindow does and while another menu is
// being tracked.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);

}  // namespace qv
