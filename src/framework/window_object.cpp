#include "framework/window_object.h"

#include <utility>

#include "framework/window_binding.h"
#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_messages.h"
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

LRESULT WindowMessageProcedure(FrameworkObject& base, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& object = static_cast<WindowObject&>(base);
    LRESULT result = 0;
    const bool handled = object.HandleAsCurrent(message, wParam, lParam, result);
    if (handled) {
        return result;
    }
    if (message != WM_DESTROY) {
        return CallWindowProcW(object.superProcedure, object.hwnd, message, wParam, lParam);
    }
    const LONG_PTR procedure = GetWindowLongW(object.hwnd, GWL_WNDPROC);
    result = CallWindowProcW(object.superProcedure, object.hwnd, WM_DESTROY, wParam, lParam);
    if (object.superProcedure != DefWindowProcW &&
        GetWindowLongW(object.hwnd, GWL_WNDPROC) == procedure) {
        SetWindowLongW(object.hwnd, GWL_WNDPROC, ProcedureToLong(object.superProcedure));
    }
    const HWND former = std::exchange(object.hwnd, nullptr);
    object.OnWindowGone(former);
    return result;
}

}  // namespace qv
