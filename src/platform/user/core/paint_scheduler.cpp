#include "platform/user/core/paint_scheduler.h"

#include <vector>

#include "platform/gdi/rectangle_math.h"
#include "platform/user/records/window_styles.h"

namespace qv {

void PaintScheduler::Invalidate(Window& window, const RECT* rect, bool erase) {
    const RECT client = window.ClientRect();
    const RECT area = rect ? rect::Intersection(*rect, client) : client;
    if (rect::IsEmpty(area)) {
        return;
    }
    window.AddInvalid(area, erase);
    if ((window.Style() & WS_CLIPCHILDREN) != 0) {
        return;
    }
    for (Window* child : window.Children()) {
        const POINT inside = child->ClientOriginInSurface();
        const int dx = child->Rect().left + inside.x;
        const int dy = child->Rect().top + inside.y;
        const RECT childArea = rect::Offset(area, -dx, -dy);
        Invalidate(*child, &childArea, erase);
    }
}

void PaintScheduler::Validate(Window& window, const RECT* rect) {
    window.RemoveInvalid(rect);
}

Window* PaintScheduler::NextToPaint(const Window& desktop,
                                    const std::function<bool(HWND)>& accepts) const {
    std::vector<Window*> pending(desktop.Children().begin(), desktop.Children().end());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        Window* window = pending[i];
        if ((window->Style() & WS_VISIBLE) == 0) {
            continue;
        }
        if (!window->Invalid().Empty() && accepts(window->Handle())) {
            return window;
        }
        pending.insert(pending.end(), window->Children().begin(), window->Children().end());
    }
    return nullptr;
}

}  // namespace qv
