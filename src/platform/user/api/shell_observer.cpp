#include "platform/user/api/shell_observer.h"

#include "platform/user/core/window_system.h"

namespace qv {

void NotifyShell(HWND window, ShellChange change) {
    if (WindowSystem* system = WindowSystem::Current(); system && system->Shell()) {
        system->Shell()->WindowChanged(window, change);
    }
}

}  // namespace qv
