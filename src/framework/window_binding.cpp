#include "framework/window_binding.h"

#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

FrameworkObject* BoundObject(HWND window) {
    return reinterpret_cast<FrameworkObject*>(GetWindowLongW(window, GWL_USERDATA));
}

}  // namespace

LRESULT FirstWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameworkObject* object = TakeCreationRecord();
    if (!object) {
        // Nobody announced this window: it stays unbound for good, so that it can never take
        // the record of a window made later.
        SetWindowLongW(window, GWL_WNDPROC, ProcedureToLong(DefWindowProcW));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    object->hwnd = window;
    SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(object));
    SetWindowLongW(window, GWL_WNDPROC, ProcedureToLong(BoundWindowMessage));
    return BoundWindowMessage(window, message, wParam, lParam);
}

LRESULT BoundWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameworkObject* object = BoundObject(window);
    if (!object) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return object->GetEntryProcedure()(*object, message, wParam, lParam);
}

}  // namespace qv
