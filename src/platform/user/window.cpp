#include "platform/user/window.h"

#include "platform/user/window_styles.h"

namespace qv {

bool Window::IsChild() const {
    return (style & WS_CHILD) != 0;
}

bool Window::IsShown() const {
    for (const Window* w = this; w && !w->IsDesktop(); w = w->parent) {
        if ((w->style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return true;
}

bool Window::IsEnabledTree() const {
    for (const Window* w = this; w && !w->IsDesktop(); w = w->parent) {
        if ((w->style & WS_DISABLED) != 0) {
            return false;
        }
    }
    return true;
}

Window& Window::TopLevel() {
    Window* w = this;
    while (w->parent && !w->parent->IsDesktop()) {
        w = w->parent;
    }
    return *w;
}

RECT Window::ClientRect() const {
    const RECT insets = FrameInsets();
    const int width = Width() - insets.left - insets.right;
    const int height = Height() - insets.top - insets.bottom;
    return {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
}

POINT Window::ScreenOrigin() const {
    if (!parent) {
        return {rect.left, rect.top};
    }
    const POINT client = parent->ClientScreenOrigin();
    return {client.x + rect.left, client.y + rect.top};
}

POINT Window::ClientScreenOrigin() const {
    const POINT origin = ScreenOrigin();
    const POINT inside = ClientOriginInSurface();
    return {origin.x + inside.x, origin.y + inside.y};
}

POINT Window::ClientOriginInSurface() const {
    const RECT insets = FrameInsets();
    return {insets.left, insets.top};
}

}  // namespace qv
