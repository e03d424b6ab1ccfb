#include "framework/framework_object.h"

#include <utility>

#include "framework/module_state.h"
#include "platform/user/api/window_functions.h"
#include "platform/user/records/window_styles.h"

namespace qv {

FrameworkObject::~FrameworkObject() {
    DropCreationRecord(*this);
    if (hwnd && GetWindowLongW(hwnd, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongW(hwnd, GWL_USERDATA, 0);
    }
}

void FrameworkObject::OnWindowGone(HWND /*formerWindow*/) {}

bool FrameworkObject::HandleAsCurrent(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const MSG record{hwnd, message, wParam, lParam, 0, {0, 0}};
    const MSG* previous = std::exchange(currentMessage, &record);
    const bool handled = HandleMessage(hwnd, message, wParam, lParam, result, 0);
    currentMessage = previous;
    return handled;
}

}  // namespace qv
