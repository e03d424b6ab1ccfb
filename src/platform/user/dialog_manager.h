#pragma once

#include <string_view>

#include "platform/user/dialog_template.h"
#include "platform/user/user_types.h"

namespace qv {

// The class of dialog windows; its procedure is DefDlgProcW.
inline constexpr std::u16string_view kDialogClassName = u"#32770";

// Makes the dialog and its controls from the template and runs it modally over the owner until
// EndDialog; returns the value given to EndDialog, or -1 when the dialog cannot be made. The
// dialog procedure sees WM_SETFONT (with a template font) and WM_INITDIALOG first.
INT_PTR DialogBoxIndirectParamW(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM parameter);
// The same with the template of that id in the module.
INT_PTR DialogBoxParamW(HINSTANCE module, int templateId, HWND owner, DLGPROC procedure,
                        LPARAM parameter);
// Ends the modal loop of the dialog with the result; the dialog goes when its loop returns.
BOOL EndDialog(HWND dialog, INT_PTR result);
// The dialog window's procedure: the dialog procedure first; what it leaves is done here.
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The messages a dialog procedure answers with its return value rather than its message result
// (DWL_MSGRESULT): the colour messages, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM,
// WM_QUERYDRAGICON.
bool DialogAnswersByReturnValue(UINT message);
// Handles Enter (IDOK) and Escape (IDCANCEL) for the dialog and hands its other messages on;
// true when the message was for the dialog or one of its controls.
BOOL IsDialogMessageW(HWND dialog, const MSG* message);

}  // namespace qv
