#include "platform/user/records/cursor_shape.h"

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

}  // namespace qv
