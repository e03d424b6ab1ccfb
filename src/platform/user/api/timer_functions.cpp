#include "platform/user/api/timer_functions.h"

#include "platform/user/core/window_system.h"

namespace qv {

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC procedure) {
    WindowSystem* system = WindowSystem::Current();
    if (!system || (window && !system->Find(window)) || (window && id == 0)) {
        return 0;
    }
    return system->SetTimer(window, id, periodMs, procedure);
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    WindowSystem* system = WindowSystem::Current();
    return system && system->KillTimer(window, id) ? 1 : 0;
}

}  // namespace qv
