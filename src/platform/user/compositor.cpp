#include "platform/user/compositor.h"

#include <algorithm>

#include "platform/gdi/blit.h"
#include "platform/gdi/draw_text.h"
#include "platform/gdi/shapes.h"
#include "platform/gdi/system_metrics.h"
#include "platform/user/window.h"
#include "platform/user/window_styles.h"

namespace qv {

namespace {

constexpr COLORREF kDesktopColour = RGB(255, 255, 255);
constexpr COLORREF kFrameColour = RGB(0, 0, 0);
constexpr COLORREF kActiveCaption = RGB(0, 0, 128);
constexpr COLORREF kInactiveCaption = RGB(128, 128, 128);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);

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

Compositor::Compositor() {
    LOGFONTW attributes;
    attributes.lfHeight = -11;
    attributes.lfWeight = FW_BOLD;
    captionFont_.reset(CreateFontIndirectW(&attributes));
}

void Compositor::Compose(Window& desktop, HDC screen, HWND active) {
    const RECT all{0, 0, kScreenWidth, kScreenHeight};
    screen->origin = {};
    screen->clip.reset();
    Fill(screen, all, kDesktopColour);
    // Bottom of the z-order first, so that later windows cover earlier ones.
    for (auto it = desktop.Children().rbegin(); it != desktop.Children().rend(); ++it) {
        ComposeTree(**it, screen, all, active);
    }
    screen->clip.reset();
}

void Compositor::ComposeTree(Window& window, HDC screen, const RECT& clip, HWND active) {
    if ((window.Style() & WS_VISIBLE) == 0) {
        return;
    }
    const POINT origin = window.ScreenOrigin();
    const RECT bounds{origin.x, origin.y, origin.x + window.Width(), origin.y + window.Height()};
    const RECT visible = Intersection(clip, bounds);
    if (visible.right <= visible.left || visible.bottom <= visible.top) {
        return;
    }
    DrawFrame(window, window.Handle() == active);
    screen->clip = visible;
    BitBlt(screen, origin.x, origin.y, window.Width(), window.Height(), window.Surface().Source(),
           0, 0, SRCCOPY);
    const POINT client = window.ClientScreenOrigin();
    const RECT clientRect = window.ClientRect();
    const RECT childClip = Intersection(
        visible, {client.x, client.y, client.x + clientRect.right, client.y + clientRect.bottom});
    for (auto it = window.Children().rbegin(); it != window.Children().rend(); ++it) {
        ComposeTree(**it, screen, childClip, active);
    }
}

void Compositor::DrawFrame(Window& window, bool active) {
    const RECT insets = window.FrameInsets();
    if (insets.left == 0 && insets.top == 0) {
        return;
    }
    HDC dc = window.Surface().Source();
    dc->origin = {};
    dc->clip.reset();
    const int width = window.Width();
    const int height = window.Height();
    Fill(dc, {0, 0, width, 1}, kFrameColour);
    Fill(dc, {0, height - 1, width, height}, kFrameColour);
    Fill(dc, {0, 0, 1, height}, kFrameColour);
    Fill(dc, {width - 1, 0, width, height}, kFrameColour);
    if ((window.Style() & WS_CAPTION) != WS_CAPTION) {
        return;
    }
    const RECT bar{1, 1, width - 1, 1 + Window::kCaptionHeight};
    Fill(dc, bar, active ? kActiveCaption : kInactiveCaption);
    SelectionScope font(dc, captionFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionText);
    RECT text{bar.left + 4, bar.top, bar.right - 4, bar.bottom};
    DrawTextW(dc, window.Text(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace qv
