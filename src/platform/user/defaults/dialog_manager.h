#pragma once

#include <string_view>

#include "platform/user/defaults/dialog_navigation.h"
#include "platform/user/records/dialog_template.h"
#include "platform/user/records/user_types.h"

namespace qv {

// Makes the dialog and its controls from the template and runs it modally over the owner until
// EndDialog; returns the value given to EndDialog, or -1 when the dialog cannot be made. The
// dialog procedure sees WM_SETFONT (with a template font) and WM_INITDIALOG first.
INT_PTR DialogBoxIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM parameter);
// The same with the template of that id in the module.
INT_PTR DialogBoxParamW(HINSTANCE module, int templateId, HWND owner, DLGPROC procedure,
                        LPARAM parameter);
// Makes a modeless dialog from the template and returns it, null when it cannot be made. A
// template with WS_CHILD makes a page inside the parent, in its client coordinates; any other a
// pop-up owned by it. Shown when the template has WS_VISIBLE. Its keyboard works when the
// program's loop hands its messages to IsDialogMessageW; it ends with DestroyWindow.
HWND CreateDialogIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND parent,
                                DLGPROC procedure, LPARAM parameter);
// The same with the template of that id in the module.
HWND CreateDialogParamW(HINSTANCE module, int templateId, HWND parent, DLGPROC procedure,
                        LPARAM parameter);
// Ends the modal loop of the dialog with the result; the dialog goes when its loop returns.
BOOL EndDialog(HWND dialog, INT_PTR result);
// The dialog window's procedure: the dialog procedure first; what it leaves is done here:
// WM_CLOSE asks for IDCANCEL, activation gives the focus back to the control that had it (the
// first tab stop when none had), WM_NEXTDLGCTL moves the focus, DM_GETDEFID and DM_SETDEFID
// read and set the default push button (at first the template's first default push button),
// WM_VSCROLL scrolls a dialog that scrolls (dialog_scroll).
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The messages a dialog procedure answers with its return value rather than its message result
// (DWL_MSGRESULT): the colour messages, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM,
// WM_QUERYDRAGICON.
bool DialogAnswersByReturnValue(UINT message);
}  // namespace qv
