#include "framework/modal_dialog.h"

#include "framework/module_state.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/dialog_manager.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

INT_PTR RunModalDialog(DialogObject& dialog, int templateId, HWND owner, LPARAM parameter) {
    ModuleState* module = CurrentModule();
    if (!module || !AddCreationRecord(dialog)) {
        return -1;
    }
    const DialogTemplate* dialogTemplate =
        module->instance ? module->instance->FindResource<DialogTemplate>(templateId) : nullptr;
    const INT_PTR result = DialogBoxIndirectParamW(module->instance, dialogTemplate, owner,
                                                   FirstDialogMessage, parameter);
    // A dialog that could not be made never took the record; it must not bind a later window.
    DropCreationRecord(dialog);
    return result;
}

INT_PTR FirstDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameworkObject* object = TakeCreationRecord();
    if (!object) {
        // Nobody announced this dialog: it stays with the dialog manager's defaults for good.
        SetWindowLongW(dialog, DWL_DLGPROC, 0);
        return 0;
    }
    object->hwnd = dialog;
    SetWindowLongW(dialog, GWL_USERDATA, reinterpret_cast<LONG_PTR>(object));
    SetWindowLongW(dialog, DWL_DLGPROC, ProcedureToLong(BoundDialogMessage));
    return BoundDialogMessage(dialog, message, wParam, lParam);
}

INT_PTR BoundDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<FrameworkObject*>(GetWindowLongW(dialog, GWL_USERDATA));
    if (!object) {
        return 0;
    }
    return object->GetEntryProcedure()(*object, message, wParam, lParam);
}

}  // namespace qv
