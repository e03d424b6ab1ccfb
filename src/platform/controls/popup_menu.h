#pragma once

#include "platform/controls/popup_menu_codes.h"
#include "platform/controls/popup_menu_placement.h"
#include "platform/user/records/menu.h"

namespace qv {

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
// pen is the menu's: a release on an item chooses it (also at the end of a drag from the button
// that opened the menu), a tap outside dismisses the menu and goes no further; keys go to the menu
// wherever the focus is: Up and Down move the highlight round the items that can be chosen, Return
// chooses the highlighted one, a mnemonic letter its item (or the next of several), Escape
// dismisses. Other messages are handled as usual meanwhile; the quit message dismisses the menu and
// is posted again. The choice is posted to the owner as WM_COMMAND, so it arrives after the menu is
// gone; with TPM_RETURNCMD it is returned instead (0 for none) and with TPM_NONOTIFY it is not
// sent. Without TPM_RETURNCMD returns nonzero when the menu was shown. Fails with 0 as
// CreatePopupMenuWindow does and while another menu is being tracked.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);

}  // namespace qv
