#include "platform/user/paint_scheduler.h"

#include <vector>

#include "platform/user/rectangle_math.h"
#include "platform/user/window_styles.h"

namespace qv {

void PaintScheduler::Invalidate(Window& window, const RECT* rect, bool erase) {
    const RECT client = window.ClientRect();
    const RECT area = rect ? rect::Intersection(*rect, client) : client;
    if (rect::IsEmpty(area)) {
        return;
    }
    window.invalid.Add(area);
    // A later invalidation without erasing never cancels an erase still to come.
    window.eraseWanted = window.eraseWanted || erase;
    if ((window.style & WS_CLIPCHILDREN) != 0) {
        return;
    }
    for (Window* child : window.children) {
        const POINT inside = child->ClientOriginInSurface();
        const int dx = child->rect.left + inside.x;
        const int dy = child->rect.top + inside.y;
        const RECT childArea = rect::Offset(area, -dx, -dy);
        Invalidate(*child, &childArea, erase);
    }
}

void PaintScheduler::Validate(Window& window, const RECT* rect) {
    if (rect) {
        window.invalid.Remove(*rect);
    } else {
        window.invalid.Clear();
    }
    if (window.invalid.Empty()) {
        window.eraseWanted = false;
    }
}

Window* PaintScheduler::NextToPaint(const Window& desktop,
                                    const std::function<bool(HWND)>& accepts) const {
    std::vector<Window*> pending(desktop.children.begin(), desktop.children.end());
    for (std::size_t i = 0; i < pending.size(); ++i) {
        Window* window = pending[i];
        if ((window->style & WS_VISIBLE) == 0) {
            continue;
        }
        if (!window->invalid.Empty() && accepts(window->Handle())) {
            return window;
        }
        pending.insert(pending.end(), window->children.begin(), window->children.end());
    }
    return nullptr;
}

}  // namespace qv
