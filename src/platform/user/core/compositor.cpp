#include "platform/user/core/compositor.h"

#include <algorithm>

#include "platform/gdi/blit.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/records/window.h"
#include "platform/user/records/window_styles.h"

namespace qv {

namespace {

constexpr COLORREF kDesktopColour = RGB(255, 255, 255);

RECT Intersection(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.right < r.left) {
        r.right = r.left;
    }
    if (r.bottom < r.top) {
        r.bottom = r.top;
    }
    return r;
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush.get());
}

}  // namespace

void Compositor::Compose(Window& desktop, HDC screen) {
    const RECT all{0, 0, kScreenWidth, kScreenHeight};
    screen->origin = {};
    screen->clip.reset();
    Fill(screen, all, kDesktopColour);
    // Bottom of the z-order first, so that later windows cover earlier ones.
    for (auto it = desktop.Children().rbegin(); it != desktop.Children().rend(); ++it) {
        ComposeTree(**it, screen, all);
    }
    screen->clip.reset();
}

void Compositor::ComposeTree(Window& window, HDC screen, const RECT& clip) {
    if ((window.Style() & WS_VISIBLE) == 0) {
        return;
    }
    const POINT origin = window.ScreenOrigin();
    const RECT bounds{origin.x, origin.y, origin.x + window.Width(), origin.y + window.Height()};
    const RECT visible = Intersection(clip, bounds);
    if (visible.right <= visible.left || visible.bottom <= visible.top) {
        return;
    }
    screen->clip = visible;
    BitBlt(screen, origin.x, origin.y, window.Width(), window.Height(), window.Surface().Source(),
           0, 0, SRCCOPY);
    const POINT client = window.ClientScreenOrigin();
    const RECT clientRect = window.ClientRect();
    const RECT childClip = Intersection(
        visible, {client.x, client.y, client.x + clientRect.right, client.y + clientRect.bottom});
    for (auto it = window.Children().rbegin(); it != window.Children().rend(); ++it) {
        ComposeTree(**it, screen, childClip);
    }
}

}  // namespace qv
