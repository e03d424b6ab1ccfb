#pragma once

#include "framework/dialog_object.h"

namespace qv {

// Runs the dialog of the template with that id in the module's resources modally over the
// owner, bound to the object; returns the value the dialog ended with, or -1 when the dialog
// cannot be made (no such template, for one).
INT_PTR RunModalDialog(DialogObject& dialog, int templateId, HWND owner, LPARAM parameter = 0);

// The dialog procedure given to the dialog manager: the first message binds the dialog to the
// object whose creation record it finds, and goes on through BoundDialogMessage.
INT_PTR FirstDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR BoundDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
