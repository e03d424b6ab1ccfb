#include "platform/user/api/cursor.h"

#include "platform/user/core/window_system.h"
#include "platform/user/records/window_styles.h"

namespace qv {

HCURSOR LoadCursorW(HINSTANCE module, int id) {
    static constexpr Cursor kArrow(Cursor::Shape::Arrow);
    static constexpr Cursor kWait(Cursor::Shape::Wait);
    if (module) {
        return nullptr;
    }
    switch (id) {
        case IDC_ARROW:
            return &kArrow;
        case IDC_WAIT:
            return &kWait;
        default:
            return nullptr;
    }
}

HCURSOR SetCursor(HCURSOR cursor) {
    WindowSystem* system = WindowSystem::Current();
    return system ? system->SetCursor(cursor) : nullptr;
}

HCURSOR GetCursor() {
    const WindowSystem* system = WindowSystem::Current();
    return system ? system->CurrentCursor() : nullptr;
}

}  // namespace qv
