#include "framework/window_object.h"

#include "framework/frame_window.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

WindowObject::~WindowObject() {
    // A window that outlives its object gets the default processing from now on.
    if (hwnd && GetWindowLongW(hwnd, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(this) &&
        GetWindowLongW(hwnd, GWL_WNDPROC) == ProcedureToLong(BoundWindowMessage)) {
        SetWindowLongW(hwnd, GWL_WNDPROC, ProcedureToLong(superProcedure));
    }
}

FrameworkObject::EntryProcedure WindowObject::GetEntryProcedure() const {
    return WindowMessageProcedure;
}

}  // namespace qv
