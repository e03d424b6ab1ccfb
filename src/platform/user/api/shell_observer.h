#pragma once

#include "platform/user/core/shell_events.h"
#include "platform/user/records/user_types.h"

namespace qv {

// Tells the current window system's shell, when there is one.
void NotifyShell(HWND window, ShellChange change);

}  // namespace qv
