#include "platform/user/api/cursor.h"

#include "platform/user/core/window_system.h"

namespace qv {

HCURSOR SetCursor(HCURSOR cursor) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->SetCursor(cursor) : nullptr;
}

HCURSOR GetCursor() {
    const WindowSystem* system = WindowSystem::Current();
    return system ? system->CurrentCursor() : nullptr;
}

}  // namespace qv
