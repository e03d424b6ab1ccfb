#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// What a window does with a message it leaves to the system.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace qv
