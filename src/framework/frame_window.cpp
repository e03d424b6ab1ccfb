#include "framework/frame_window.h"

#include <utility>

#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

FrameworkObject* BoundObject(HWND window) {
    return reinterpret_cast<FrameworkObject*>(GetWindowLongW(window, GWL_USERDATA));
}

}  // namespace

HWND CreateFrameWindow(WindowObject& object, HWND parent, const RECT& rect,
                       std::u16string_view title, DWORD style, DWORD exStyle, UINT_PTR id,
                       void* parameter) {
    ModuleState* module = CurrentModule();
    if (!module) {
        return nullptr;
    }
    const ATOM atom =
        RegisterWindowClassRecord(*module, object.ClassRecord(), object.superProcedure);
    if (style == 0) {
        style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    }
    if (atom == 0 || !AddCreationRecord(object)) {
        return nullptr;
    }
    if (id == 0 && (style & WS_CHILD) != 0) {
        id = reinterpret_cast<UINT_PTR>(&object);
    }
    const HWND window =
        CreateWindowExW(exStyle, atom, title, style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, parent, id, module->instance, parameter);
    // A window that could not be made never took the record; it must not bind a later one.
    DropCreationRecord(object);
    return window;
}

LRESULT CallDefaultProcedure(WindowObject& object) {
    const MSG* message = object.currentMessage;
    if (!message) {
        return 0;
    }
    return CallWindowProcW(object.superProcedure, object.hwnd, message->message, message->wParam,
                           message->lParam);
}

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
