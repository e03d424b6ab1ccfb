#pragma once

#include "platform/user/records/user_types.h"

namespace qv {

// Starts a timer that posts WM_TIMER (or calls `procedure`) every `periodMs` milliseconds of the
// host's clock; periods under 10 ms are made 10 ms. Setting a window's running timer again
// restarts it with the new period. Without a window the id is made here and returned.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure);
BOOL KillTimer(HWND window, UINT_PTR id);

}  // namespace qv
