#pragma once

#include <vector>

#include "platform/user/records/user_types.h"

namespace qv {

// The keyboard of a dialog. Controls tell what they keep for themselves by their answer to
// WM_GETDLGCODE; the rest is the dialog's: Tab and Shift+Tab move over the visible enabled
// WS_TABSTOP controls in sibling order, the arrow keys move inside a WS_GROUP group (checking an
// automatic radio button as it takes the focus), Enter presses the default push button (IDOK when
// there is none) and Escape asks for IDCANCEL. Any other message for the dialog or its controls
// is translated and dispatched; a tap that gives a control the focus moves the default look as
// the keys do. A dialog that scrolls (dialog_scroll) brings the control that took the focus into
// view. True when the message was for the dialog or one of its controls.
//
// A disabled default button is not pressed. There are no mnemonics, so DLGC_WANTCHARS changes
// nothing.
BOOL IsDialogMessageW(HWND dialog, const MSG* message);
// The next (or previous) visible enabled WS_TABSTOP control after the control, wrapping round;
// without a control, the first (or last). The control itself when no other qualifies.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible enabled control of the control's group, wrapping round inside
// it.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);
// The control's group, the arrow keys' and the automatic radio buttons': its siblings from the
// nearest one at or before it with WS_GROUP up to the next one with it, in sibling order.
std::vector<HWND> ControlGroup(HWND control);

// Gives a control of the dialog the focus as the dialog manager does: an edit's text selected
// whole, the default push button's look moved to it when it is a push button, the control
// scrolled into view when the dialog scrolls.
void MoveDialogFocus(HWND dialog, HWND control);
// The control that is to take the focus when the dialog is next activated, made ready as above.
void PrepareDialogFocus(HWND dialog, HWND control);
// Shows the default look on the focused push button, or on the default one when the focus is
// elsewhere, and the plain look on every other.
void ShowDefaultButtonLook(HWND dialog, HWND focus);

}  // namespace qv
