#include "framework/framework_object.h"

#include "framework/module_state.h"
#include "platform/user/window_functions.h"
#include "platform/user/window_styles.h"

namespace qv {

FrameworkObject::~FrameworkObject() {
    DropCreationRecord(*this);
    if (hwnd && GetWindowLongW(hwnd, GWL_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        SetWindowLongW(hwnd, GWL_USERDATA, 0);
    }
}

void FrameworkObject::OnWindowGone(HWND /*formerWindow*/) {}

}  // namespace qv
