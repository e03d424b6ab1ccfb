#include "framework/frame_window.h"

#include <utility>

#include "platform/user/api/message_functions.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/defaults/default_window_procedure.h"
#include "platform/user/records/window_messages.h"
#include "platform/user/records/window_styles.h"

namespace qv {

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

}  // namespace qv
